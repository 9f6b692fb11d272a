#pragma once

#include "Dialog.h"

class CPropertySheet;

// One page of a property sheet: a child dialog on its own template, built the first time the sheet shows it.
// Its caption (the template's, or the string nIDCaption) is its tab's text.
class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    ~CPropertyPage() override;

    CString GetCaption() const; // GBK
    CPropertySheet* GetSheet() const { return m_pSheet; }

    // A page is no dialog of its own: its IDOK and IDCANCEL end nothing (the page would only vanish from its
    // tab).
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class CPropertySheet;
    UINT m_nIDCaption;
    CPropertySheet* m_pSheet = nullptr;
};
