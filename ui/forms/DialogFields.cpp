#include "DialogFields.h"

#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/window/Wnd.h"

#include <cstdlib>

namespace {

CWnd* Item(const CWnd* dialog, int id) { return dialog && dialog->GetSafeHwnd() ? dialog->GetDlgItem(id) : nullptr; }

} // namespace

CString ItemText(const CWnd* dialog, int id) {
    CString text;
    if (CWnd* item = Item(dialog, id))
        item->GetWindowText(text);
    return text;
}

CString Number(int value) {
    CString text;
    text.Format("%d", value);
    return text;
}

int ItemNumber(const CWnd* dialog, int id) { return std::atoi(ItemText(dialog, id)); }

int ComboSelection(const CWnd* dialog, int id) {
    auto* combo = dynamic_cast<CComboBox*>(Item(dialog, id));
    return combo ? combo->GetCurSel() : -1;
}

bool IsItemChecked(const CWnd* dialog, int id) {
    CWnd* item = Item(dialog, id);
    return item && CButton::WidgetCheck(item->GetHostWidget()) == static_cast<int>(BST_CHECKED);
}

void EnableItem(CWnd* dialog, int id, bool enable) {
    if (CWnd* item = Item(dialog, id))
        item->EnableWindow(enable ? TRUE : FALSE);
}

CComboBox* ComboItem(const CWnd* dialog, int id) { return dynamic_cast<CComboBox*>(Item(dialog, id)); }

void SelectItemPrefix(const CWnd* dialog, int id, const CString& text) {
    if (CComboBox* combo = ComboItem(dialog, id))
        combo->SelectString(-1, text);
}
