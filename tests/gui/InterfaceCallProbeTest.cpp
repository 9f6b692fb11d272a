// The calls the operator interface makes on the framework layer, written as that code writes them: this file
// compiling (with the serial and registry headers together) is half the test.
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/draw/DC.h"
#include "platform/gui/frame/Registry.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/gui/window/WindowClass.h"
#include "platform/os/SerialDevice.h"

#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Stands for a core operation: it takes GBK bytes as std::string.
size_t CoreLength(const std::string& name, int value) { return name.size() + static_cast<size_t>(value); }

} // namespace

TEST(InterfaceCallProbe, TheInterfacesExpressionsCompileAndMeanWhatTheySay) {
    CString name("P-MOVE-WINDOW");
    EXPECT_EQ(CoreLength(name, 0), 13u);
    const std::string& bytes = name;
    EXPECT_EQ(bytes, "P-MOVE-WINDOW");
    EXPECT_TRUE(name == "P-MOVE-WINDOW");

    MessageBoxRecorder boxes(IDOK);
    EXPECT_EQ(AfxMessageBox(CString("Please stop recording matrix before loading!")), IDOK);
    EXPECT_EQ(AfxMessageBox(name + _T("?"), MB_OKCANCEL | MB_ICONQUESTION), IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "P-MOVE-WINDOW?");

    WNDCLASS wc;
    EXPECT_FALSE(GetClassInfoA(AfxGetInstanceHandle(), "NoSuchClassHere", &wc));

    NM_LISTVIEW nm{};
    nm.iItem = -1;
    EXPECT_EQ(reinterpret_cast<LPNMLISTVIEW>(&nm)->iItem, -1);

    POINT previous{-1, -1};
    EXPECT_FALSE(SetBrushOrgEx(nullptr, 0, 0, &previous)); // no device context: fails and writes nothing
    EXPECT_EQ(previous.x, -1);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    dc.SetBrushOrg(3, 4);
    EXPECT_TRUE(SetBrushOrgEx(dc.GetSafeHdc(), 0, 0, &previous));
    EXPECT_EQ(previous.x, 3);
    EXPECT_EQ(previous.y, 4);
    EXPECT_EQ(dc.GetBrushOrg(), CPoint(0, 0));

    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(CreateFileA("COM0", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_NE(GetLastError(), ERROR_SUCCESS);
}
