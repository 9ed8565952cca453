// keyvane-sim: the door controllers of one serial line, on a pseudo-terminal.
#include "commandinterpreter.h"
#include "controlserver.h"
#include "framelog.h"
#include "line.h"
#include "portlink.h"
#include "signalwatch.h"
#include "simoptions.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

using namespace kv::sim;

namespace {

int fail(const QString &text, int code = 1)
{
    std::fprintf(stderr, "keyvane-sim: %s\n", qPrintable(text));
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("keyvane-sim"));

    SimOptions opt;
    QString error;
    if (!opt.parse(QCoreApplication::arguments(), &error))
        return fail(error + QStringLiteral("\n") + SimOptions::usage(), 2);
    if (opt.help) {
        std::fputs(qPrintable(SimOptions::usage()), stdout);
        return 0;
    }

    const QString name = QStringLiteral("COM%1").arg(opt.port);
    const QString portsDir = QDir(opt.portsDir).absolutePath();
    if (!QDir().mkpath(portsDir))
        return fail(QStringLiteral("cannot create %1").arg(portsDir));

    FrameLog log;
    log.setLine(name);
    log.setVerbose(opt.verbose);
    if (!opt.logFile.isEmpty() && !log.openFile(opt.logFile, &error))
        return fail(error);

    const StateFile state(opt.stateDir.isEmpty() ? QString() : QDir(opt.stateDir).absoluteFilePath(name + QStringLiteral(".json")));
    Line line(name, &log, state);
    if (!line.open(&error))
        return fail(error);
    for (int address : opt.controllers)
        line.add(address);
    // A bare start still has something to talk to: the database's address-0 controller.
    if (line.controllers().isEmpty())
        line.add(170);
    line.setPaced(opt.pace);
    if (opt.resendMs > 0)
        line.setResendMs(opt.resendMs);

    CommandInterpreter interpreter(&line);
    ControlServer control(&interpreter);
    // The socket goes first: it tells whether another simulator owns this line,
    // before its link is touched.
    if (!control.listen(portsDir + QLatin1Char('/') + name + QStringLiteral(".ctl"), &error))
        return fail(error);
    PortLink link;
    if (!link.create(portsDir + QLatin1Char('/') + name, line.slavePath(), &error))
        return fail(error);
    if (!line.saveNow(&error))
        log.note(error);

    SignalWatch stopSignals;
    QObject::connect(&stopSignals, &SignalWatch::terminate, &app, [&log](int s) {
        log.note(QStringLiteral("stopping on signal %1").arg(s));
        QCoreApplication::quit();
    });
    QObject::connect(&control, &ControlServer::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    QStringList addresses;
    for (const Controller *c : line.controllers())
        addresses << QString::number(c->address());
    log.note(QStringLiteral("ready on %1, controllers %2").arg(line.slavePath(), addresses.join(QLatin1Char(','))));
    std::printf("ready %s %s\n", qPrintable(name), qPrintable(line.slavePath()));
    std::fflush(stdout);
    control.watchStdin();

    const int rc = app.exec();
    if (!line.saveNow(&error))
        fail(error);
    control.close();
    link.remove();
    return rc;
}
