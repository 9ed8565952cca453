#pragma once

#include <QString>

namespace kv {

// The one place every file and directory location comes from. The program uses
// the defaults; tests point the overrides at temporary trees so that no test
// touches the real program or system directory.
class Paths {
public:
    // Directory of the running executable, without a trailing separator.
    static QString programDir();
    // Per-system directory holding the settings and language files.
    static QString systemDir();
    // Directory of the COM<N> links to serial devices (systemDir()/ports by default).
    static QString portsDir();
    // programDir()/BDKV: the main database, installation files and the factory set.
    static QString databaseDir();
    // databaseDir()/BK20: the factory set.
    static QString factoryDir();

    static void setProgramDir(const QString &dir);
    static void setSystemDir(const QString &dir);
    static void setPortsDir(const QString &dir);
    // Drops every override.
    static void reset();
};

} // namespace kv
