#include "Static.h"

#include "ControlFactory.h"
#include "platform/gui/base/GbkString.h"
#include "platform/gui/draw/Icon.h"

#include <QLabel>
#include <QPixmap>

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!pParentWnd || !pParentWnd->GetHostWidget())
        return FALSE;
    QWidget* widget = CControlFactory::Create(DlgItemKind::Static, GbkToQString(lpszText ? lpszText : ""), dwStyle,
                                              rect, pParentWnd->GetHostWidget(), static_cast<int>(nID));
    return SubclassWindow(widget);
}

HICON CStatic::SetIcon(HICON hIcon) {
    HICON previous = m_icon;
    m_icon = hIcon;
    if (auto* label = qobject_cast<QLabel*>(GetHostWidget())) {
        if (hIcon)
            label->setPixmap(QPixmap::fromImage(IconImage(hIcon)));
        else
            label->clear();
    }
    return previous;
}
