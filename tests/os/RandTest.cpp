#include "platform/os/Rand.h"
#include "platform/os/Version.h"

#include <gtest/gtest.h>

#include <vector>

TEST(PlatformRand, GivesThePlatformSequenceFromSeedOneAndAfterReseeding) {
    // The runtime starts as if seeded with 1.
    std::vector<int> first;
    for (int i = 0; i < 6; ++i)
        first.push_back(CrtRand());
    EXPECT_EQ(first, (std::vector<int>{41, 18467, 6334, 26500, 19169, 15724}));

    CrtSrand(1);
    EXPECT_EQ(CrtRand(), 41);
    CrtSrand(12345);
    EXPECT_EQ(CrtRand(), 7584);
    EXPECT_EQ(CrtRand(), 19164);
    EXPECT_EQ(CrtRand(), 25795);
}

TEST(PlatformRand, StaysWithinFifteenBitsAcrossTheWholeCycle) {
    CrtSrand(0xFFFFFFFFu);
    for (int i = 0; i < 100000; ++i) {
        const int r = CrtRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, CRT_RAND_MAX);
    }
}

TEST(PlatformVersion, ReportsWindows7ForEitherRecordAndRefusesOtherSizes) {
    OSVERSIONINFO info{};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwMajorVersion, 6u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);

    OSVERSIONINFOEX ex{};
    ex.dwOSVersionInfoSize = sizeof(ex);
    ASSERT_TRUE(GetVersionEx(reinterpret_cast<OSVERSIONINFO*>(&ex)));
    EXPECT_EQ(ex.dwMajorVersion, 6u);
    EXPECT_EQ(ex.wServicePackMajor, 1);

    OSVERSIONINFO wrong{};
    wrong.dwOSVersionInfoSize = 12;
    EXPECT_FALSE(GetVersionEx(&wrong));
    EXPECT_FALSE(GetVersionEx(static_cast<OSVERSIONINFO*>(nullptr)));
    EXPECT_EQ(GetVersion() & 0xFFFF, 0x0106u);
}
