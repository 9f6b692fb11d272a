#include "platform/gui/data/ShellExecute.h"
#include "platform/gui/frame/ResourceException.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/WindowStyles.h"
#include "platform/os/System.h"

#include <gtest/gtest.h>

TEST(ShellExecute, FailsQuietlyForWhatItCannotOpen) {
    EXPECT_FALSE(ShellExecuteExA(nullptr));
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.nShow = SW_SHOWMAXIMIZED;
    info.lpFile = "";
    EXPECT_FALSE(ShellExecuteExA(&info));
    EXPECT_LE(reinterpret_cast<uintptr_t>(info.hInstApp), 32u);

    info.lpFile = ".\\no such folder\\no such file.html";
    EXPECT_FALSE(ShellExecuteExA(&info));
    EXPECT_LE(reinterpret_cast<uintptr_t>(info.hInstApp), 32u);

    info.lpFile = "http://localhost/";
    info.lpVerb = "print";
    EXPECT_FALSE(ShellExecuteExA(&info));
    info.lpVerb = "open";
    info.cbSize = 4;
    EXPECT_FALSE(ShellExecuteExA(&info));
}

TEST(ModuleServices, SoundsAreSilentTheModuleIsOneAndRegistrationFailuresThrow) {
    EXPECT_FALSE(PlaySoundA("hover.wav", AfxGetInstanceHandle(), SND_FILENAME | SND_ASYNC));
    EXPECT_NE(AfxGetInstanceHandle(), nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), AfxGetInstanceHandle());
    EXPECT_THROW(AfxThrowResourceException(), CResourceException);
}
