#pragma once

#include "WallCtrl.h"

class CDlgMatrixSetting;
class CMatrixMgr;
class CPageMatrix;

// The matrix page's and the matrix dialog's controller: switches matrix inputs to the selected units, and writes
// a matrix's edited settings back.
class CMatrixCtrl : public CWallCtrl {
public:
    // The most channels a matrix may have: every one of them is a row of the matrix dialog's grid.
    static constexpr int kMaxChannelCount = 9999;

    explicit CMatrixCtrl(CWallModel* owner);

    // Writes the dialog's fields into its current matrix and saves it; the manager's result, nothing shown. A name
    // that is empty or another matrix's, or a channel count outside 0 to kMaxChannelCount, is refused with 64
    // shown and nothing changed.
    int ApplySettings(CDlgMatrixSetting* dialog);
    // Switches the page's input (button 1 to 20) to every selected unit, then sends the matrix's signal command.
    int SwitchChannel(CPageMatrix* page, int button);

private:
    CMatrixMgr* m_matrixMgr;
};
