// The login window's wait after wrong passwords.
#include "workflows/freno_login.h"

#include <gtest/gtest.h>

#include <vector>

TEST(FrenoLogin, TheWaitDoublesFromTheFifthWrongPasswordUpToThirtySecondsAndARightOneResetsIt)
{
    kv::wf::Freno_Login freno;
    std::vector<int> esperas;
    for (int i = 0; i < 12; ++i)
        esperas.push_back(freno.Fallo());
    EXPECT_EQ(esperas, (std::vector<int>{0, 0, 0, 0, 1, 2, 4, 8, 16, 30, 30, 30}));
    for (int i = 0; i < 1000; ++i)
        EXPECT_LE(freno.Fallo(), 30);

    freno.Acierto();
    EXPECT_EQ(freno.Fallos(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(freno.Fallo(), 0);
    EXPECT_EQ(freno.Fallo(), 1);
}
