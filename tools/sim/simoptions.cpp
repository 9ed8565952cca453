#include "simoptions.h"

#include "controller.h"

namespace kv::sim {

bool SimOptions::parse(const QStringList &arguments, QString *error)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString a = arguments.at(i);
        auto value = [&](QString *out) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            *out = arguments.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
        } else if (a == QLatin1String("--pace")) {
            pace = true;
        } else if (a == QLatin1String("--verbose") || a == QLatin1String("-v")) {
            verbose = true;
        } else if (a == QLatin1String("--ports-dir")) {
            if (!value(&portsDir))
                return false;
        } else if (a == QLatin1String("--state-dir")) {
            if (!value(&stateDir))
                return false;
        } else if (a == QLatin1String("--log")) {
            if (!value(&logFile))
                return false;
        } else if (a == QLatin1String("--resend")) {
            if (!value(&v))
                return false;
            bool ok = false;
            resendMs = v.toInt(&ok);
            if (!ok || resendMs < 10 || resendMs > 60000) {
                *error = QStringLiteral("bad resend interval %1 (10..60000 ms)").arg(v);
                return false;
            }
        } else if (a == QLatin1String("--port")) {
            if (!value(&v))
                return false;
            bool ok = false;
            port = v.toInt(&ok);
            if (!ok || port < 1 || port > 255) {
                *error = QStringLiteral("bad port %1 (the N of COMn, 1..255)").arg(v);
                return false;
            }
        } else if (a == QLatin1String("--controllers")) {
            if (!value(&v))
                return false;
            for (const QString &w : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                bool ok = false;
                int address = w.trimmed().toInt(&ok);
                if (ok && address == 0)
                    address = 170;
                if (!ok || !Controller::validAddress(address)) {
                    *error = QStringLiteral("bad controller address %1 (1..31 or 170)").arg(w);
                    return false;
                }
                controllers.append(address);
            }
        } else {
            *error = QStringLiteral("unknown argument %1").arg(a);
            return false;
        }
    }
    if (help)
        return true;
    if (portsDir.isEmpty() || port == 0) {
        *error = QStringLiteral("--ports-dir and --port are required");
        return false;
    }
    return true;
}

QString SimOptions::usage()
{
    return QStringLiteral(
        "usage: keyvane-sim --ports-dir DIR --port N [--controllers 1,2,170] [--state-dir DIR]\n"
        "                   [--pace] [--resend MS] [--log FILE] [--verbose]\n"
        "Creates DIR/COM<N> (a pseudo-terminal) and the control socket DIR/COM<N>.ctl,\n"
        "prints \"ready COM<N> <pty>\" and takes control commands on standard input\n"
        "and on the socket (\"help\" lists them).\n");
}

} // namespace kv::sim
