#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

// The far end of a pseudo-terminal with a COM<N> link to its device, driven
// byte by byte from the test, for behaviours that need exact bytes on the
// line (a lone ACK, two frames in one write, a frame for another station).
// It answers from the event loop that the link pumps while it waits.
class PtyPeer : public QObject {
public:
    // Creates the pseudo-terminal and the link; isValid() tells whether it worked.
    explicit PtyPeer(const QString &linkPath);
    ~PtyPeer() override;

    bool isValid() const { return m_master >= 0; }
    QString devicePath() const { return m_slavePath; }

    // Everything the link wrote so far.
    QByteArray received() const { return m_received; }
    void clearReceived() { m_received.clear(); }
    // Called with each chunk the link writes.
    std::function<void(const QByteArray &chunk)> onData;

    void send(const QByteArray &bytes);
    // The far end goes away: the pseudo-terminal's master side is closed.
    void vanish();

    // Pumps the event loop until pred() holds or ms pass; returns pred().
    static bool waitFor(const std::function<bool()> &pred, int ms);

private:
    void readMaster();

    int m_master = -1;
    int m_slaveKeep = -1;
    QString m_slavePath;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_received;
};
