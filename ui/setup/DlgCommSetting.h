#pragma once

#include "ui/forms/SerialFields.h"

#include "platform/gui/controls/ComboBox.h"
#include "platform/gui/dialogs/Dialog.h"

#include <memory>

class CCommSettingCtrl;

// "Serial port config": the wall port's five settings, shown as stored and stored again on "OK". The new settings
// take effect at the port's next opening; while the port is open the dialog refuses to open at all.
class CDlgCommSetting : public CDialog {
public:
    explicit CDlgCommSetting(CWnd* pParent = nullptr);
    ~CDlgCommSetting() override;

    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CString GetPortName() const;
    int GetBaudRate() const;
    int GetDataBits() const;
    int GetParityIndex() const;
    // "1", "1.5" or "2".
    CString GetStopBits() const;
    // The five fields together.
    SerialFields GetSerialFields() const;

private:
    std::unique_ptr<CCommSettingCtrl> m_ctrl;
    CComboBox m_portCombo;
    CComboBox m_baudCombo;
    CComboBox m_dataBitsCombo;
    CComboBox m_stopBitsCombo;
    CComboBox m_parityCombo;
};
