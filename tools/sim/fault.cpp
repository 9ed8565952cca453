#include "fault.h"

namespace kv::sim {

namespace {
const char *const names[] = {"none", "silence", "refuse", "badsum", "echo", "ack", "slow"};
}

bool Fault::parse(const QStringList &words, Fault *out, QString *error)
{
    if (words.isEmpty()) {
        *error = QStringLiteral("missing fault (none|silence|refuse|badsum|echo|ack|slow MS)");
        return false;
    }
    // "slow:300" is how list shows it; taking it back keeps list output reusable.
    QStringList w = words;
    if (w.size() == 1 && w.first().contains(QLatin1Char(':')))
        w = w.first().split(QLatin1Char(':'));
    for (int k = None; k <= Slow; ++k) {
        if (w.first().compare(QLatin1String(names[k]), Qt::CaseInsensitive) != 0)
            continue;
        Fault f;
        f.kind = static_cast<Kind>(k);
        if (f.kind == Slow) {
            bool ok = false;
            f.slowMs = w.size() == 2 ? w.at(1).toInt(&ok) : -1;
            if (!ok || f.slowMs < 0 || f.slowMs > 600000) {
                *error = QStringLiteral("slow needs a delay in ms (0..600000)");
                return false;
            }
        } else if (w.size() != 1) {
            *error = QStringLiteral("fault %1 takes no value").arg(w.first());
            return false;
        }
        *out = f;
        return true;
    }
    *error = QStringLiteral("unknown fault %1 (none|silence|refuse|badsum|echo|ack|slow MS)").arg(words.first());
    return false;
}

QString Fault::text() const
{
    QString t = QLatin1String(names[kind]);
    if (kind == Slow)
        t += QStringLiteral(":%1").arg(slowMs);
    return t;
}

} // namespace kv::sim
