#include "platform/gui/dialogs/FormView.h"
#include "platform/gui/draw/Bitmap.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/PrinterDC.h"
#include "platform/gui/frame/WinApp.h"
#include "platform/os/FilePath.h"
#include "platform/os/Gbk.h"
#include "platform/os/LastError.h"
#include "platform/os/System.h"
#include "res/ResourceTables.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

const DlgTemplate kForms[] = {
    {9401,
     "",
     600,
     400,
     WS_CHILD,
     {
         {1001, DlgItemKind::PushButton, "Top", 10, 10, 80, 24, WS_VISIBLE | BS_PUSHBUTTON},
         {1002, DlgItemKind::PushButton, "Bottom", 500, 360, 80, 24, WS_VISIBLE | BS_PUSHBUTTON},
     }},
};

class ScrollingForm : public CFormView {
public:
    ScrollingForm() : CFormView(9401) {}
};

CPoint ControlAt(CWnd& view, int id) {
    CRect rect;
    view.GetDlgItem(id)->GetWindowRect(&rect);
    view.ScreenToClient(&rect);
    return rect.TopLeft();
}

} // namespace

TEST(FormViewScrolling, AViewSmallerThanItsTemplateScrollsItsControlsIntoReach) {
    CResourceTable::AddDialogs(kForms);
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "host", WS_OVERLAPPEDWINDOW, 0, 0, 700, 500, nullptr, 0, nullptr));
    auto* view = new ScrollingForm; // deletes itself with its window
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &parent, 1, nullptr));

    EXPECT_TRUE(view->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(view->GetStyle() & WS_HSCROLL);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(view->GetScrollInfo(SB_VERT, &si));
    EXPECT_EQ(si.nMax, 399);
    CRect client;
    view->GetClientRect(&client);
    EXPECT_EQ(si.nPage, static_cast<UINT>(client.Height()));

    const CPoint bottom = ControlAt(*view, 1002);
    view->SendMessage(WM_VSCROLL, SB_LINEDOWN, 0); // a line is a tenth of a tenth
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 4);
    view->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 44);
    view->SendMessage(WM_VSCROLL, SB_BOTTOM, 0); // clamped to the last whole page
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 400 - client.Height());
    view->SendMessage(WM_HSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(view->GetScrollPos(SB_HORZ), 600 - client.Width());
    const CPoint moved = ControlAt(*view, 1002);
    EXPECT_EQ(moved.x, bottom.x - (600 - client.Width()));
    EXPECT_EQ(moved.y, bottom.y - (400 - client.Height()));
    EXPECT_LT(moved.y + 24, client.bottom + 1); // now within reach
    view->SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    view->SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(ControlAt(*view, 1001).y, 10);

    // Grown to just the template's size, the bars go and the controls return to their places.
    view->MoveWindow(0, 0, 600, 400);
    EXPECT_FALSE(view->GetStyle() & WS_VSCROLL);
    EXPECT_FALSE(view->GetStyle() & WS_HSCROLL);
    EXPECT_EQ(ControlAt(*view, 1001), CPoint(10, 10));
    parent.DestroyWindow();
}

namespace {

class NamelessApp : public CWinApp {
public:
    BOOL InitInstance() override {
        nameAtStart = AfxGetAppName();
        BeginWaitCursor();
        BeginWaitCursor();
        EndWaitCursor();
        waitAfterOneEnd = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        EndWaitCursor();
        EndWaitCursor(); // one too many does nothing
        waitAfterAll = QApplication::overrideCursor() != nullptr;
        return FALSE;
    }
    std::string nameAtStart;
    bool waitAfterOneEnd = false;
    bool waitAfterAll = true;
};

} // namespace

TEST(ApplicationStart, AnUnnamedApplicationTakesItsTitleStringAndShowsWaitCursorsInPairs) {
    RegisterResourceTables();
    MessageBoxRecorder boxes; // the entry installs the real box; this puts the recorder back afterwards
    NamelessApp app;
    char name[] = "veltrano";
    char* argv[] = {name, nullptr};
    EXPECT_EQ(AfxWinMain(1, argv), 1);
    EXPECT_EQ(app.nameAtStart, "LCD WALL");
    EXPECT_TRUE(app.waitAfterOneEnd);
    EXPECT_FALSE(app.waitAfterAll);
}

// The logo beside the program, in a folder whose name is Chinese: the file system spells it in UTF-8, and the
// program's path arithmetic works on it with backslashes. One character of three UTF-8 bytes ends on a byte that
// a GBK reading would pair with the backslash after it.
TEST(LogoPath, APathBuiltWithBackslashesFindsTheFileInAChineseFolder) {
    TempDir dir;
    const std::string folderName = "\u62FC\u63A5\u5899/\u6D4B"; // two folders deep, the last of one character
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.File(folderName))));
    QImage picture(8, 6, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(dir.File(folderName + "/bmp_logo.bmp")), "BMP"));

    // The program's own arithmetic: its path with backslashes, cut at the last one, the file name appended.
    char szPath[MAX_PATH];
    ZeroMemory(szPath, sizeof szPath);
    ASSERT_GT(GetModuleFileNameA(nullptr, szPath, MAX_PATH), 0u);
    ASSERT_NE(std::strrchr(szPath, '\\'), nullptr);
    std::string folder = dir.File(folderName);
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const std::string logo = folder + "\\bmp_logo.bmp";
    auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, logo.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_GT(GetObject(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 8);
    EXPECT_EQ(info.bmHeight, 6);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadImageA(nullptr, (folder + "\\missing.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);

    // The same folder named in GBK, as a settings file or a dialog would name it, after its one conversion.
    const std::optional<std::string> gbkFolder = Utf8ToGbk(folder);
    ASSERT_TRUE(gbkFolder);
    const std::optional<std::string> local = LocalFilePathFromGbk(*gbkFolder + "\\bmp_logo.bmp");
    ASSERT_TRUE(local);
    auto* again = static_cast<HBITMAP>(LoadImageA(nullptr, local->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    EXPECT_NE(again, nullptr);
    DeleteObject(again);

    // A printed document lands in that folder under its own name.
    CPrinterDC printer;
    ASSERT_TRUE(printer.CreatePdf((folder + "\\\u5899.pdf").c_str()));
    ASSERT_GT(printer.StartDoc("wall"), 0);
    ASSERT_GT(printer.StartPage(), 0);
    printer.EndPage();
    printer.EndDoc();
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.File(folderName + "/\u5899.pdf"))));
}
