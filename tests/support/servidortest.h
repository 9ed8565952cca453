#pragma once

#include <QString>

namespace kv::test {

// The account the tests' databases are reached with. With
// KEYVANE_TEST_SERVIDOR naming the directory of a server that
// tests/support/fbserver started, its "cuenta" file gives the host
// ("127.0.0.1/<port>"), the user and the password, and every database the
// tests create or open goes through that server; otherwise the host is empty
// and the files are opened embedded (user and password then go unchecked).
struct CuentaServidor {
    QString host;
    QString usuario = QStringLiteral("sysdba");
    QString password = QStringLiteral("quillpond");
    QString error;    // the variable is set but its file cannot be read
};

const CuentaServidor &cuentaServidor();

} // namespace kv::test
