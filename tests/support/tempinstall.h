#pragma once

#include <QString>
#include <QTemporaryDir>

namespace kv::test {

// A throwaway program directory holding a fresh copy of the factory set
// (BDKV with KEYVANE.FDB, INSTALACION_B.FDB, INSTALACION_1.FDB and BK20/),
// empty Pictures/ and Data/, and a throwaway system directory with a ports/
// folder and the shipped language file. While it lives, kv::Paths points here.
class TempInstall {
public:
    TempInstall();
    ~TempInstall();
    TempInstall(const TempInstall &) = delete;
    TempInstall &operator=(const TempInstall &) = delete;

    bool isValid() const { return m_ok; }
    QString root() const { return m_root.path(); }
    QString programDir() const;
    QString systemDir() const;
    QString portsDir() const;
    QString databaseDir() const;
    QString mainDatabase() const;                 // BDKV/KEYVANE.FDB
    QString installationFile(int code) const;     // BDKV/INSTALACION_<code>.FDB

private:
    QTemporaryDir m_root;
    bool m_ok = false;
};

// Copies src to dst (overwriting); false when anything failed.
bool copyFile(const QString &src, const QString &dst);

// Path of an executable built into build/bin.
QString binary(const QString &name);

} // namespace kv::test
