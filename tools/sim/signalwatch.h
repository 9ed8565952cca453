#pragma once

#include <QObject>

class QSocketNotifier;

namespace kv::sim {

// Turns SIGINT, SIGTERM and SIGHUP into a Qt signal, so that the link and the
// control socket are removed on the normal exit path and not left behind.
class SignalWatch : public QObject {
    Q_OBJECT
public:
    explicit SignalWatch(QObject *parent = nullptr);
    ~SignalWatch() override;

signals:
    void terminate(int signal);

private:
    static void handler(int signal);
    void onNotifier();

    static int s_pipe[2];
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace kv::sim
