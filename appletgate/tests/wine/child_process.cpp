#include "child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace gatetest {

ChildProcess::ChildProcess(ChildProcess &&other) noexcept
    : pid_(other.pid_), out_(other.out_), output_(std::move(other.output_)), status_(other.status_),
      reaped_(other.reaped_)
{
    other.pid_ = -1;
    other.out_ = -1;
}

ChildProcess::~ChildProcess()
{
    if (pid_ > 0 && !reaped_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        close(out_);
}

ChildProcess ChildProcess::Start(const std::vector<std::string> &argv, const std::vector<std::string> &env)
{
    ChildProcess child;
    int pipe_fds[2];
    if (pipe2(pipe_fds, O_CLOEXEC) != 0)
        return child;

    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_fds[1], STDOUT_FILENO);
        const int null_fd = open("/dev/null", O_RDWR);
        dup2(null_fd, STDIN_FILENO);
        dup2(null_fd, STDERR_FILENO);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    close(pipe_fds[1]);
    if (pid < 0) {
        close(pipe_fds[0]);
        return child;
    }
    child.pid_ = pid;
    child.out_ = pipe_fds[0];
    fcntl(child.out_, F_SETFL, O_NONBLOCK);
    return child;
}

void ChildProcess::Drain(std::string &into)
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(out_, buffer, sizeof buffer);
        if (n > 0)
            into.append(buffer, static_cast<std::size_t>(n));
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return;
    }
}

bool ChildProcess::Running()
{
    if (pid_ <= 0 || reaped_)
        return false;
    if (waitpid(pid_, &status_, WNOHANG) == pid_)
        reaped_ = true;
    return !reaped_;
}

ChildResult ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    ChildResult result;
    if (pid_ <= 0)
        return result;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            reaped_ = true;
            Drain(output_);
            result.output = output_;
            return result;
        }
        pollfd fd{out_, POLLIN, 0};
        // Once every writer has closed the pipe poll() no longer blocks.
        if (poll(&fd, 1, 20) > 0 && (fd.revents & POLLIN) == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        Drain(output_);
    }
    Drain(output_);
    result.finished = true;
    result.exit_status = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
    result.output = output_;
    return result;
}

ChildResult Run(const std::vector<std::string> &argv, const std::vector<std::string> &env,
                std::chrono::milliseconds timeout)
{
    ChildProcess child = ChildProcess::Start(argv, env);
    return child.Wait(timeout);
}

} // namespace gatetest
