#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kv::sim {

// keyvane-sim --ports-dir DIR --port N [--controllers 1,2,170] [--state-dir DIR]
//             [--pace] [--resend MS] [--log FILE] [--verbose]
struct SimOptions {
    QString portsDir;
    int port = 0;
    QList<int> controllers;
    QString stateDir;
    bool pace = false;
    int resendMs = 0; // 0: the event queue's default
    QString logFile;
    bool verbose = false;
    bool help = false;

    bool parse(const QStringList &arguments, QString *error);
    static QString usage();
};

} // namespace kv::sim
