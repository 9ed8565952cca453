#include "options.h"

#include <QRegularExpression>

namespace kv::cli {

namespace {

// Positional arguments each command takes after PORT, without the optional ADDRESS.
int argumentCount(const QString &command)
{
    if (command == QLatin1String("times"))
        return 2;
    if (command == QLatin1String("add") || command == QLatin1String("load") || command == QLatin1String("delete"))
        return 1;
    if (command == QLatin1String("test") || command == QLatin1String("master") || command == QLatin1String("erase")
        || command == QLatin1String("read") || command == QLatin1String("listen"))
        return 0;
    return -1;
}

bool number(const QString &text, int lo, int hi, int *out)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok || v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

} // namespace

QString Options::usage()
{
    return QStringLiteral(
        "usage: keyvane-cli [--ports-dir DIR] COMMAND PORT [ADDRESS] [ARGS]\n"
        "  PORT     the N of COMn\n"
        "  ADDRESS  controller bus address 0..31 (0, the default, is the controller at 170)\n"
        "commands:\n"
        "  test                  print the controller's test record\n"
        "  scan                  test addresses 0..31 and print those that answer\n"
        "  times LOCK OPEN       set the door-lock and door-open times (0..99)\n"
        "  master                change the master card (present it within 5 s)\n"
        "  add CODE              add one card (up to 10 decimal digits)\n"
        "  load CODE [--end-block]  load one card of a list\n"
        "  delete CODE           delete one card (up to 10 hex digits)\n"
        "  erase                 delete every card\n"
        "  read                  print the stored cards, one a line\n"
        "  listen                print the line's events until interrupted:\n"
        "                        Tipo Parametro_1 Parametro_7 Tarjeta Puerto Direccion\n"
        "                        ('-' for empty; Direccion is the sender's bus address)\n"
        "exit status: 0 answered or confirmed, 1 refused or no answer, 2 usage or port error\n");
}

bool Options::parse(const QStringList &arguments, QString *error)
{
    QStringList positional;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            help = true;
            return true;
        }
        if (a == QLatin1String("--ports-dir")) {
            if (++i >= arguments.size()) {
                *error = QStringLiteral("--ports-dir needs a directory");
                return false;
            }
            portsDir = arguments.at(i);
        } else if (a == QLatin1String("--end-block")) {
            endBlock = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            *error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            positional << a;
        }
    }
    if (positional.size() < 2) {
        *error = QStringLiteral("a command and a port are needed");
        return false;
    }
    command = positional.takeFirst();
    if (!number(positional.takeFirst(), 1, 255, &port)) {
        *error = QStringLiteral("PORT must be a number 1..255");
        return false;
    }
    if (command == QLatin1String("scan")) {
        if (!positional.isEmpty()) {
            *error = QStringLiteral("scan takes no address or arguments");
            return false;
        }
        return true;
    }
    const int count = argumentCount(command);
    if (count < 0) {
        *error = QStringLiteral("unknown command %1").arg(command);
        return false;
    }
    if (endBlock && command != QLatin1String("load")) {
        *error = QStringLiteral("--end-block goes with load only");
        return false;
    }
    if (positional.size() == count + 1) {
        if (!number(positional.takeFirst(), 0, 31, &address)) {
            *error = QStringLiteral("ADDRESS must be 0..31");
            return false;
        }
    }
    if (positional.size() != count) {
        *error = QStringLiteral("%1 takes %2 argument(s) after PORT [ADDRESS]").arg(command).arg(count);
        return false;
    }
    if (command == QLatin1String("times")) {
        if (!number(positional.at(0), 0, 99, &lockTime) || !number(positional.at(1), 0, 99, &openTime)) {
            *error = QStringLiteral("LOCK and OPEN must be 0..99");
            return false;
        }
    } else if (count == 1) {
        // A code that the conversion would silently cut or zero is refused here.
        static const QRegularExpression decimal(QStringLiteral("^[0-9]{1,10}$"));
        static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,10}$"));
        code = positional.at(0);
        if (!(command == QLatin1String("delete") ? hex : decimal).match(code).hasMatch()) {
            *error = command == QLatin1String("delete") ? QStringLiteral("CODE must be 1..10 hex digits")
                                                        : QStringLiteral("CODE must be 1..10 decimal digits");
            return false;
        }
    }
    return true;
}

} // namespace kv::cli
