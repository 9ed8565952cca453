#pragma once

#include <QString>

namespace kv::sim {

// The link <ports dir>/COM<N> through which the program finds the line.
class PortLink {
public:
    ~PortLink() { remove(); }

    // Replaces a link left by a killed run (one that points at a pseudo-terminal
    // or at nothing), but never a link to a real device: that belongs to an
    // installation and replacing it would cut the site off its controllers.
    bool create(const QString &linkPath, const QString &target, QString *error);
    // Removes the link if it still points where we made it point.
    void remove();

private:
    QString m_path;
    QString m_target;
};

} // namespace kv::sim
