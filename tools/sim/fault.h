#pragma once

#include <QString>
#include <QStringList>

namespace kv::sim {

// A fault a controller shows on the line; it changes how its replies go out.
struct Fault {
    enum Kind { None, Silence, Refuse, BadSum, Echo, Ack, Slow };
    Kind kind = None;
    int slowMs = 0;

    // Words as the control commands take them: "none", ..., "slow" followed by MS.
    static bool parse(const QStringList &words, Fault *out, QString *error);
    // One word, so that list lines split on blanks: "none", "echo", "slow:300".
    QString text() const;
};

} // namespace kv::sim
