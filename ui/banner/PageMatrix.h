#pragma once

#include "platform/gui/controls/Button.h"
#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/PropertyPage.h"
#include "skin/ShadeButton.h"

#include <memory>

class CCommPortSetting;
class CMatrix;
class CMatrixCtrl;
class CMatrixMgr;
class LcdGridCtrl;
class NotifyEvent;

// The page "Matrix": a matrix, one of its commands and twenty channel buttons paged by twenty; each button switches
// its input to the selected units. The chosen matrix and command are kept in the settings file.
class CPageMatrix : public CPropertyPage {
public:
    static constexpr int kButtonsPerPage = 20;

    // The channel buttons switch the matrix to the selection of the wall view.
    explicit CPageMatrix(LcdGridCtrl* wallView);
    ~CPageMatrix() override;

    // What the controller reads.
    CString GetMatrixName() const;
    CString GetWordName() const;
    BOOL IsIncrease() const;
    // The matrix input that channel button k (1 to 20) stands for on the current page.
    int GetAbsoluteIndex(int button) const;

    // The matrix shown, null while there is none; its current page (1-based) and its number of pages.
    CMatrix* GetCurrentMatrix() const { return m_currentMatrix; }
    int GetCurrentPage() const { return m_currentPage; }
    int GetPageCount() const { return m_pageCount; }

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The operator chose a matrix, or a command: the page shows it, and the settings file keeps the choice. Showing
    // the page, or a matrix again after it changed, writes nothing.
    void OnMatrixChange();
    void OnWordChange();
    void OnOpenPort();
    void OnPrevPage();
    void OnNextPage();
    // "MATRIX-CHANGE": a matrix was edited; its entry is renamed in place and the page shows the choice again.
    void OnMatrixListChange(NotifyEvent* event);

protected:
    // Channel buttons 1 to n take the names of their channels on the current page.
    void RelabelButtons(int n);
    // Channel buttons 1 to n shown and the rest hidden; the paging buttons enabled where there is a page to go to.
    void ShowButtons(int n);

private:
    // Shows the matrix selected in the matrix list, its commands with the one remembered for it, and its first page.
    void ShowMatrix();
    // Shows the format of the command selected.
    void ShowFormat();
    void OnChannel(int button);
    // No matrix to show: page 1 with nothing to switch, page or open.
    void ShowNoMatrix();
    void GoToPage(int page);
    void EnableChannels(bool enable);

    CMatrixMgr* m_matrixMgr;
    std::unique_ptr<CMatrixCtrl> m_ctrl;
    CMatrix* m_currentMatrix;
    CCommPortSetting* m_port;
    int m_pageCount;
    int m_channelCount;
    int m_currentPage;
    BOOL m_setUp;
    CComboBox m_typeCombo;
    CComboBox m_matrixCombo;
    CComboBox m_portCombo;
    CComboBox m_wordCombo;
    CButton m_openPort;
    CShadeButton m_channels[kButtonsPerPage];
};
