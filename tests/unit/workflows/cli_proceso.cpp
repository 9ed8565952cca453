#include "cli_proceso.h"

#include <QProcess>

Salida_Cli Ejecuta_Cli(const kv::test::TempInstall &inst, const QStringList &args, const QByteArray &entrada)
{
    QProcess p;
    p.start(kv::test::binary(QStringLiteral("keyvane-cli")),
            QStringList{"--program-dir", inst.programDir(), "--system-dir", inst.systemDir(), "--ports-dir",
                        inst.portsDir()}
                + args);
    if (!p.waitForStarted())
        return {};
    p.write(entrada);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(p.readAllStandardError())};
}
