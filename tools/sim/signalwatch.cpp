#include "signalwatch.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kv::sim {

int SignalWatch::s_pipe[2] = {-1, -1};

SignalWatch::SignalWatch(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_pipe) != 0)
        return;
    ::fcntl(s_pipe[0], F_SETFL, O_NONBLOCK);
    ::fcntl(s_pipe[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(s_pipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::onNotifier);

    struct sigaction sa {};
    sa.sa_handler = &SignalWatch::handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(s, &sa, nullptr);

    // A client that goes away mid-answer must not kill the simulator, and a
    // simulator started in the background of a terminal must not stop on it.
    ::signal(SIGPIPE, SIG_IGN);
    ::signal(SIGTTIN, SIG_IGN);
    ::signal(SIGTTOU, SIG_IGN);
}

SignalWatch::~SignalWatch()
{
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        ::signal(s, SIG_DFL);
    delete m_notifier;
    for (int &fd : s_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalWatch::handler(int signal)
{
    const char c = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(s_pipe[0], &c, 1);
}

void SignalWatch::onNotifier()
{
    char c = 0;
    if (::read(s_pipe[1], &c, 1) == 1)
        emit terminate(c);
}

} // namespace kv::sim
