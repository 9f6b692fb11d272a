#pragma once

#include "ui/banner/MatrixCtrl.h"

#include "grid/GridCtrl.h"
#include "platform/gui/controls/ListCtrl.h"
#include "platform/gui/dialogs/Dialog.h"

#include <memory>
#include <string>

class CChannelTable;
class CMatrix;
class CMatrixMgr;
class NotifyEvent;

// "Matrix Setting": the matrices of "matrix.xml" in a list, and the chosen one's name, type, channel names and serial
// settings in the fields; "Set" writes them back. It follows "MATRIX-CHANGE" while it lives, so its list and fields
// show every saved change.
class CDlgMatrixSetting : public CDialog {
public:
    explicit CDlgMatrixSetting(CWnd* pParent = nullptr);
    ~CDlgMatrixSetting() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The name of the matrix the fields were loaded from, as it was then; empty when none was.
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
    // All of the fields above, the channel names of every row of the grid.
    MatrixFields GetFields() const;

    // One list row per matrix, in the manager's order.
    void FillMatrixList();
    // Columns 1 to 4 of a row: name, type, channel count, whether the matrix has a port of its own.
    void FillMatrixRow(int row, CMatrix* matrix);
    // Shows the first matrix of that name in the fields; nothing changes when there is none.
    void LoadMatrix(const std::string& name);
    void FillChannelGrid(CChannelTable* table);
    // "MATRIX-CHANGE": refreshes the changed matrix's row, found by its old name, and the fields when they show it.
    void OnMatrixListChange(NotifyEvent* event);

    // The channel names: a fixed heading row and column, the names in column 1.
    CGridCtrl m_grid;
    CListCtrl m_list;

private:
    void OnListItemChanged(NMHDR* header, LRESULT* result);
    void EnableSerialCombos(bool enable);

    CMatrixMgr* m_matrixMgr;
    CMatrix* m_currentMatrix = nullptr;
    std::string m_currentMatrixName;
    std::unique_ptr<CMatrixCtrl> m_ctrl;
};
