#include "lectores_cli.h"

#include "model/errorbd.h"
#include "model/globales.h"
#include "model/variables.h"
#include "model/zarvcoleccioncontrolador.h"
#include "platform/paths.h"
#include "workflows/coordinacion.h"
#include "workflows/flujo_lectores.h"
#include "workflows/instalacion.h"
#include "workflows/interlocutor.h"

#include <QMap>

#include <cstdio>
#include <functional>
#include <unistd.h>

namespace kv::cli {
namespace {

// The command line is the operator's confirmation; what the workflows would
// have shown goes to standard error.
class Interlocutor_Consola : public kv::wf::Interlocutor {
public:
    void Mensaje(const QString &texto, const QString &) override
    {
        if (texto != Variables::Texto_Ausente)
            std::fprintf(stderr, "%s\n", qPrintable(texto));
    }
    bool Confirma(const QString &) override { return true; }
};

// Progress on standard error, when that is a terminal.
class Progreso_Consola : public kv::wf::Progreso {
public:
    void Muestra() override { m_paso = 0; }
    void Rango(int pasos) override { m_pasos = pasos; }
    void Paso(const QString &texto) override
    {
        ++m_paso;
        if (isatty(STDERR_FILENO))
            std::fprintf(stderr, "\r%d/%d %s   ", m_paso, m_pasos, qPrintable(texto));
    }
    void Cierra() override
    {
        if (isatty(STDERR_FILENO) && m_pasos > 0)
            std::fputc('\n', stderr);
    }

private:
    int m_paso = 0;
    int m_pasos = 0;
};

struct Llamada {
    QString comando;
    QStringList argumentos;
    QString programa;
    QString instalacion;
    QString puertos;
    QString sistema;
};

struct Comando {
    int minimo;
    int maximo; // -1: any number
    std::function<int(const QStringList &)> ejecuta;
};

int Falla(const QString &texto, int estado = 2)
{
    std::fprintf(stderr, "keyvane-cli: %s\n", qPrintable(texto));
    return estado;
}

bool Numero(const QString &texto, int *valor)
{
    bool ok = false;
    *valor = texto.toInt(&ok);
    return ok;
}

// The number of an existing controller, or -1 with the reason told.
int Lector(const QString &texto)
{
    int codigo = 0;
    if (!Numero(texto, &codigo))
        return Falla(QStringLiteral("%1 is not a reader number").arg(texto), -1);
    if (!kv::wf::Controlador(codigo))
        return Falla(QStringLiteral("the installation has no reader %1").arg(codigo), -1);
    return codigo;
}

int Lista(const QStringList &)
{
    ZARVColeccionControlador *c = Globales::Sistema->Controladores();
    for (int i = 0; i < c->Cuenta(); ++i) {
        const auto ctl = c->Elemento(i);
        std::printf("%d\t%d\t%d\t%s\n", ctl->Cod(), ctl->Puerto_Serie(), int(ctl->Direccion()),
                    qPrintable(ctl->Descripcion()));
    }
    return 0;
}

int Prueba(const QStringList &argumentos)
{
    std::vector<int> codigos;
    if (argumentos.isEmpty()) {
        ZARVColeccionControlador *c = Globales::Sistema->Controladores();
        for (int i = 0; i < c->Cuenta(); ++i)
            codigos.push_back(c->Elemento(i)->Cod());
    }
    for (const QString &a : argumentos) {
        const int codigo = Lector(a);
        if (codigo < 0)
            return 2;
        codigos.push_back(codigo);
    }
    int estado = 0;
    kv::wf::Test_Controladores(codigos, [&](int, const kv::wf::Resultado_Test &r) {
        if (!r.responde) {
            std::printf("%d\tno-answer\n", r.codigo);
            estado = 1;
            return;
        }
        if (!r.Coinciden())
            estado = 1;
        std::printf("%d\tanswered\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n", r.codigo, qPrintable(r.estado),
                    qPrintable(r.cerradura), qPrintable(r.abierta), qPrintable(r.version), qPrintable(r.tarjetas),
                    qPrintable(r.tarjetas_bd), r.Coinciden() ? "match" : "mismatch");
    });
    return estado;
}

int Alta(const QStringList &a)
{
    Interlocutor_Consola operador;
    const QString descripcion = a.mid(3).join(QLatin1Char(' '));
    // The readers are held as the new-controller window holds them.
    kv::wf::Trabajo_Controladores trabajo;
    const kv::wf::Alta r = kv::wf::Alta_Controlador({a[0], descripcion, a[1], a[2]}, operador);
    trabajo.Termina();
    return r == kv::wf::Alta::Hecha ? 0 : 2;
}

int Edicion(const QStringList &a)
{
    const int codigo = Lector(a[0]);
    if (codigo < 0)
        return 2;
    if (a.size() == 3 || a.size() > 4)
        return Falla(QStringLiteral("reader-edit takes both door times or none"));
    Interlocutor_Consola operador;
    kv::wf::Trabajo_Controladores trabajo;
    const bool tiempos = a.size() == 4;
    if (tiempos && !kv::wf::Lee_Tiempos(codigo))
        return Falla(QStringLiteral("reader %1 does not answer: its times cannot be set").arg(codigo), 1);
    const bool guardada = kv::wf::Guarda_Edicion(
        {codigo, a[1], tiempos ? a[2] : QString(), tiempos ? a[3] : QString(), tiempos}, operador);
    trabajo.Termina();
    return guardada ? 0 : 2;
}

int Uno(const QStringList &a, bool (*flujo)(int, kv::wf::Interlocutor &))
{
    const int codigo = Lector(a[0]);
    if (codigo < 0)
        return 2;
    Interlocutor_Consola operador;
    return flujo(codigo, operador) ? 0 : 1;
}

int Clon(const QStringList &a)
{
    const int fuente = Lector(a[0]);
    if (fuente < 0)
        return 2;
    std::vector<int> destinos;
    for (const QString &t : a.mid(1)) {
        const int d = Lector(t);
        if (d < 0)
            return 2;
        destinos.push_back(d);
    }
    Progreso_Consola progreso;
    kv::wf::Clona(fuente, destinos, progreso);
    // What each target now holds, as the readers page's test shows it.
    return Prueba(a.mid(1));
}

const QMap<QString, Comando> &Comandos()
{
    static const QMap<QString, Comando> tabla = {
        {QStringLiteral("readers"), {0, 0, Lista}},
        {QStringLiteral("readers-test"), {0, -1, Prueba}},
        {QStringLiteral("reader-add"), {4, -1, Alta}},
        {QStringLiteral("reader-edit"), {2, 4, Edicion}},
        {QStringLiteral("reader-delete"), {1, 1, [](const QStringList &a) { return Uno(a, kv::wf::Elimina_Controlador); }}},
        {QStringLiteral("reader-master"), {1, 1, [](const QStringList &a) { return Uno(a, kv::wf::Cambia_Master); }}},
        {QStringLiteral("reader-erase"), {1, 1, [](const QStringList &a) { return Uno(a, kv::wf::Vacia_Tarjetas); }}},
        {QStringLiteral("reader-clone"), {2, -1, Clon}},
    };
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

// Opens the installation the call names, as the program would; the reason
// is told when it cannot.
bool Abre(const Llamada &l)
{
    if (!l.programa.isEmpty())
        kv::Paths::setProgramDir(l.programa);
    if (!l.sistema.isEmpty())
        kv::Paths::setSystemDir(l.sistema);
    if (!l.puertos.isEmpty())
        kv::Paths::setPortsDir(l.puertos);
    try {
        Variables::Lee_Configuracion();
        kv::wf::Conecta_Servidor();
        QString codigo = l.instalacion;
        int n = 0;
        if (!codigo.isEmpty() && !Numero(codigo, &n))
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
        const QString texto = QString::fromUtf8(e.what());
        // Embedded, a file is the process's that opened it first.
        if (Variables::Servidor_BD.isEmpty() && texto.contains(QLatin1String("already opened"), Qt::CaseInsensitive))
            Falla(QStringLiteral("the installation is open in a running Keyvane (embedded database): close it first, "
                                 "or share the files through a database server (Servidor_BD)"));
        else
            Falla(texto);
        return false;
    }
}

} // namespace

bool Es_Comando_Lectores(const QStringList &arguments)
{
    Llamada l;
    Lee_Llamada(arguments, &l);
    return Comandos().contains(l.comando);
}

int Ejecuta_Lectores(const QStringList &arguments)
{
    Llamada l;
    if (!Lee_Llamada(arguments, &l))
        return Falla(QStringLiteral("malformed command line\n") + Uso_Lectores());
    const Comando &c = Comandos()[l.comando];
    if (l.argumentos.size() < c.minimo || (c.maximo >= 0 && l.argumentos.size() > c.maximo))
        return Falla(QStringLiteral("wrong number of arguments for %1\n").arg(l.comando) + Uso_Lectores());
    // The installation and the main database close before the program ends,
    // whatever happened: their connections must go while Qt still runs.
    struct Cierre {
        ~Cierre()
        {
            Globales::Sistema.reset();
            Globales::Servidor.reset();
        }
    } cierre;
    if (!Abre(l))
        return 2;
    int estado = 2;
    try {
        estado = c.ejecuta(l.argumentos);
    } catch (const kv::wf::Ocupado &e) {
        estado = Falla(QString::fromUtf8(e.what()), 1);
    } catch (const std::exception &e) {
        estado = Falla(QString::fromUtf8(e.what()));
    }
    return estado;
}

QString Uso_Lectores()
{
    return QStringLiteral(
        "usage: keyvane-cli [--program-dir DIR] [--installation N] [--system-dir DIR] [--ports-dir DIR]\n"
        "                   COMMAND [ARGS]\n"
        "  --program-dir   the directory holding BDKV/ (default: beside keyvane-cli)\n"
        "  --system-dir    the directory holding KEYVANE20.INI (default: the system's)\n"
        "  --installation  the installation's code (default: the last one opened, else the lowest)\n"
        "readers of the installation:\n"
        "  readers                       one line each: number port address description\n"
        "  readers-test [N...]           test them (all by default): number answered state lock open\n"
        "                                version cards cards-in-database match|mismatch, or number no-answer\n"
        "  reader-add N PORT ADDRESS DESCRIPTION\n"
        "  reader-edit N DESCRIPTION [LOCK OPEN]   the times are sent to the reader\n"
        "  reader-delete N               the reader and its card assignments\n"
        "  reader-master N               change its master card (present it within 5 s)\n"
        "  reader-erase N                erase its cards; the assignments wait for the next send\n"
        "  reader-clone SOURCE TARGET... copy the source's cards onto each target, then test the targets\n"
        "exit status: 0 done, 1 refused, no answer or mismatch, 2 usage, file or database error\n");
}

} // namespace kv::cli
