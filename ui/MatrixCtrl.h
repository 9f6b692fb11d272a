#pragma once

#include "WallCtrl.h"

class CDlgMatrixSetting;
class CMatrixMgr;
class CPageMatrix;

// The matrix page's and the matrix dialog's controller: switches matrix inputs to the selected units, and writes
// a matrix's edited settings back.
class CMatrixCtrl : public CWallCtrl {
public:
    explicit CMatrixCtrl(CWallModel* owner);

    // Writes the dialog's fields into its current matrix and saves it; the manager's result, nothing shown.
    int ApplySettings(CDlgMatrixSetting* dialog);
    // Switches the page's input (button 1 to 20) to every selected unit, then sends the matrix's signal command.
    int SwitchChannel(CPageMatrix* page, int button);

private:
    CMatrixMgr* m_matrixMgr;
};
