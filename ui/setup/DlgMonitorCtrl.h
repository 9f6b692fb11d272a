#pragma once

#include "ui/forms/SerialFields.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/draw/Font.h"

#include <memory>

class CMonitorCtrl;
class CMonitorModel;

// The monitor remote: drives single monitors, or a range of monitor addresses, over a port of its own. Each dialog
// has its own model and port, which close with it; the settings that opened the port are stored and preselected
// the next time.
class CDlgMonitorCtrl : public CDialog {
public:
    explicit CDlgMonitorCtrl(CWnd* pParent = nullptr);
    ~CDlgMonitorCtrl() override;

    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) override;
    void OnPaint() override;

    CString GetPortName() const;
    int GetBaudRate() const;
    int GetDataBits() const;
    // "1", "1.5" or "2".
    CString GetStopBits() const;
    int GetParityIndex() const;
    // TRUE while "单一" (one address) is chosen; otherwise the range applies.
    BOOL IsSingleAddress() const;
    int GetSingleAddress() const;
    void GetAddressRange(int* first, int* last) const;
    // The five serial settings together.
    SerialFields GetSerialFields() const;
    // The one address as first and last, or the range.
    void GetAddresses(int* first, int* last) const;
    // With the port open the command buttons and "close" work and the serial settings and "open" do not.
    void EnableControls(BOOL portOpen);

private:
    void OnOpen();
    void OnClose();
    void OnCommandButton(int code);
    void SkinButtons();
    void FillCombos();
    void SelectStoredSettings();

    std::unique_ptr<CMonitorModel> m_model;
    std::unique_ptr<CMonitorCtrl> m_ctrl;
    CFont m_titleFont;
};
