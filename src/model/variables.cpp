#include "model/variables.h"

#include "model/inifile.h"
#include "model/settings_errors.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Variables {
namespace {

kv::IniFile leido()
{
    kv::IniFile f(Fichero_Configuracion());
    f.load();
    return f;
}

// "12" gives 1, "" gives 0 (a missing digit counts as 0); anything that does
// not start with a decimal digit is a stored value the program cannot use.
int primer_digito(const QString &valor)
{
    if (valor.isEmpty())
        return 0;
    const QChar c = valor.front();
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        throw kv::ConversionError(
            QStringLiteral("%1, section [%2]: El_inc=\"%3\" does not start with a digit")
                .arg(Fichero_Configuracion(), Seccion_General, valor));
    return c.unicode() - '0';
}

int numero_lector(const QString &valor)
{
    bool ok = false;
    const int n = valor.trimmed().toInt(&ok, 10);
    if (!ok)
        throw kv::ConversionError(
            QStringLiteral("%1, section [%2]: USA_LECTOR=\"%3\" is not a reader number")
                .arg(Fichero_Configuracion(), Seccion_General, valor));
    return n;
}

} // namespace

QString Mensaje(const QString &clave)
{
    return Mensajes.value(clave.toLower(), Texto_Ausente);
}

QString Fichero_Configuracion()
{
    return kv::resolveFileName(kv::Paths::systemDir(), Fichero_Configuracion_Nombre);
}

void Lee_Configuracion()
{
    const kv::IniFile f = leido();
    const auto leer = [&](const char *clave, const QString &defecto) {
        return f.value(Seccion_General, QLatin1String(clave), defecto);
    };

    Idioma = leer("Idioma", Texto_Ausente);
    LAST_INSTALLATION = leer("LAST_INSTALLATION", QStringLiteral("0"));
    USA_LECTOR = leer("USA_LECTOR", QString());
    Servidor_BD = leer("Servidor_BD", QString()).trimmed();
    Usuario_BD = leer("Usuario_BD", Usuario_BD_Defecto).trimmed();
    Password_BD = leer("Password_BD", Password_BD_Defecto);

    // Only "true" in any letter case counts: "yes" and "1" give false.
    Testear_cx = leer("Testear_cx", QStringLiteral("true")).toLower() == QLatin1String("true");
    Liberar_tarj = leer("Liberar_tarj", QStringLiteral("true")).toLower() == QLatin1String("true");

    El_inc = primer_digito(leer("El_inc", QStringLiteral("0")));

    if (!USA_LECTOR.isEmpty()) {
        Lector_Codigo = numero_lector(USA_LECTOR);
        Lector_Activo = true;
    }
}

void Guarda_Configuracion()
{
    kv::IniFile f = leido();
    const auto poner = [&](const char *clave, const QString &valor) {
        f.setValue(Seccion_General, QLatin1String(clave), valor);
    };
    const auto booleano = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };

    poner("Testear_cx", booleano(Testear_cx));
    poner("Liberar_tarj", booleano(Liberar_tarj));
    poner("El_inc", QString::number(El_inc));
    poner("Idioma", Idioma);
    poner("LAST_INSTALLATION", LAST_INSTALLATION);
    poner("USA_LECTOR", USA_LECTOR);
    poner("Servidor_BD", Servidor_BD);
    f.save();
}

bool Existe_Seccion(const QString &seccion)
{
    return leido().hasSection(seccion);
}

QString Lee_Valor(const QString &seccion, const QString &clave, const QString &defecto)
{
    return leido().value(seccion, clave, defecto);
}

void Anade_Camara(const QString &seccion, const QString &descripcion, const QString &mac)
{
    // A nameless section would put the entries above every header, where
    // nothing reads them back.
    if (seccion.trimmed().isEmpty())
        return;
    kv::IniFile f = leido();
    if (f.hasSection(seccion))
        return;
    f.setValue(seccion, QStringLiteral("camara_desc"), descripcion);
    f.setValue(seccion, QStringLiteral("camara_MAC"), mac);
    f.save();
}

void Borra_Seccion(const QString &seccion)
{
    kv::IniFile f = leido();
    if (f.removeSection(seccion))
        f.save();
}

QString Directorio_Programa()
{
    return kv::Paths::programDir();
}

namespace {

QString ejecutable(pid_t pid)
{
    char buf[4096];
    const QByteArray link = QByteArray("/proc/") + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(link.constData(), buf, sizeof buf - 1);
    if (n <= 0)
        return QString(); // kernel thread, zombie, or another user's process
    QString path = QFile::decodeName(QByteArray(buf, n));
    // A program replaced on disk while it runs is still that program.
    static const QString borrado = QStringLiteral(" (deleted)");
    if (path.endsWith(borrado))
        path.chop(borrado.size());
    return path;
}

bool coincide(const QString &ruta, const QString &buscado)
{
    if (ruta.isEmpty())
        return false;
    const QString nombre = ruta.mid(ruta.lastIndexOf(QLatin1Char('/')) + 1);
    return nombre.toUpper() == buscado || ruta.toUpper() == buscado;
}

// Waits until the process behind pidfd has ended (a zombie counts as ended).
bool termina_en(int pidfd, int ms)
{
    pollfd p{pidfd, POLLIN, 0};
    int r;
    do
        r = ::poll(&p, 1, ms);
    while (r < 0 && errno == EINTR);
    return r > 0;
}

// Asks the process to end, and kills it when it has not ended within a few
// seconds: a guardian gets the chance to stop its server cleanly, but the
// caller still gets a process that is gone.
bool termina(pid_t pid, const QString &buscado)
{
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0)
        return errno == ESRCH ? false : ::kill(pid, SIGKILL) == 0;
    // The number may have been reused since the snapshot; the descriptor now
    // pins one process, so check that it is still the one that matched.
    bool ok = false;
    if (coincide(ejecutable(pid), buscado)) {
        if (::syscall(SYS_pidfd_send_signal, pidfd, SIGTERM, nullptr, 0) == 0) {
            ok = termina_en(pidfd, 3000);
            if (!ok && ::syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0) == 0)
                ok = termina_en(pidfd, 2000);
        }
    }
    ::close(pidfd);
    return ok;
}

} // namespace

bool Termina_Proceso(const QString &nombre_exe)
{
    const QString buscado = nombre_exe.toUpper();
    if (buscado.isEmpty())
        return false;
    const pid_t yo = ::getpid();
    bool resultado = false;
    const QStringList entradas = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &e : entradas) {
        bool numero = false;
        const pid_t pid = pid_t(e.toLong(&numero));
        if (!numero || pid <= 0 || pid == yo)
            continue;
        if (coincide(ejecutable(pid), buscado))
            resultado = termina(pid, buscado);
    }
    return resultado;
}

QString Hex_a_Decimal(const QString &texto)
{
    const auto digito = [&](qsizetype i) {
        if (i >= texto.size())
            return 0;
        const char16_t c = texto[i].unicode();
        if (c >= u'0' && c <= u'9')
            return int(c - u'0');
        if (c >= u'A' && c <= u'F')
            return int(c - u'A' + 10);
        return 0;
    };
    return QString::number(digito(0) * 16 + digito(1));
}

void Restablecer()
{
    Idioma = Texto_Ausente;
    Testear_cx = true;
    Liberar_tarj = true;
    El_inc = 0;
    LAST_INSTALLATION.clear();
    USA_LECTOR.clear();
    Servidor_BD.clear();
    Usuario_BD = Usuario_BD_Defecto;
    Password_BD = Password_BD_Defecto;
    Lector_Activo = false;
    Lector_Codigo = 0;
    Registrando = false;
    Instalacion_Actual.clear();
    Tarjeta_Reintentar.clear();
    Mensajes.clear();
    Nombres_Mes.clear();
    Tipos_Incidencia.clear();
    Campos_Informe.clear();
}

} // namespace Variables
