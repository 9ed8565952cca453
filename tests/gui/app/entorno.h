#pragma once

#include "tempinstall.h"

#include "app/programa.h"

#include <QString>
#include <QStringList>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

// One program run on a throwaway program directory: a fresh copy of the
// factory set, a settings file with a language chosen, and the program-wide
// state put back when it ends. Rows go into the databases with plain SQL
// before the program starts, as an operator's earlier work would have left them.
class Entorno {
public:
    explicit Entorno(const QString &ajustes = QString());
    ~Entorno();

    bool valido() const { return inst.isValid(); }

    // Statements on an installation file or the main database; false, with
    // the error printed, when one fails.
    bool sql(int instalacion, const QStringList &sentencias);
    bool sqlPrincipal(const QStringList &sentencias);
    // A second installation, "<codigo>.- <nombre>", with an empty file of its own.
    bool nuevaInstalacion(int codigo, const QString &nombre);

    // Creates the windows (start-up included) and shows the login window.
    void arranca();
    void para();
    // Logs in through the login window as the operator would.
    void entra(const QString &login, const QString &password);

    kv::test::TempInstall inst;
    std::unique_ptr<kv::app::Programa> programa;
};

// The row of lista whose column 0 reads texto, or none.
QTreeWidgetItem *fila(QTreeWidget *lista, const QString &texto);
// Texts of one column, top to bottom.
QStringList columna(QTreeWidget *lista, int col);
// Errors the operator would have seen since the last clear.
QStringList erroresMostrados();
