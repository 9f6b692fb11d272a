#include "platform/gui/draw/Font.h"
#include "platform/gui/frame/Registry.h"
#include "platform/gui/window/Cursor.h"
#include "platform/gui/window/QtMessageBox.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/gui/window/SystemParameters.h"
#include "platform/gui/window/WaitCursor.h"
#include "platform/gui/window/Wnd.h"

#include "core/ErrorMessage.h"
#include "platform/os/MessageBox.h"
#include "tests/support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Points the registry at a fresh file for the test's lifetime.
class ScopedRegistry {
public:
    ScopedRegistry() { SetRegistryFile(m_dir.Path() + "/registry.ini"); }
    ~ScopedRegistry() { SetRegistryFile(""); }

private:
    TempDir m_dir;
};

} // namespace

TEST(SystemMetrics, ScreenComesFromTheSeamAndFullScreenLeavesOutTheCaption) {
    ScreenMetricsHandler previous = SetScreenMetricsHandler([] {
        return ScreenMetrics{CRect(0, 0, 1280, 1024), CRect(0, 0, 1280, 984)};
    });
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 984 - GetSystemMetrics(SM_CYCAPTION));
    RECT work{};
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(CRect(work), CRect(0, 0, 1280, 984));
    SetScreenMetricsHandler(previous);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
}

TEST(SystemParameters, AnswersWhatTheControlsReadAndRefusesTheRest) {
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = 340;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0));
    EXPECT_LT(metrics.lfMessageFont.lfHeight, 0); // a character height in pixels
    EXPECT_GT(std::strlen(metrics.lfMessageFont.lfFaceName), 0u);
    // The message font is the application font itself, not a second font Qt would look up and load.
    EXPECT_EQ(QFontFromLogFont(metrics.lfMessageFont).families(), QGuiApplication::font().families());
    metrics.cbSize = 100;
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 100, &metrics, 0));

    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, static_cast<UINT>(QApplication::wheelScrollLines()));
    BOOL cues = FALSE;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, &cues, 0));
    EXPECT_TRUE(cues);
    EXPECT_FALSE(SystemParametersInfo(0xFFFF, 0, &cues, 0));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETKEYBOARDCUES, 0, nullptr, 0));
    EXPECT_EQ(GetDoubleClickTime(), static_cast<UINT>(QApplication::doubleClickInterval()));
}

TEST(Registry, ThemeAndDesktopKeysAreAbsent) {
    ScopedRegistry registry;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key),
              ERROR_FILE_NOT_FOUND);
}

TEST(Registry, ValuesWrittenAreReadBackWithTheirTypeAndSizeRulesIgnoringCase) {
    ScopedRegistry registry;
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Veltrano\\Recent File List", 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const char text[] = "\xC7\xBD\xC3\xE6.xml"; // GBK bytes stay as given
    ASSERT_EQ(RegSetValueEx(key, "File1", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), 8), ERROR_SUCCESS);
    const DWORD number = 0x01020304;
    ASSERT_EQ(RegSetValueEx(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\veltrano\\recent file list", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    ASSERT_EQ(RegQueryValueEx(key, "file1", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 9u); // the terminating zero counts
    char small[4];
    DWORD smallSize = sizeof(small);
    EXPECT_EQ(RegQueryValueEx(key, "File1", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &smallSize),
              ERROR_MORE_DATA);
    EXPECT_EQ(smallSize, 9u);
    char buffer[128] = {};
    DWORD bufferSize = sizeof(buffer);
    ASSERT_EQ(RegQueryValueEx(key, "File1", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bufferSize),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, text);
    DWORD read = 0, readSize = sizeof(read);
    ASSERT_EQ(RegQueryValueEx(key, "Count", nullptr, &type, reinterpret_cast<BYTE*>(&read), &readSize), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(read, number);
    EXPECT_EQ(RegDeleteValue(key, "Count"), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueEx(key, "Count", nullptr, nullptr, nullptr, &readSize), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);

    // A parent of a created key exists too; a made-up handle is refused.
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Software\\Veltrano", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(RegOpenKeyEx(reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234)), "x", 0, KEY_READ, &key),
              ERROR_INVALID_HANDLE);
}

TEST(MessageBox, RealBoxShowsTheGbkTextWithItsIconAndReturnsTheButtonChosen) {
    MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
    InstallQtMessageBox();
    QString shownText;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    int buttonCount = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            ADD_FAILURE() << "no message box shown";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        shownText = box->text();
        shownIcon = box->icon();
        buttonCount = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::Cancel)->click();
    });
    const int answer = AfxMessageBox("\xB4\xED\xCE\xF3", MB_OKCANCEL | MB_ICONQUESTION); // "错误"
    EXPECT_EQ(answer, IDCANCEL);
    EXPECT_EQ(shownText, QString::fromUtf8("\xE9\x94\x99\xE8\xAF\xAF"));
    EXPECT_EQ(shownIcon, QMessageBox::Question);
    EXPECT_EQ(buttonCount, 2);

    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(AfxMessageBox("x", MB_ICONERROR), IDOK);
    SetMessageBoxHandler(previous);
}

TEST(MessageBox, CoreResultMessageShowsInTheRealBox) {
    MessageBoxHandler previous = SetMessageBoxHandler(nullptr);
    InstallQtMessageBox();
    QString shownText;
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownText = box->text();
            shownIcon = box->icon();
            box->button(QMessageBox::Ok)->click();
        } else if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    });
    EXPECT_EQ(ShowErrorMessage(kResultNoUnit, ""), kResultNoUnit);
    EXPECT_EQ(shownText, QString::fromUtf8("Please choose panel\xEF\xBC\x81"));
    EXPECT_EQ(shownIcon, QMessageBox::Warning);
    SetMessageBoxHandler(previous);
}

TEST(WaitCursor, ShowsTheWaitCursorWhileItLivesAndNests) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        CWaitCursor outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            CWaitCursor inner;
            QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
            inner.Restore();
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(CursorPosition, SeamGivesThePositionAndTheClipBoundsIt) {
    CursorPosHandler previous = SetCursorPosHandler([] { return POINT{500, 40}; });
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(CPoint(p), CPoint(500, 40));
    CRect clip(0, 0, 100, 100);
    ClipCursor(&clip);
    GetCursorPos(&p);
    EXPECT_EQ(CPoint(p), CPoint(99, 40));
    RECT got{};
    GetClipCursor(&got);
    EXPECT_EQ(CRect(got), clip);
    ClipCursor(nullptr);
    GetCursorPos(&p);
    EXPECT_EQ(CPoint(p), CPoint(500, 40));
    SetCursorPosHandler(previous);
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST(SysColorChange, BroadcastReachesEveryWindowOnce) {
    struct Counting : CWnd {
        int changes = 0;
        void OnSysColorChange() override { ++changes; }
    };
    Counting top, child;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &top, 1));
    BroadcastSysColorChange();
    EXPECT_EQ(top.changes, 1);
    EXPECT_EQ(child.changes, 1);
}
