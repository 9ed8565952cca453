#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace kv::sim {

// The controllers' end of the serial line: the master side of a pseudo-terminal.
// It tracks whether the PC holds the slave open, because a real line loses what
// is sent while the PC's port is closed and the PC's driver purges its queue on
// close; a pty would instead keep those bytes and hand them to the next open.
class PtyPort : public QObject {
    Q_OBJECT
public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }
    bool peerOpen() const { return m_peerOpen; }

    // False when the PC's port is closed or its queue is full (the rest is lost, as on a wire).
    bool write(const QByteArray &bytes);

signals:
    void received(const QByteArray &bytes);
    void peerOpened();
    void peerClosed();

private:
    void readAvailable();
    void checkPeer();
    void markClosed();
    bool drain(); // false when the PC's end has hung up
    void onInotify();
    bool probePeer() const;

    int m_master = -1;
    int m_inotify = -1;
    QString m_slavePath;
    bool m_peerOpen = false;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_inotifyNotifier = nullptr;
    QTimer *m_fallbackPoll = nullptr;
};

} // namespace kv::sim
