#pragma once

#include <QString>
#include <stdexcept>

// A command asked of a link whose exchange is still waiting for its reply.
// The wait keeps the event loop running, so a timer or a window can try to
// start a second exchange on the same line from inside the first; letting it
// through would resend, close or reopen the port under the outstanding one.
class EOcupado : public std::runtime_error {
public:
    explicit EOcupado(const QString &puerto)
        : std::runtime_error(
              QStringLiteral("%1: an exchange is still waiting for its reply").arg(puerto).toStdString())
    {
    }
};
