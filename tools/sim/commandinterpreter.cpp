#include "commandinterpreter.h"

#include "controller.h"
#include "line.h"

#include <QRegularExpression>

namespace kv::sim {

namespace {

// Accepts 0 for the controller the database keeps at address 0, which answers to 170.
QString parseAddress(const QString &word, int *address)
{
    bool ok = false;
    int a = word.toInt(&ok);
    if (ok && a == 0)
        a = 170;
    if (!ok || !Controller::validAddress(a))
        return QStringLiteral("bad address %1 (1..31 or 170)").arg(word);
    *address = a;
    return {};
}

// A card code as the PC writes it: up to ten digits, left-padded with zeros,
// two digits to a byte. Hex digits are taken too, so dump output loads back.
QString parseCode(const QString &word, QByteArray *code)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9A-Fa-f]{1,10}$"));
    if (!digits.match(word).hasMatch())
        return QStringLiteral("bad card code %1 (up to 10 digits)").arg(word);
    *code = QByteArray::fromHex(word.rightJustified(10, QLatin1Char('0')).toLatin1());
    return {};
}

QString parseInt(const QString &word, int *value)
{
    bool ok = false;
    *value = word.toInt(&ok);
    return ok ? QString() : QStringLiteral("%1 is not a number").arg(word);
}

} // namespace

QStringList CommandInterpreter::run(const QString &commandLine, bool *quit)
{
    *quit = false;
    const QStringList words = commandLine.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return {};
    const QString verb = words.first().toLower();
    const QStringList args = words.mid(1);

    QStringList out;
    QString error;
    if (verb == QLatin1String("add"))
        error = add(args);
    else if (verb == QLatin1String("remove"))
        error = remove(args);
    else if (verb == QLatin1String("list"))
        error = list(out);
    else if (verb == QLatin1String("card"))
        error = cardEvent(args, 0x01);
    else if (verb == QLatin1String("refused"))
        error = cardEvent(args, 0x02);
    else if (verb == QLatin1String("event"))
        error = rawEvent(args);
    else if (verb == QLatin1String("door"))
        error = door(args);
    else if (verb == QLatin1String("dump"))
        error = dump(args, out);
    else if (verb == QLatin1String("load"))
        error = load(args);
    else if (verb == QLatin1String("clear"))
        error = clear(args);
    else if (verb == QLatin1String("fault"))
        error = fault(args);
    else if (verb == QLatin1String("pace"))
        error = pace(args);
    else if (verb == QLatin1String("resend"))
        error = resend(args);
    else if (verb == QLatin1String("dropack"))
        error = dropAck(args);
    else if (verb == QLatin1String("set"))
        error = set(args);
    else if (verb == QLatin1String("stats"))
        error = stats(out);
    else if (verb == QLatin1String("help"))
        out = help();
    else if (verb == QLatin1String("quit"))
        *quit = true;
    else
        error = QStringLiteral("unknown command %1 (try help)").arg(words.first());

    out.append(error.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error: ") + error);
    return out;
}

QString CommandInterpreter::add(const QStringList &args)
{
    int address = 0;
    if (args.isEmpty())
        return QStringLiteral("usage: add ADDR [capacity=N] [version=V] [state=S] [lock=T] [open=T]");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    if (m_line->controller(address))
        return QStringLiteral("controller %1 exists").arg(address);

    // Check every option on a scratch controller first, so a bad one adds nothing.
    Controller scratch(address);
    for (const QString &opt : args.mid(1)) {
        const QString key = opt.section(QLatin1Char('='), 0, 0).toLower();
        int value = 0;
        if (QString e = parseInt(opt.section(QLatin1Char('='), 1), &value); !e.isEmpty() || !opt.contains(QLatin1Char('=')))
            return QStringLiteral("bad option %1 (KEY=NUMBER)").arg(opt);
        QString e;
        if (key == QLatin1String("capacity"))
            e = scratch.setCapacity(value);
        else if (key == QLatin1String("version"))
            e = scratch.setVersion(value);
        else if (key == QLatin1String("state"))
            e = scratch.setState(value);
        else if (key == QLatin1String("lock"))
            e = scratch.setLockTime(value);
        else if (key == QLatin1String("open"))
            e = scratch.setOpenTime(value);
        else
            e = QStringLiteral("unknown option %1").arg(key);
        if (!e.isEmpty())
            return e;
    }
    Controller *c = m_line->add(address);
    c->fromJson(scratch.toJson());
    m_line->changed();
    return {};
}

QString CommandInterpreter::remove(const QStringList &args)
{
    int address = 0;
    if (args.size() != 1)
        return QStringLiteral("usage: remove ADDR");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    return m_line->remove(address) ? QString() : QStringLiteral("no controller %1").arg(address);
}

QString CommandInterpreter::list(QStringList &out)
{
    for (const Controller *c : m_line->controllers())
        out.append(QStringLiteral("%1 cards=%2 capacity=%3 version=%4 state=%5 lock=%6 open=%7 fault=%8")
                       .arg(c->address()).arg(c->cards().size()).arg(c->capacity()).arg(c->version())
                       .arg(c->state()).arg(c->lockTime()).arg(c->openTime()).arg(c->fault().text()));
    return {};
}

QString CommandInterpreter::cardEvent(const QStringList &args, char parameter)
{
    int address = 0;
    QByteArray code;
    if (args.size() != 2)
        return QStringLiteral("usage: card|refused ADDR CODE");
    if (QString e = parseAddress(args.at(0), &address); !e.isEmpty())
        return e;
    if (!m_line->controller(address))
        return QStringLiteral("no controller %1").arg(address);
    if (QString e = parseCode(args.at(1), &code); !e.isEmpty())
        return e;
    m_line->pushEvent(address, QByteArray("1") + char(parameter) + code);
    return {};
}

QString CommandInterpreter::rawEvent(const QStringList &args)
{
    int address = 0;
    if (args.size() < 3 || args.size() > 4)
        return QStringLiteral("usage: event ADDR CHAR PARAMHEX [CARDCODE]");
    if (QString e = parseAddress(args.at(0), &address); !e.isEmpty())
        return e;
    if (!m_line->controller(address))
        return QStringLiteral("no controller %1").arg(address);

    // The code is one character ('1', '5', '7', 'E', '*') or a byte written 0xNN.
    const QString codeWord = args.at(1);
    bool ok = codeWord.size() == 1 && codeWord.at(0).unicode() < 0x80;
    int code = ok ? codeWord.at(0).unicode() : 0;
    if (!ok && codeWord.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) && codeWord.size() <= 4)
        code = codeWord.mid(2).toInt(&ok, 16);
    if (!ok)
        return QStringLiteral("bad event code %1 (one character or 0xNN)").arg(codeWord);

    const int parameter = args.at(2).toInt(&ok, 16);
    if (!ok || args.at(2).size() > 2 || parameter < 0)
        return QStringLiteral("bad parameter %1 (two hex digits)").arg(args.at(2));

    QByteArray data;
    data.append(char(code)).append(char(parameter));
    if (args.size() == 4) {
        QByteArray card;
        if (QString e = parseCode(args.at(3), &card); !e.isEmpty())
            return e;
        data.append(card);
    }
    m_line->pushEvent(address, data);
    return {};
}

QString CommandInterpreter::door(const QStringList &args)
{
    int address = 0;
    if (args.size() != 2)
        return QStringLiteral("usage: door ADDR opened|closed|alarm|button");
    if (QString e = parseAddress(args.at(0), &address); !e.isEmpty())
        return e;
    Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    const QString what = args.at(1).toLower();
    // The door state follows the event, so a test read afterwards agrees with it.
    if (what == QLatin1String("opened")) {
        m_line->pushEvent(address, QByteArray("7\x01", 2));
        c->setState(7);
    } else if (what == QLatin1String("closed")) {
        m_line->pushEvent(address, QByteArray("7\x00", 2));
        c->setState(2);
    } else if (what == QLatin1String("alarm")) {
        m_line->pushEvent(address, QByteArray("E\x00", 2));
    } else if (what == QLatin1String("button")) {
        m_line->pushEvent(address, QByteArray("5\x00", 2));
    } else {
        return QStringLiteral("bad door event %1 (opened|closed|alarm|button)").arg(args.at(1));
    }
    m_line->changed();
    return {};
}

QString CommandInterpreter::dump(const QStringList &args, QStringList &out)
{
    int address = 0;
    if (args.size() != 1)
        return QStringLiteral("usage: dump ADDR");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    const Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    for (const QByteArray &code : c->cards())
        out.append(QString::fromLatin1(code.toHex().toUpper()));
    return {};
}

QString CommandInterpreter::load(const QStringList &args)
{
    int address = 0;
    if (args.size() < 2)
        return QStringLiteral("usage: load ADDR CODE [CODE...]");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    QList<QByteArray> codes;
    for (const QString &w : args.mid(1)) {
        QByteArray code;
        if (QString e = parseCode(w, &code); !e.isEmpty())
            return e;
        codes.append(code);
    }
    QString error;
    for (const QByteArray &code : codes) {
        if (!c->store(code)) {
            error = QStringLiteral("memory of %1 full at %2 cards").arg(address).arg(c->cards().size());
            break;
        }
    }
    m_line->changed();
    return error;
}

QString CommandInterpreter::clear(const QStringList &args)
{
    int address = 0;
    if (args.size() != 1)
        return QStringLiteral("usage: clear ADDR");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    c->clear();
    m_line->changed();
    return {};
}

QString CommandInterpreter::fault(const QStringList &args)
{
    int address = 0;
    if (args.size() < 2)
        return QStringLiteral("usage: fault ADDR none|silence|refuse|badsum|echo|ack|slow MS");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    Fault f;
    QString error;
    if (!Fault::parse(args.mid(1), &f, &error))
        return error;
    c->setFault(f);
    return {};
}

QString CommandInterpreter::pace(const QStringList &args)
{
    if (args.size() != 1 || (args.first() != QLatin1String("on") && args.first() != QLatin1String("off")))
        return QStringLiteral("usage: pace on|off");
    m_line->setPaced(args.first() == QLatin1String("on"));
    return {};
}

QString CommandInterpreter::resend(const QStringList &args)
{
    int ms = 0;
    if (args.size() != 1 || !parseInt(args.first(), &ms).isEmpty() || ms < 10 || ms > 60000)
        return QStringLiteral("usage: resend MS (10..60000)");
    m_line->setResendMs(ms);
    return {};
}

QString CommandInterpreter::dropAck(const QStringList &args)
{
    int n = 0;
    if (args.size() == 1 && args.first() == QLatin1String("all"))
        n = -1;
    else if (args.size() == 1 && args.first() == QLatin1String("off"))
        n = 0;
    else if (args.size() != 1 || !parseInt(args.first(), &n).isEmpty() || n < 0)
        return QStringLiteral("usage: dropack N|all|off");
    m_line->dropAcks(n);
    return {};
}

QString CommandInterpreter::set(const QStringList &args)
{
    int address = 0;
    int value = 0;
    if (args.size() != 3)
        return QStringLiteral("usage: set ADDR version|state|lock|open|capacity|master-delay VALUE");
    if (QString e = parseAddress(args.first(), &address); !e.isEmpty())
        return e;
    Controller *c = m_line->controller(address);
    if (!c)
        return QStringLiteral("no controller %1").arg(address);
    if (QString e = parseInt(args.at(2), &value); !e.isEmpty())
        return e;
    const QString key = args.at(1).toLower();
    QString error;
    if (key == QLatin1String("version"))
        error = c->setVersion(value);
    else if (key == QLatin1String("state"))
        error = c->setState(value);
    else if (key == QLatin1String("lock"))
        error = c->setLockTime(value);
    else if (key == QLatin1String("open"))
        error = c->setOpenTime(value);
    else if (key == QLatin1String("capacity"))
        error = c->setCapacity(value);
    else if (key == QLatin1String("master-delay"))
        error = c->setMasterDelay(value);
    else
        error = QStringLiteral("unknown setting %1").arg(args.at(1));
    if (error.isEmpty())
        m_line->changed();
    return error;
}

QString CommandInterpreter::stats(QStringList &out)
{
    const Line::Stats &s = m_line->stats();
    out.append(QStringLiteral("frames_in=%1 frames_out=%2 acks_in=%3 events_pending=%4 bad_frames=%5 "
                              "garbage_bytes=%6 lost_frames=%7 pace=%8 acks_dropped=%9 resend_ms=%10")
                   .arg(s.framesIn).arg(s.framesOut).arg(s.acksIn).arg(m_line->eventsPending())
                   .arg(s.badFrames).arg(s.garbageBytes).arg(s.lostFrames)
                   .arg(m_line->paced() ? QStringLiteral("on") : QStringLiteral("off"))
                   .arg(s.acksDropped).arg(m_line->resendMs()));
    return {};
}

QStringList CommandInterpreter::help() const
{
    return {
        QStringLiteral("add ADDR [capacity=N] [version=V] [state=S] [lock=T] [open=T]"),
        QStringLiteral("remove ADDR | list | dump ADDR | load ADDR CODE [CODE...] | clear ADDR"),
        QStringLiteral("card ADDR CODE | refused ADDR CODE | door ADDR opened|closed|alarm|button"),
        QStringLiteral("event ADDR CHAR PARAMHEX [CARDCODE]"),
        QStringLiteral("fault ADDR none|silence|refuse|badsum|echo|ack|slow MS"),
        QStringLiteral("set ADDR version|state|lock|open|capacity|master-delay VALUE"),
        QStringLiteral("pace on|off | resend MS | dropack N|all|off | stats | help | quit"),
    };
}

} // namespace kv::sim
