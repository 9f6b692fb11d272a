#include "skin/IconButton.h"
#include "skin/ShadeButton.h"
#include "tests/skin/ShadeProbe.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/draw/SysColor.h"
#include "platform/gui/frame/ResourceTable.h"
#include "res/ResourceTables.h"

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <map>

namespace {

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
QColor Sys(int index) { return Q(GetSysColor(index)); }

constexpr UINT kDialog = 9802;
constexpr int kText = 1010;
constexpr int kIcon = 1011;
constexpr int kOther = 1012;
constexpr int kDefault = 1013;
constexpr int kCheck = 1014;
const DlgTemplate kButtonDialog[] = {
    {kDialog,
     "Buttons",
     300,
     200,
     WS_POPUP | WS_CAPTION,
     {
         {kText, DlgItemKind::PushButton, "Open", 10, 10, 80, 30, WS_VISIBLE | WS_TABSTOP},
         {kIcon, DlgItemKind::PushButton, "", 100, 10, 40, 30, WS_VISIBLE | WS_TABSTOP},
         {kOther, DlgItemKind::PushButton, "Close", 150, 10, 80, 30, WS_VISIBLE | WS_TABSTOP},
         {kDefault, DlgItemKind::PushButton, "", 10, 60, 80, 30, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
         {kCheck, DlgItemKind::CheckBox, "", 100, 60, 80, 30, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX},
     }},
};

// Where the 16 x 16 icon of the 40 x 30 icon button sits, and a pixel of its dark outline (the left arrow's).
constexpr QPoint kIconAt(12, 7);
constexpr QPoint kOutline(9, 2);
const QColor kOutlineColour(20, 45, 95);

// Counts the clicks its buttons report, as a page's handlers would see them.
class ClickDialog : public CDialog {
public:
    ClickDialog() : CDialog(kDialog) {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (HIWORD(static_cast<uint32_t>(wParam)) == BN_CLICKED)
            ++clicks[LOWORD(static_cast<uint32_t>(wParam))];
        return CDialog::OnCommand(wParam, lParam);
    }
    std::map<int, int> clicks;
};

class Counted : public CShadeButton {
public:
    Counted() { ++alive; }
    ~Counted() override { --alive; }
    static int alive;
};
int Counted::alive = 0;

class IconButtonTest : public testing::Test {
protected:
    void SetUp() override {
        RegisterResourceTables();
        CResourceTable::AddDialogs(kButtonDialog);
        ASSERT_TRUE(m_dialog.Create(kDialog));
    }
    void TearDown() override {
        ResetSysColorsForTest();
        m_dialog.DestroyWindow();
    }

    // The text button and the icon button as the pages set them up.
    void SetUpPageButtons() {
        ASSERT_TRUE(m_text.SubclassDlgItem(kText, &m_dialog));
        m_text.SetFlat(FALSE, TRUE);
        m_text.SetShade(CShadeButton::kVerticalSoftRamp, 8, 10, 0, 0);
        ASSERT_TRUE(m_icon.SubclassDlgItem(kIcon, &m_dialog));
        m_icon.SetIcon(133, 0);
        m_icon.SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
    }
    void Show() {
        m_dialog.ShowWindow(SW_SHOW);
        QWidget* window = m_dialog.GetHostWidget()->window();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        PointAt(m_dialog, QPoint(250, 150)); // away from the buttons
    }
    static QImage Grab(CWnd& wnd) { return wnd.GetHostWidget()->grab().toImage(); }
    // Moves the pointer over a point of a window. A pointer that is there already would report no move, so it
    // steps next to the point first.
    static void PointAt(CWnd& wnd, QPoint pos) {
        QWidget* widget = wnd.GetHostWidget();
        if (QCursor::pos() == widget->mapToGlobal(pos))
            QTest::mouseMove(widget, pos + QPoint(1, 0));
        QTest::mouseMove(widget, pos);
    }
    bool Hovered() { return Grab(m_icon).pixelColor(0, 0) == Sys(COLOR_BTNHIGHLIGHT); }

    ClickDialog m_dialog;
    ShadeProbe m_text;
    ShadeProbe m_icon;
};

} // namespace

TEST_F(IconButtonTest, ATextButtonHasFourBorderLinesAndAShadowFrameWhilePressed) {
    SetUpPageButtons();
    Show();
    QImage image = Grab(m_text);
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(0, b - 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(r - 1, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(r, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.pixelColor(0, b), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.pixelColor(r, b), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(image.pixelColor(1, 1), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(image.pixelColor(r - 2, 1), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(image.pixelColor(r - 1, 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(1, b - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(r - 1, b - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(2, 2), FaceColour(m_text.Normal(), 2, 2));

    m_text.SetState(TRUE);
    image = Grab(m_text);
    for (QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b), QPoint(40, 0), QPoint(0, 15)})
        EXPECT_EQ(image.pixelColor(p), Sys(COLOR_BTNSHADOW)) << p.x() << ", " << p.y();
    EXPECT_EQ(image.pixelColor(1, 1), FaceColour(m_text.Normal(), 1, 1));
    EXPECT_EQ(image.pixelColor(r - 1, b - 1), FaceColour(m_text.Normal(), r - 1, b - 1));
    m_text.SetState(FALSE);

    // A text button is not flat: the mouse over it changes nothing.
    PointAt(m_text, QPoint(20, 20));
    QTest::qWait(50);
    image = Grab(m_text);
    EXPECT_EQ(image.pixelColor(5, 5), FaceColour(m_text.Normal(), 5, 5));
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_BTNHIGHLIGHT));
}

// The bounding box of the caption's ink: pixels much darker than the face around them, inside the border and
// the focus rectangle.
QRect InkBox(const QImage& image) {
    QRect box;
    for (int y = 4; y < image.height() - 4; ++y)
        for (int x = 4; x < image.width() - 4; ++x)
            if (image.pixelColor(x, y).lightness() < 90)
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(IconButtonTest, TheCaptionIsCentredBothWaysWrapsAtWordsAndSinksWhenPressed) {
    SetUpPageButtons();
    Show();
    const QImage image = Grab(m_text);
    const QRect ink = InkBox(image);
    ASSERT_FALSE(ink.isEmpty());
    // Glyphs keep a little space of their own, so the ink is centred to within a pixel or two.
    EXPECT_LE(std::abs((ink.left() + ink.right()) - (image.width() - 1)), 2) << ink.left() << " " << ink.right();
    EXPECT_LE(std::abs((ink.top() + ink.bottom()) - (image.height() - 1)), 4) << ink.top() << " " << ink.bottom();

    m_text.SetState(TRUE);
    EXPECT_EQ(ink.translated(1, 1), InkBox(Grab(m_text)));
    m_text.SetState(FALSE);

    // Too long for one line, the caption breaks between words onto two centred lines.
    m_text.SetWindowText("Open all doors");
    const QImage wrapped = Grab(m_text);
    const QRect two = InkBox(wrapped);
    EXPECT_GT(two.height(), ink.height() + 6);
    EXPECT_LE(std::abs((two.left() + two.right()) - (wrapped.width() - 1)), 2) << two.left() << " " << two.right();
}

TEST_F(IconButtonTest, AFlatIconButtonLightsUpUnderTheMouseAndSinksWhenPressed) {
    SetUpPageButtons();
    Show();
    QImage image = Grab(m_icon);
    const int r = image.width() - 1;
    const int b = image.height() - 1;
    // At rest: the face to the edge, no border, the icon centred.
    EXPECT_EQ(image.pixelColor(0, 0), FaceColour(m_icon.Normal(), 0, 0));
    EXPECT_EQ(image.pixelColor(r, b), FaceColour(m_icon.Normal(), r, b));
    EXPECT_EQ(image.pixelColor(kIconAt + kOutline), kOutlineColour);

    PointAt(m_icon, QPoint(20, 15));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Hovered(); }));
    image = Grab(m_icon);
    EXPECT_EQ(image.pixelColor(r, b), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(r, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(5, 5), FaceColour(m_icon.Highlighted(), 5, 5));
    EXPECT_NE(FaceColour(m_icon.Highlighted(), 5, 5), FaceColour(m_icon.Normal(), 5, 5));
    EXPECT_EQ(image.pixelColor(kIconAt + kOutline), kOutlineColour);

    QTest::mousePress(m_icon.GetHostWidget(), Qt::LeftButton, {}, QPoint(20, 15));
    image = Grab(m_icon);
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(image.pixelColor(r, b), Sys(COLOR_BTNHIGHLIGHT));
    // The lighter face and the icon move one pixel right and down.
    EXPECT_EQ(image.pixelColor(5, 5), FaceColour(m_icon.Highlighted(), 4, 4));
    EXPECT_EQ(image.pixelColor(kIconAt + kOutline + QPoint(1, 1)), kOutlineColour);
    QTest::mouseRelease(m_icon.GetHostWidget(), Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(m_dialog.clicks[kIcon], 1);

    // Leaving it ends the hover look.
    PointAt(m_dialog, QPoint(250, 150));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Hovered(); }));
    EXPECT_EQ(Grab(m_icon).pixelColor(5, 5), FaceColour(m_icon.Normal(), 5, 5));
}

TEST_F(IconButtonTest, NoHoverStartsWhileTheLeftButtonIsHeld) {
    SetUpPageButtons();
    Show();
    PointAt(m_dialog, QPoint(250, 150));
    QTest::mousePress(m_icon.GetHostWidget(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(m_icon.GetHostWidget(), QPoint(20, 15)); // with the button held
    QTest::qWait(50);
    QImage image = Grab(m_icon);
    EXPECT_EQ(image.pixelColor(5, 5), FaceColour(m_icon.Normal(), 5, 5));
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_BTNSHADOW)); // pressed all the same
    QTest::mouseRelease(m_icon.GetHostWidget(), Qt::LeftButton, {}, QPoint(20, 15));

    // Once the button is up, a move over it starts hovering.
    PointAt(m_icon, QPoint(21, 15));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Hovered(); }));
}

TEST_F(IconButtonTest, ADisabledCaptionIsEmbossed) {
    SetUpPageButtons();
    Show();
    // Glyph edges are smoothed, so the caption is told by its shades: across the caption's rows the face stays
    // between these bounds, black text goes below them, and the embossed text above and below.
    auto count = [](const QImage& image, auto test) {
        int n = 0;
        for (int y = 8; y < 22; ++y)
            for (int x = 3; x < image.width() - 3; ++x)
                n += test(image.pixelColor(x, y));
        return n;
    };
    auto dark = [](QColor c) { return c.lightness() < 80; };
    auto grey = [](QColor c) { return c.red() < 160 && c.green() < 160 && c.blue() < 160; };
    auto light = [](QColor c) { return c.red() > 235 && c.green() > 235 && c.blue() > 235; };
    QImage image = Grab(m_text);
    EXPECT_GT(count(image, dark), 5);
    EXPECT_EQ(count(image, light), 0);

    m_text.EnableWindow(FALSE);
    image = Grab(m_text);
    EXPECT_EQ(count(image, dark), 0);
    EXPECT_GT(count(image, grey), 5);
    EXPECT_GT(count(image, light), 5);
    // The icon of a disabled icon button is embossed too.
    m_icon.EnableWindow(FALSE);
    EXPECT_EQ(Grab(m_icon).pixelColor(kIconAt + kOutline), Sys(COLOR_3DSHADOW));
}

TEST_F(IconButtonTest, ADoubleClickIsTwoClicks) {
    SetUpPageButtons();
    Show();
    QWindow* window = m_dialog.GetHostWidget()->window()->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint at = m_icon.GetHostWidget()->mapTo(m_dialog.GetHostWidget()->window(), QPoint(20, 15));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    EXPECT_EQ(m_dialog.clicks[kIcon], 2);
    // The click takes the focus.
    EXPECT_EQ(CWnd::GetFocus(), &m_icon);
}

TEST_F(IconButtonTest, DisablingAButtonPassesTheFocusOnOnlyWhenItHadIt) {
    SetUpPageButtons();
    ShadeProbe other;
    ASSERT_TRUE(other.SubclassDlgItem(kOther, &m_dialog));
    Show();
    m_text.SetFocus();
    ASSERT_EQ(CWnd::GetFocus(), &m_text);
    other.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &m_text);
    m_icon.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &m_text);

    m_text.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), m_dialog.GetDlgItem(kDefault)); // the next one that can take it
}

TEST_F(IconButtonTest, TheDefaultButtonHasABlackFrameUntilItIsMadeAPlainPushButton) {
    CIconButton button;
    ASSERT_TRUE(button.SubclassDlgItem(kDefault, &m_dialog));
    button.SetFlat(FALSE);
    Show();
    EXPECT_EQ(button.GetButtonType() & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    QImage image = Grab(button);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(79, 29), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(1, 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(image.pixelColor(40, 15), Sys(COLOR_BTNFACE));

    button.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(button.GetButtonType() & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_FALSE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    image = Grab(button);
    EXPECT_EQ(image.pixelColor(0, 0), Sys(COLOR_BTNHIGHLIGHT));

    // A change of the system colours takes the button's colours along.
    SetSysColorForTest(COLOR_BTNFACE, RGB(1, 2, 3));
    BroadcastSysColorChange();
    EXPECT_EQ(Grab(button).pixelColor(40, 15), QColor(1, 2, 3));
}

TEST_F(IconButtonTest, ACheckBoxButtonTogglesAndShowsItsStateButASecondSubclassingIsNoCheckBox) {
    CIconButton check;
    ASSERT_TRUE(check.SubclassDlgItem(kCheck, &m_dialog));
    Show();
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    // Checked, it looks pressed: the flat border sinks.
    EXPECT_EQ(Grab(check).pixelColor(0, 0), Sys(COLOR_BTNSHADOW));
    check.SendMessage(BM_SETCHECK, BST_INDETERMINATE);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 1);
    check.SendMessage(BM_SETCHECK, BST_UNCHECKED);
    EXPECT_EQ(check.SendMessage(BM_GETCHECK), 0);

    CIconButton first;
    ASSERT_TRUE(first.SubclassDlgItem(kText, &m_dialog));
    first.UnsubclassWindow();
    CIconButton second;
    ASSERT_TRUE(second.SubclassDlgItem(kText, &m_dialog));
    second.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(second.SendMessage(BM_GETCHECK), 0);
}

TEST_F(IconButtonTest, IconsAreChosenByStateAndAHandleGivenAgainIsKept) {
    ShadeProbe button;
    ASSERT_TRUE(button.SubclassDlgItem(kIcon, &m_dialog));
    EXPECT_EQ(button.SetIcon(9999, 0), 0u); // a missing icon leaves the button without one
    EXPECT_EQ(button.SetIcon(133, CIconButton::kGreyIcon), 0u);
    button.SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
    Show();
    // The grey copy at rest, the icon itself under the mouse.
    const int grey = static_cast<int>(20 * 0.299 + 45 * 0.587 + 95 * 0.114);
    EXPECT_EQ(Grab(button).pixelColor(kIconAt + kOutline), QColor(grey, grey, grey));
    PointAt(button, QPoint(20, 15));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Grab(button).pixelColor(kIconAt + kOutline) == kOutlineColour; }));

    HICON mine = LoadIcon(135);
    HICON copy = CopyIcon(mine);
    EXPECT_EQ(button.SetIconHandles(copy, nullptr), 0u);
    EXPECT_EQ(button.SetIconHandles(copy, nullptr), 0u);
    EXPECT_FALSE(IconImage(copy).isNull());
    EXPECT_EQ(button.SetIconHandles(copy, reinterpret_cast<HICON>(static_cast<intptr_t>(CIconButton::kDarkerIcon))),
              0u);
    // A second icon without a first: the button, which has no image then, does not keep it.
    HICON orphan = CopyIcon(mine);
    EXPECT_EQ(button.SetIconHandles(nullptr, orphan), 0u);
    EXPECT_TRUE(IconImage(orphan).isNull());
    EXPECT_EQ(button.SetIconHandles(nullptr, reinterpret_cast<HICON>(static_cast<intptr_t>(CIconButton::kGreyIcon))),
              0u);

    EXPECT_EQ(CIconButton::DarkenColor(RGB(100, 200, 255), 0.25), RGB(75, 150, 191));
    EXPECT_EQ(CIconButton::DarkenColor(RGB(100, 200, 255), 0.0), RGB(100, 200, 255));
    EXPECT_EQ(CIconButton::DarkenColor(RGB(100, 200, 255), 1.5), RGB(100, 200, 255));
    EXPECT_EQ(CIconButton::DarkenColor(RGB(100, 200, 255), 1.0), RGB(0, 0, 0));
    EXPECT_EQ(CIconButton::CreateDarkerIcon(nullptr), nullptr);
}

TEST_F(IconButtonTest, ButtonsMadeForADialogGoWithIt) {
    Counted::alive = 0;
    ASSERT_NE(CIconButton::SubclassOwned<Counted>(kText, &m_dialog), nullptr);
    Counted* icon = CIconButton::SubclassOwned<Counted>(kIcon, &m_dialog);
    ASSERT_NE(icon, nullptr);
    icon->SetIcon(136, 0);
    icon->SetShade(CShadeButton::kDiagonalSoftRamp, 8, 10, 0, 0);
    EXPECT_EQ(CIconButton::SubclassOwned<Counted>(4242, &m_dialog), nullptr);
    EXPECT_EQ(Counted::alive, 2);
    m_dialog.DestroyWindow();
    EXPECT_EQ(Counted::alive, 0);
}
