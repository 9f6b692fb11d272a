#include "PageFixture.h"

#include "ui/wall/LcdGridCtrl.h"

#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/PropertyPage.h"
#include "platform/gui/window/WindowStyles.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

PageHost::PageHost(std::initializer_list<CPropertyPage*> pages) {
    EXPECT_TRUE(window.CreateEx(0, nullptr, "Pages", WS_POPUP | WS_VISIBLE, CRect(40, 40, 1054, 290), nullptr, 0));
    for (CPropertyPage* page : pages)
        sheet.AddPage(page);
    EXPECT_TRUE(sheet.Create(&window, WS_CHILD | WS_VISIBLE, 0));
    sheet.SetWindowPos(nullptr, 4, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.GetHostWidget()));
}

PageHost::~PageHost() {
    sheet.DestroyWindow();
    window.DestroyWindow();
}

void PageHost::Show(CPropertyPage* page) { sheet.SetActivePage(page); }

std::string WithSections(const std::string& settings, const std::string& sections) {
    std::string result = settings;
    result.insert(result.rfind("</SYSTEM>"), sections);
    return result;
}

PageFixture::PageFixture() = default;
PageFixture::~PageFixture() = default;

std::vector<unsigned char> SwitchFrame(int input, int output) {
    return Bytes({0xA5, input, output, 0xA5 ^ input ^ output});
}

std::vector<unsigned char> Join(std::initializer_list<std::vector<unsigned char>> parts) {
    std::vector<unsigned char> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

void PageFixture::TearDown() {
    DestroyPages();
    m_ownView.reset();
    WallFixture::TearDown();
}

void PageFixture::BuildWallWith(const std::string& settings, const std::string& matrices) {
    wall.dir.CopySample("command.xml");
    wall.dir.Write("system.xml", settings);
    wall.dir.Write("matrix.xml", matrices);
    m_ownView = std::make_unique<LcdGridCtrl>(0, 0, 0, 0);
    view = m_ownView.get();
    PublishWallView(view);
    ASSERT_TRUE(view->CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE, CRect(100, 100, 407, 306), nullptr, 0));
    view->Refit();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->GetHostWidget()));
}

QWidget* PageFixture::Widget(CWnd& page, int id) {
    CWnd* item = page.GetDlgItem(id);
    return item ? item->GetHostWidget() : nullptr;
}

std::string PageFixture::Text(CWnd& page, int id) {
    CString text;
    if (CWnd* item = page.GetDlgItem(id))
        item->GetWindowText(text);
    return text.Str();
}

std::vector<std::string> PageFixture::Entries(CWnd& page, int id) {
    std::vector<std::string> entries;
    if (auto* combo = dynamic_cast<CComboBox*>(page.GetDlgItem(id))) {
        for (int i = 0; i < combo->GetCount(); ++i) {
            CString entry;
            combo->GetLBText(i, entry);
            entries.push_back(entry.Str());
        }
    }
    return entries;
}

bool PageFixture::Shown(CWnd& page, int id) { return Widget(page, id) && Widget(page, id)->isVisible(); }
bool PageFixture::Enabled(CWnd& page, int id) { return Widget(page, id) && Widget(page, id)->isEnabled(); }

void PageFixture::Click(CWnd& page, int id) {
    QWidget* widget = Widget(page, id);
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void PageFixture::Choose(CWnd& page, int id, int index) {
    auto* combo = qobject_cast<QComboBox*>(Widget(page, id));
    ASSERT_NE(combo, nullptr);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isVisible(); }));
    const QRect entry = list->visualRect(list->model()->index(index, 0));
    ASSERT_TRUE(entry.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !list->isVisible(); }));
}

void PageFixture::Type(CWnd& page, int id, const char* text) {
    auto* combo = qobject_cast<QComboBox*>(Widget(page, id));
    ASSERT_TRUE(combo && combo->lineEdit());
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
    QTest::keyClicks(combo->lineEdit(), QString::fromUtf8(text));
}
