#pragma once

#include "platform/gui/Dialog.h"

// The monitor-remote dialog: its port settings, the address choice and the command buttons. What its
// controller reads of it and sets on it.
class CDlgMonitorCtrl : public CDialog {
public:
    explicit CDlgMonitorCtrl(CWnd* pParent = nullptr);
    ~CDlgMonitorCtrl() override;

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
    // With the port open the command buttons and "close" work and the serial settings and "open" do not.
    void EnableControls(BOOL portOpen);
};
