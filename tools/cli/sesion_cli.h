#pragma once

#include "workflows/interlocutor.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The commands of keyvane-cli on the program's databases, without a display:
//   keyvane-cli [--program-dir DIR] [--installation N] [--system-dir DIR] [--ports-dir DIR] COMMAND [ARGS]
// Each reaches the main database in the console's administrator session, and
// the installation as well when it works on one.
namespace kv::cli {

// What a command needs open before it runs.
enum class Alcance {
    Base_Principal, // the main database alone: no installation file is touched
    Instalacion,    // the main database and the installation of the call
};

struct Comando {
    int minimo;
    int maximo; // -1: any number
    Alcance alcance;
    std::function<int(const QStringList &)> ejecuta;
    // Runs once the settings are read and before anything is opened; it may
    // add to the arguments what ejecuta is to get. A status other than 0 ends
    // the command with that status.
    std::function<int(QStringList &)> previo = {};
};

using Tabla_Comandos = QMap<QString, Comando>;

// A date as yyyy-MM-dd (its midnight) or yyyy-MM-ddTHH:mm[:ss]; none for
// anything else.
std::optional<QDateTime> Fecha(const QString &texto);

// One line on standard error; returns estado.
int Falla(const QString &texto, int estado = 2);

// The command line is the operator's answer; what the workflows would have
// shown goes to standard error.
class Interlocutor_Consola : public kv::wf::Interlocutor {
public:
    // Every question is yes and goes unseen: the command itself was the
    // operator's confirmation.
    Interlocutor_Consola() = default;
    // Every question is shown with the answer the option gave, so that a
    // script's log tells why a command went ahead or stopped.
    Interlocutor_Consola(const QString &opcion, bool dada);

    void Mensaje(const QString &texto, const QString &titulo = QString()) override;
    bool Confirma(const QString &texto) override;
    // A question was answered no: the command was refused rather than wrong.
    bool Rehusado() const { return m_rehusado; }

private:
    QString m_opcion;
    bool m_respuesta = true;
    bool m_rehusado = false;
};

// Progress on standard error, when that is a terminal: a script's log gets
// the outcome, not the carriage returns.
class Progreso_Consola : public kv::wf::Progreso {
public:
    void Muestra() override { m_paso = 0; }
    void Rango(int pasos) override { m_pasos = pasos; }
    void Paso(const QString &texto) override;
    void Cierra() override;

private:
    int m_paso = 0;
    int m_pasos = 0;
};

// The number of an existing controller of the open installation, or -1 with
// the reason told.
int Lector(const QString &texto);

// True when arguments (the whole command line) name one of these commands.
bool Es_Comando_Sesion(const QStringList &arguments);
// Runs it and returns the exit status: 0 done, 1 refused, unknown login, no
// answer, a mismatch found or a user or a card kept, a card skipped or left pending, 2 usage, file or database error.
int Ejecuta_Sesion(const QStringList &arguments);
QString Uso_Sesion();

} // namespace kv::cli
