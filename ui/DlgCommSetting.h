#pragma once

#include "platform/gui/Dialog.h"

// "Serial port config": the wall port's five settings. What its controller reads of it.
class CDlgCommSetting : public CDialog {
public:
    explicit CDlgCommSetting(CWnd* pParent = nullptr);
    ~CDlgCommSetting() override;

    CString GetPortName() const;
    int GetBaudRate() const;
    int GetDataBits() const;
    int GetParityIndex() const;
    // "1", "1.5" or "2".
    CString GetStopBits() const;
};
