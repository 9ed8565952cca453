#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kv::test {

// A Firebird connection (QIBASE; embedded, or through the tests' server when
// KEYVANE_TEST_SERVIDOR is set) that closes and removes itself when it goes
// out of scope. For reading back what the code under test
// wrote.
class FbConnection {
public:
    explicit FbConnection(const QString &file);
    ~FbConnection();
    FbConnection(const FbConnection &) = delete;
    FbConnection &operator=(const FbConnection &) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    QString lastError() const;
    QSqlDatabase &db() { return m_db; }

    // First column of the first row of a query, or an invalid QVariant.
    QVariant scalar(const QString &sql);
    // All rows of a query, each row's columns joined by '|'.
    QStringList rows(const QString &sql);
    // Runs a statement; false (and lastError()) on failure.
    bool exec(const QString &sql);

private:
    QString m_name;
    QSqlDatabase m_db;
    QString m_error;
};

} // namespace kv::test

// Readable QString output in GoogleTest failure messages.
#include <ostream>
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (qsizetype i = 0; i < l.size(); ++i)
        *os << (i ? ", \"" : "\"") << l[i].toStdString() << '"';
    *os << '}';
}
