#include "Button.h"

#include "ControlFactory.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/draw/Icon.h"
#include "platform/gui/window/PaintDC.h"
#include "platform/gui/window/WindowRecord.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

namespace {

QAbstractButton* Qbutton(const CWnd* wnd) { return qobject_cast<QAbstractButton*>(wnd->GetHostWidget()); }

DlgItemKind KindOf(DWORD style) {
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return DlgItemKind::CheckBox;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DlgItemKind::RadioButton;
    case BS_GROUPBOX: return DlgItemKind::GroupBox;
    default: return DlgItemKind::PushButton;
    }
}

} // namespace

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = CControlFactory::Create(KindOf(dwStyle), GbkToQString(lpszCaption ? lpszCaption : ""), dwStyle,
                                              rect, pParentWnd->GetHostWidget(), static_cast<int>(nID));
    return SubclassWindow(widget);
}

int CButton::WidgetCheck(const QWidget* widget) {
    auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (!button || !button->isCheckable())
        return BST_UNCHECKED;
    if (auto* box = qobject_cast<const QCheckBox*>(button))
        return box->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE
                                                         : (box->isChecked() ? BST_CHECKED : BST_UNCHECKED);
    return button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetWidgetCheck(QWidget* widget, int nCheck) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || !button->isCheckable())
        return;
    const QSignalBlocker block(button);
    if (auto* box = qobject_cast<QCheckBox*>(button)) {
        box->setCheckState(nCheck == BST_INDETERMINATE ? Qt::PartiallyChecked
                                                       : (nCheck == BST_CHECKED ? Qt::Checked : Qt::Unchecked));
        return;
    }
    // A radio button in an exclusive group can only be cleared with the group's exclusivity lifted.
    QButtonGroup* group = button->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && nCheck != BST_CHECKED)
        group->setExclusive(false);
    button->setChecked(nCheck == BST_CHECKED);
    if (exclusive && nCheck != BST_CHECKED)
        group->setExclusive(true);
}

int CButton::GetCheck() const { return WidgetCheck(GetHostWidget()); }

void CButton::SetCheck(int nCheck) { SetWidgetCheck(GetHostWidget(), nCheck); }

UINT CButton::GetState() const {
    QAbstractButton* button = Qbutton(this);
    if (!button)
        return 0;
    UINT state = static_cast<UINT>(GetCheck());
    if (button->isDown())
        state |= BST_PUSHED;
    if (button->hasFocus())
        state |= BST_FOCUS;
    return state;
}

void CButton::SetState(BOOL bHighlight) {
    if (QAbstractButton* button = Qbutton(this))
        button->setDown(bHighlight != FALSE);
}

UINT CButton::GetButtonType() const { return static_cast<UINT>(GetStyle() & 0xFFFF); }

void CButton::SetButtonType(UINT nStyle, BOOL bRedraw) {
    QWidget* widget = GetHostWidget();
    if (!widget)
        return;
    SetWidgetStyle(widget, (WidgetStyle(widget) & ~0xFFFFu) | (nStyle & 0xFFFF));
    if (auto* push = qobject_cast<QPushButton*>(widget))
        push->setDefault((nStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    if (bRedraw)
        widget->update();
}

HICON CButton::SetIcon(HICON hIcon) {
    HICON previous = m_icon;
    m_icon = hIcon;
    if (QAbstractButton* button = Qbutton(this)) {
        const QImage image = hIcon ? IconImage(hIcon) : QImage();
        button->setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
        if (!image.isNull())
            button->setIconSize(image.size());
    }
    return previous;
}

HICON CButton::GetIcon() const { return m_icon; }

void CButton::DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}

void CButton::OnPaint() {
    QAbstractButton* button = Qbutton(this);
    if (!button || (GetButtonType() & BS_TYPEMASK) != BS_OWNERDRAW) {
        Default();
        return;
    }
    // The parent is asked to draw the button; its default hands the request back to the button's DrawItem.
    CPaintDC dc(this);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID());
    item.itemAction = ODA_DRAWENTIRE;
    if (button->isDown())
        item.itemState |= ODS_SELECTED;
    if (button->hasFocus())
        item.itemState |= ODS_FOCUS;
    if (!button->isEnabled())
        item.itemState |= ODS_DISABLED;
    if (button->isChecked())
        item.itemState |= ODS_CHECKED;
    item.hwndItem = this;
    item.hDC = dc.m_hDC;
    GetClientRect(&item.rcItem);
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    else
        DrawItem(&item);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK: return GetCheck();
    case BM_SETCHECK: SetCheck(static_cast<int>(wParam)); return 0;
    case BM_GETSTATE: return static_cast<LRESULT>(GetState());
    case BM_SETSTATE: SetState(static_cast<BOOL>(wParam)); return 0;
    case BM_SETSTYLE:
        SetButtonType(static_cast<UINT>(wParam), static_cast<BOOL>(LOWORD(static_cast<uint32_t>(lParam))));
        return 0;
    case BM_CLICK:
        if (QAbstractButton* button = Qbutton(this))
            button->click();
        return 0;
    default: return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
