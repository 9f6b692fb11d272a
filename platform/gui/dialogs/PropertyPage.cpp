#include "PropertyPage.h"

#include "PropertySheet.h"
#include "platform/gui/frame/ResourceTable.h"

#include "platform/os/Gbk.h"

#include "platform/os/RuntimeClass.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_nIDCaption(nIDCaption) {}

CPropertyPage::~CPropertyPage() {
    if (m_pSheet)
        m_pSheet->RemovePage(m_pSheet->GetPageIndex(this));
}

CString CPropertyPage::GetCaption() const {
    CString caption;
    if (m_nIDCaption && AfxLoadString(m_nIDCaption, caption))
        return caption;
    const DlgTemplate* dlgTemplate = CResourceTable::FindDialog(m_nIDTemplate);
    if (dlgTemplate && dlgTemplate->caption)
        return CString(Utf8ToGbk(dlgTemplate->caption).value_or(std::string("?")));
    return CString();
}
