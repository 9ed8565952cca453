#pragma once
// Starting Wine from the test driver: a POSIX child with its own environment,
// its standard output captured and a deadline after which it is killed.
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace gatetest {

struct ChildResult {
    bool finished = false; // false: the deadline passed and the child was killed
    int exit_status = -1;  // the Unix exit status when it finished
    std::string output;    // what it wrote to standard output
};

class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ChildProcess(ChildProcess &&other) noexcept;
    ChildProcess &operator=(ChildProcess &&) = delete;
    ~ChildProcess(); // kills a child still running

    // argv[0] is a path; env is the complete environment ("NAME=value").
    static ChildProcess Start(const std::vector<std::string> &argv, const std::vector<std::string> &env);

    bool Started() const { return pid_ > 0; }
    // Waits for the child itself to end, reading its output meanwhile. Waiting
    // for end of file instead would hang: Wine's helper processes inherit the
    // pipe and outlive the child.
    ChildResult Wait(std::chrono::milliseconds timeout);
    // True while the child runs.
    bool Running();

private:
    void Drain(std::string &into);

    pid_t pid_ = -1;
    int out_ = -1;
    std::string output_;
    int status_ = -1;
    bool reaped_ = false;
};

ChildResult Run(const std::vector<std::string> &argv, const std::vector<std::string> &env,
                std::chrono::milliseconds timeout);

} // namespace gatetest
