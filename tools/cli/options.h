#pragma once

#include <QString>
#include <QStringList>

namespace kv::cli {

// The command line of keyvane-cli:
//   keyvane-cli [--ports-dir DIR] COMMAND PORT [ADDRESS] [ARGS]
// ADDRESS 0..31, 0 (the default) meaning the controller at 170.
struct Options {
    QString portsDir;
    QString command;
    int port = 0;
    int address = 0;  // as the installer writes it: 0..31
    QString code;     // add, load, delete
    bool endBlock = false;
    int lockTime = 0; // times
    int openTime = 0;
    bool help = false;

    // False with the reason in *error for anything malformed.
    bool parse(const QStringList &arguments, QString *error);
    static QString usage();
};

} // namespace kv::cli
