#pragma once

#include "grid/GridCtrl.h"
#include "platform/gui/Dialog.h"

// "Matrix Setting": one matrix's name, type, channel names and serial settings. What its controller reads of it.
class CDlgMatrixSetting : public CDialog {
public:
    explicit CDlgMatrixSetting(CWnd* pParent = nullptr);
    ~CDlgMatrixSetting() override;

    // The name of the matrix the fields were loaded from; empty when none was.
    CString GetCurrentMatrixName() const { return m_currentMatrixName; }
    CString GetMatrixName() const;
    CString GetMatrixTypeText() const;
    int GetChannelCount() const;
    // The name in row i of the channel grid; empty when the row does not exist.
    CString GetChannelName(int i) const;
    BOOL UseIndependentPort() const;
    CString GetPortName() const;
    int GetBaudRate() const;
    int GetDataBits() const;
    CString GetStopBits() const;
    int GetParityIndex() const;

    // The channel names: a fixed heading row and column, the names in column 1.
    CGridCtrl m_grid;

protected:
    CString m_currentMatrixName;
};
