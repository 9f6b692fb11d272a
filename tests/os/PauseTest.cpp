#include "platform/os/Pause.h"

#include <chrono>
#include <gtest/gtest.h>

TEST(Pause, AnInstalledHandlerSeesEveryPauseInsteadOfWaiting) {
    std::vector<DWORD> pauses;
    PauseHandler previous = SetPauseHandler([&](DWORD ms) { pauses.push_back(ms); });
    auto start = std::chrono::steady_clock::now();
    Sleep(500);
    Sleep(1000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_EQ(pauses, (std::vector<DWORD>{500, 1000}));
    SetPauseHandler(std::move(previous));
}

TEST(Pause, WithoutAHandlerThePauseIsReal) {
    SetPauseHandler(nullptr);
    auto start = std::chrono::steady_clock::now();
    Sleep(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}
