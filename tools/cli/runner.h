#pragma once

#include "options.h"

#include "link/zarvcomunicador.h"

namespace kv::cli {

// Runs one keyvane-cli command on one controller line and returns the exit
// status: 0 answered or confirmed, 1 refused or no answer, 2 port error.
class Runner {
public:
    explicit Runner(const Options &options);
    int run();

private:
    int dispatch();
    int test();
    int scan();
    int read();
    int listen();
    int confirmed(bool ok);
    void noAnswer(const QString &what);
    std::uint8_t bus() const;

    Options m_options;
    ZARVComunicador m_com;
};

} // namespace kv::cli
