#pragma once

#include "tempinstall.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// keyvane-cli run as a separate process on a test's program, system and ports
// directories, as an installer's script runs it.
struct Salida_Cli {
    int estado = -1; // -1: it did not start, crashed or hung
    QStringList lineas; // standard output, one entry per non-empty line
    QString err;
};

Salida_Cli Ejecuta_Cli(const kv::test::TempInstall &inst, const QStringList &args, const QByteArray &entrada = {});
