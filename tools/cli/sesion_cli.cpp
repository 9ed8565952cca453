#include "sesion_cli.h"

#include "incidencias_cli.h"
#include "informes_cli.h"
#include "instalaciones_cli.h"
#include "lectores_cli.h"
#include "libros_cli.h"
#include "logins_cli.h"
#include "auditoria_cli.h"
#include "parametros_cli.h"
#include "presencia_cli.h"
#include "sincronizacion_cli.h"
#include "tarjetas_cli.h"
#include "usuarios_cli.h"

#include "lang/lang.h"
#include "model/globales.h"
#include "model/nivel.h"
#include "model/variables.h"
#include "platform/paths.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/instalacion.h"

#include <cstdio>
#include <unistd.h>

namespace kv::cli {
namespace {

struct Llamada {
    QString comando;
    QStringList argumentos;
    QString programa;
    QString instalacion;
    QString puertos;
    QString sistema;
};

const Tabla_Comandos &Comandos()
{
    static const Tabla_Comandos tabla = [] {
        Tabla_Comandos t = Comandos_Lectores();
        t.insert(Comandos_Logins());
        t.insert(Comandos_Usuarios());
        t.insert(Comandos_Tarjetas());
        t.insert(Comandos_Sincronizacion());
        t.insert(Comandos_Incidencias());
        t.insert(Comandos_Presencia());
        t.insert(Comandos_Instalaciones());
        t.insert(Comandos_Libros());
        t.insert(Comandos_Informes());
        t.insert(Comandos_Parametros());
        t.insert(Comandos_Auditoria());
        return t;
    }();
    return tabla;
}

// False with the reason told for anything malformed.
bool Lee_Llamada(const QStringList &arguments, Llamada *l)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        const auto valor = [&](QString *destino) {
            if (i + 1 >= arguments.size())
                return false;
            *destino = arguments.at(++i);
            return true;
        };
        if (!l->comando.isEmpty()) {
            l->argumentos << a;
        } else if (a == QLatin1String("--program-dir")) {
            if (!valor(&l->programa))
                return false;
        } else if (a == QLatin1String("--installation")) {
            if (!valor(&l->instalacion))
                return false;
        } else if (a == QLatin1String("--ports-dir")) {
            if (!valor(&l->puertos))
                return false;
        } else if (a == QLatin1String("--system-dir")) {
            if (!valor(&l->sistema))
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            l->comando = a;
        }
    }
    return Comandos().contains(l->comando);
}

// The database's own error, or one line on a file held open elsewhere.
void Falla_Apertura(const QString &texto, Alcance alcance)
{
    // Embedded, a file is the process's that opened it first.
    if (!Variables::Servidor_BD.isEmpty() || !texto.contains(QLatin1String("already opened"), Qt::CaseInsensitive))
        Falla(texto);
    else if (alcance == Alcance::Instalacion)
        Falla(QStringLiteral("the installation is open in a running Keyvane (embedded database): close it first, "
                             "or share the files through a database server (Servidor_BD)"));
    else
        Falla(QStringLiteral("the main database is open in a running Keyvane (embedded database): close it first"));
}

// The directories and the settings of the call, as the program would take them.
bool Lee_Ajustes(const Llamada &l)
{
    if (!l.programa.isEmpty())
        kv::Paths::setProgramDir(l.programa);
    if (!l.sistema.isEmpty())
        kv::Paths::setSystemDir(l.sistema);
    if (!l.puertos.isEmpty())
        kv::Paths::setPortsDir(l.puertos);
    try {
        Variables::Lee_Configuracion();
        // The workflows tell the operator why they refused in the program's
        // own messages; without a language chosen they would all read "¿?".
        if (Lang::Sin_Idioma())
            Variables::Idioma = Lang::Idioma_Por_Defecto;
        Lang::Cargar_Mensajes();
        return true;
    } catch (const std::exception &e) {
        Falla(QString::fromUtf8(e.what()));
        return false;
    }
}

// Opens the main database, and the installation the call names when the
// command works on one; the reason is told when it cannot.
bool Abre(const Llamada &l, Alcance alcance)
{
    try {
        kv::wf::Conecta_Servidor();
        // Whoever can run this on the database files, or holds the server's
        // credentials from the settings, is already the database's administrator.
        Globales::Servidor->Abre_Sesion_Consola();
        if (alcance == Alcance::Base_Principal)
            return true;
        QString codigo = l.instalacion;
        bool numero = true;
        const int n = codigo.isEmpty() ? 0 : codigo.toInt(&numero);
        if (!numero)
            return Falla(QStringLiteral("%1 is not an installation code").arg(codigo)) == 0;
        if (!codigo.isEmpty() && !Globales::Servidor->Existe_Instalacion(QString::number(n)))
            return Falla(QStringLiteral("there is no installation %1").arg(codigo)) == 0;
        if (codigo.isEmpty())
            codigo = kv::wf::Instalacion_Recordada();
        if (codigo.isEmpty())
            codigo = kv::wf::Primera_Instalacion();
        if (codigo.isEmpty())
            return Falla(QStringLiteral("the main database lists no installation")) == 0;
        kv::wf::Abre_Instalacion(QString::number(codigo.toInt()));
        return true;
    } catch (const std::exception &e) {
        Falla_Apertura(QString::fromUtf8(e.what()), alcance);
        return false;
    }
}

// What the command raised, as its exit status: another workflow holding the
// controllers and an account without the level are refusals like any other.
int Ejecuta_Comando(const Comando &c, const QStringList &argumentos)
{
    try {
        return c.ejecuta(argumentos);
    } catch (const kv::wf::Ocupado &e) {
        return Falla(QString::fromUtf8(e.what()), 1);
    } catch (const Nivel::Sin_Permiso &e) {
        return Falla(QString::fromUtf8(e.what()), 1);
    } catch (const std::exception &e) {
        return Falla(QString::fromUtf8(e.what()));
    }
}

} // namespace

std::optional<QDateTime> Fecha(const QString &texto)
{
    const QDate dia = QDate::fromString(texto, QStringLiteral("yyyy-MM-dd"));
    if (dia.isValid())
        return dia.startOfDay();
    for (const QString &formato : {QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"), QStringLiteral("yyyy-MM-dd'T'HH:mm")}) {
        const QDateTime f = QDateTime::fromString(texto, formato);
        if (f.isValid())
            return f;
    }
    return std::nullopt;
}

int Falla(const QString &texto, int estado)
{
    std::fprintf(stderr, "keyvane-cli: %s\n", qPrintable(texto));
    return estado;
}

Interlocutor_Consola::Interlocutor_Consola(const QString &opcion, bool dada)
    : m_opcion(opcion)
    , m_respuesta(dada)
{
}

void Interlocutor_Consola::Mensaje(const QString &texto, const QString &)
{
    if (texto != Variables::Texto_Ausente)
        std::fprintf(stderr, "%s\n", qPrintable(texto));
}

bool Interlocutor_Consola::Confirma(const QString &texto)
{
    if (!m_opcion.isEmpty()) {
        const QString respuesta = m_respuesta ? QStringLiteral("yes (%1)").arg(m_opcion)
                                              : QStringLiteral("no (%1 not given)").arg(m_opcion);
        std::fprintf(stderr, "%s %s\n", qPrintable(texto), qPrintable(respuesta));
    }
    if (!m_respuesta)
        m_rehusado = true;
    return m_respuesta;
}

void Progreso_Consola::Paso(const QString &texto)
{
    ++m_paso;
    if (isatty(STDERR_FILENO))
        std::fprintf(stderr, "\r%d/%d %s   ", m_paso, m_pasos, qPrintable(texto));
}

void Progreso_Consola::Cierra()
{
    if (isatty(STDERR_FILENO) && m_pasos > 0)
        std::fputc('\n', stderr);
}

int Lector(const QString &texto)
{
    bool numero = false;
    const int codigo = texto.toInt(&numero);
    if (!numero)
        return Falla(QStringLiteral("%1 is not a reader number").arg(texto), -1);
    if (!kv::wf::Controlador(codigo))
        return Falla(QStringLiteral("the installation has no reader %1").arg(codigo), -1);
    return codigo;
}

bool Es_Comando_Sesion(const QStringList &arguments)
{
    Llamada l;
    Lee_Llamada(arguments, &l);
    return Comandos().contains(l.comando);
}

int Ejecuta_Sesion(const QStringList &arguments)
{
    Llamada l;
    if (!Lee_Llamada(arguments, &l))
        return Falla(QStringLiteral("malformed command line\n") + Uso_Sesion());
    const Comando c = Comandos().value(l.comando);
    QStringList argumentos = l.argumentos;
    if (argumentos.size() < c.minimo || (c.maximo >= 0 && argumentos.size() > c.maximo))
        return Falla(QStringLiteral("wrong number of arguments for %1\n").arg(l.comando) + Uso_Sesion());
    if (!Lee_Ajustes(l))
        return 2;
    if (c.previo) {
        const int estado = c.previo(argumentos);
        if (estado != 0)
            return estado;
    }
    // The installation and the main database close before the program ends,
    // whatever happened: their connections must go while Qt still runs.
    struct Cierre {
        ~Cierre()
        {
            Globales::Sistema.reset();
            Globales::Servidor.reset();
        }
    } cierre;
    if (!Abre(l, c.alcance))
        return 2;
    return Ejecuta_Comando(c, argumentos);
}

QString Uso_Sesion()
{
    return QStringLiteral(
               "usage: keyvane-cli [--program-dir DIR] [--installation N] [--system-dir DIR] [--ports-dir DIR]\n"
               "                   COMMAND [ARGS]\n"
               "  --program-dir   the directory holding BDKV/ (default: beside keyvane-cli)\n"
               "  --system-dir    the directory holding KEYVANE20.INI (default: the system's)\n"
               "  --installation  the installation's code (default: the last one opened, else the lowest)\n")
        + Uso_Lectores() + Uso_Usuarios() + Uso_Tarjetas() + Uso_Sincronizacion() + Uso_Incidencias() + Uso_Presencia()
        + Uso_Instalaciones() + Uso_Libros() + Uso_Informes() + Uso_Parametros() + Uso_Auditoria() + Uso_Logins()
        + QStringLiteral("exit status: 0 done, 1 refused, unknown login, no answer, mismatch, user or card kept, card "
                         "skipped or left pending, 2 usage, file or database error\n");
}

} // namespace kv::cli
