#pragma once

#include "ui/forms/SerialFields.h"
#include "ui/wall/WallCtrl.h"

#include "core/WallDefaults.h"

#include <vector>

class CDlgMatrixSetting;
class CMatrixMgr;
class CPageMatrix;

// What the matrix dialog's fields hold when "Set" is pressed.
struct MatrixFields {
    // The matrix the fields were loaded from, by the name it had then.
    CString currentName;
    CString name;
    CString typeText;
    int channelCount = 0;
    // The names of the channel grid's rows from channel 1 on; a channel past them is named "".
    std::vector<CString> channelNames;
    BOOL ownPort = FALSE;
    SerialFields port;
};

// The matrix page's and the matrix dialog's controller: switches matrix inputs to the selected units, and writes
// a matrix's edited settings back.
class CMatrixCtrl : public CWallCtrl {
public:
    // The most channels a matrix may have: every one of them is a row of the matrix dialog's grid.
    static constexpr int kMaxChannelCount = kMaxMatrixChannel;

    CMatrixCtrl(CWallModel* owner, LcdGridCtrl* wallView);

    // Writes the fields into their current matrix and saves it; the manager's result, nothing shown. A name that is
    // empty or another matrix's, or a channel count outside 0 to kMaxChannelCount, is refused with 64 shown and
    // nothing changed; a change that would take "matrix.xml" over one of its limits, with kResultNotSaved after the
    // operator was told which, and nothing changed.
    int ApplySettings(const MatrixFields& fields);
    // Switches the matrix's input to every selected unit through the command, one input further for each unit when
    // increase is set, then sends the matrix's signal command. A command the matrix lacks (none chosen) switches
    // nothing and sends nothing: the operator is told, and 64 returned.
    int SwitchChannel(const CString& matrixName, const CString& wordName, BOOL increase, int input);

    // The same, reading the dialog's fields, or the page's choice and the input of its channel button (1 to 20).
    int ApplySettings(CDlgMatrixSetting* dialog);
    int SwitchChannel(CPageMatrix* page, int button);

private:
    CMatrixMgr* m_matrixMgr;
};
