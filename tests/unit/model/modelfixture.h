#pragma once

#include "fbtest.h"
#include "servidortest.h"
#include "tempinstall.h"

#include "model/zarvserver.h"
#include "model/zarvsistema.h"

#include <gtest/gtest.h>
#include <memory>

// A fresh copy of the factory set per test and a server configured on it the
// way start-up does (embedded, the fixed account), so every test starts from
// the shipped main database and an empty installation 1.
class ModelTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Opens installation `code` as the main window does: root, then collections.
    std::unique_ptr<ZARVSistema> Abre(int code = 1);

    QString Bdkv() const { return inst.databaseDir() + QLatin1Char('/'); }

    kv::test::TempInstall inst;
    ZARVServer server;
};
