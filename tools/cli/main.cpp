// keyvane-cli: field diagnostics for one controller on one serial line, the
// readers' operations on an installation and the logins of the main database.
#include "informes_cli.h"
#include "options.h"
#include "runner.h"
#include "sesion_cli.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

int main(int argc, char **argv)
{
    // A report paints its pages, which takes Qt's GUI application; the
    // offscreen platform needs no display. Every other command stays on the
    // core application.
    std::unique_ptr<QCoreApplication> app;
    if (kv::cli::Es_Informe(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Outside a desktop session (cron, ssh as root) there is no runtime
        // directory; the one Qt would fall back to is made here beforehand so
        // that a script's standard error holds only the command's own lines.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QByteArray dir = "/tmp/runtime-" + QByteArray::number(getuid());
            if (::mkdir(dir.constData(), 0700) == 0 || errno == EEXIST)
                qputenv("XDG_RUNTIME_DIR", dir);
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (kv::cli::Es_Comando_Sesion(QCoreApplication::arguments()))
        return kv::cli::Ejecuta_Sesion(QCoreApplication::arguments());
    kv::cli::Options options;
    QString error;
    if (!options.parse(QCoreApplication::arguments(), &error)) {
        std::fprintf(stderr, "keyvane-cli: %s\n%s", qPrintable(error), qPrintable(kv::cli::Options::usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(kv::cli::Options::usage()), stdout);
        std::fputs(qPrintable(kv::cli::Uso_Sesion()), stdout);
        return 0;
    }
    if (!options.portsDir.isEmpty())
        kv::Paths::setPortsDir(options.portsDir);
    kv::cli::Runner runner(options);
    return runner.run();
}
