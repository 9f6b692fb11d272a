#include "ComboBox.h"

#include "ControlFactory.h"
#include "platform/gui/base/GbkString.h"

#include <QComboBox>
#include <QLineEdit>

#include <cstring>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

namespace {

QComboBox* Combo(const CWnd* wnd) { return qobject_cast<QComboBox*>(wnd->GetHostWidget()); }

std::string GbkOf(LPCTSTR text) { return text ? std::string(text) : std::string(); }

std::string EntryBytes(const QComboBox* combo, int index) {
    const QVariant bytes = combo->itemData(index, Qt::UserRole);
    if (bytes.isValid())
        return bytes.toByteArray().toStdString();
    return QStringToGbk(combo->itemText(index)).value_or(std::string());
}

// The platform's search order: from the entry after the start to the end, then from the top.
template <class Match> int Search(const QComboBox* combo, int startAfter, Match match) {
    const int count = combo->count();
    if (count == 0)
        return CB_ERR;
    if (startAfter < -1 || startAfter >= count)
        startAfter = -1;
    for (int k = 0; k < count; ++k) {
        const int index = (startAfter + 1 + k) % count;
        // An entry cut for the list is found by its whole text.
        const QString shown = combo->itemText(index);
        if (match(shown.size() > kMaxLabelChars ? GbkToQString(EntryBytes(combo, index)) : shown))
            return index;
    }
    return CB_ERR;
}

} // namespace

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = CControlFactory::Create(DlgItemKind::ComboBox, QString(), dwStyle, rect,
                                              pParentWnd->GetHostWidget(), static_cast<int>(nID));
    return SubclassWindow(widget);
}

int CComboBox::GetCount() const {
    QComboBox* combo = Combo(this);
    return combo ? combo->count() : CB_ERR;
}

int CComboBox::AddString(LPCTSTR lpszString) { return InsertString(-1, lpszString); }

int CComboBox::InsertString(int nIndex, LPCTSTR lpszString) {
    QComboBox* combo = Combo(this);
    if (!combo || nIndex < -1 || nIndex > combo->count())
        return CB_ERR;
    const int index = nIndex == -1 ? combo->count() : nIndex;
    const std::string bytes = GbkOf(lpszString);
    // Qt selects the first entry of an empty list and rewrites the edit field; the platform does neither.
    const int selected = combo->currentIndex();
    const QString edited = combo->isEditable() ? combo->lineEdit()->text() : QString();
    const QSignalBlocker block(combo);
    combo->insertItem(index, ShownText(bytes, kMaxLabelChars),
                      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    combo->setCurrentIndex(selected >= index && selected >= 0 ? selected + 1 : selected);
    if (combo->isEditable())
        combo->lineEdit()->setText(edited);
    return index;
}

int CComboBox::DeleteString(UINT nIndex) {
    QComboBox* combo = Combo(this);
    if (!combo || static_cast<int>(nIndex) >= combo->count())
        return CB_ERR;
    const int index = static_cast<int>(nIndex);
    const int selected = combo->currentIndex();
    const QString edited = combo->isEditable() ? combo->lineEdit()->text() : QString();
    const QSignalBlocker block(combo);
    combo->removeItem(index);
    // Deleting the selected entry leaves nothing selected; entries after it move up.
    combo->setCurrentIndex(selected == index ? -1 : (selected > index ? selected - 1 : selected));
    if (combo->isEditable())
        combo->lineEdit()->setText(edited);
    return combo->count();
}

void CComboBox::ResetContent() {
    QComboBox* combo = Combo(this);
    if (!combo)
        return;
    const QSignalBlocker block(combo);
    combo->clear();
    if (combo->isEditable())
        combo->lineEdit()->clear();
}

int CComboBox::GetCurSel() const {
    QComboBox* combo = Combo(this);
    return combo ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int nSelect) {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QSignalBlocker block(combo);
    if (nSelect < 0 || nSelect >= combo->count()) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable())
            combo->lineEdit()->clear();
        return CB_ERR;
    }
    combo->setCurrentIndex(nSelect);
    return nSelect;
}

int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    QComboBox* combo = Combo(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return CB_ERR;
    const std::string bytes = EntryBytes(combo, nIndex);
    if (lpszText)
        std::memcpy(lpszText, bytes.c_str(), bytes.size() + 1);
    return static_cast<int>(bytes.size());
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    QComboBox* combo = Combo(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        rString.Empty();
    else
        rString = EntryBytes(combo, nIndex);
}

int CComboBox::GetLBTextLen(int nIndex) const {
    QComboBox* combo = Combo(this);
    if (!combo || nIndex < 0 || nIndex >= combo->count())
        return CB_ERR;
    return static_cast<int>(EntryBytes(combo, nIndex).size());
}

int CComboBox::FindString(int nStartAfter, LPCTSTR lpszString) const {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QString prefix = GbkToQString(GbkOf(lpszString));
    return Search(combo, nStartAfter,
                  [&](const QString& entry) { return entry.startsWith(prefix, Qt::CaseInsensitive); });
}

int CComboBox::FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    QComboBox* combo = Combo(this);
    if (!combo)
        return CB_ERR;
    const QString text = GbkToQString(GbkOf(lpszFind));
    return Search(combo, nIndexStart,
                  [&](const QString& entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
}

int CComboBox::SelectString(int nStartAfter, LPCTSTR lpszString) {
    const int index = FindString(nStartAfter, lpszString);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}
