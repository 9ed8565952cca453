#pragma once

#include <QObject>

class QWidget;
class Pagina;

// What a page of the navigator may ask of the main window, and no more.
class Vista_Principal {
public:
    virtual ~Vista_Principal() = default;
    // The main window, as the parent of messages and windows.
    virtual QWidget *Ventana() = 0;
    // Shows the navigator tab with this page's node selected, as a click on
    // the node does.
    virtual void Muestra(Pagina &pagina) = 0;
    // Enables or disables the tool bar's test of every reader.
    virtual void Habilita_Test_Todos(bool activo) = 0;
};

// A page of the navigator: its panel, built by the page with the component
// names the language file uses, and what the main window asks of it. The
// pages are listed, with their nodes, in one table (paginas.cpp).
class Pagina : public QObject {
    Q_OBJECT
public:
    // The panel is created here, empty, with that component name; the page
    // fills it.
    Pagina(Vista_Principal &vista, const char *nombre_panel, QObject *padre);

    QWidget *Panel() const { return m_panel; }
    // Rebuilds the page's list from the model, read again from the database.
    virtual void Refrescar() = 0;
    // Rebuilds the page's list from the model as it is loaded now, without
    // reading the database (an installation just opened has read it).
    virtual void Rellena() { Refrescar(); }
    // The page's node was chosen: by default its list is rebuilt.
    virtual void Activar() { Refrescar(); }
    // The restrictions of a login of level USER, applied once.
    virtual void Restringe_Usuario() {}

protected:
    Vista_Principal &Vista() const { return m_vista; }

private:
    Vista_Principal &m_vista;
    QWidget *m_panel;
};
