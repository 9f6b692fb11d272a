#include "MatrixCtrl.h"

#include "core/CommPort.h"
#include "core/ErrorMessage.h"
#include "core/LcdWallLayout.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/SendBudget.h"
#include "core/WallModel.h"
#include "platform/gui/window/WaitCursor.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Pause.h"

#include <memory>
#include <optional>

namespace {

// The matrices settle before the units are told which signal they now carry.
constexpr DWORD kSettleMilliseconds = 1000;

// Gives the matrix what the dialog's fields hold; the channel count is within bounds.
void SetFields(CMatrix* matrix, const MatrixFields& fields) {
    if (fields.ownPort) {
        auto port = std::make_unique<CCommPortSetting>();
        port->SetSettings(fields.port.portName, fields.port.baudRate, fields.port.dataBits,
                          StringToStopBits(fields.port.stopBits), fields.port.parity);
        matrix->SetPort(TRUE, port.release());
    } else {
        matrix->SetPort(FALSE, nullptr);
    }
    matrix->SetName(fields.name);
    matrix->SetSignalType(ParseSignalType(fields.typeText));
    if (!matrix->GetChannelTable())
        matrix->SetChannelTable(std::make_unique<CChannelTable>());
    CChannelTable* channels = matrix->GetChannelTable();
    channels->SetCount(fields.channelCount);
    for (int i = 1; i <= fields.channelCount; ++i)
        channels->SetName(i, static_cast<size_t>(i) <= fields.channelNames.size() ? fields.channelNames[i - 1]
                                                                                  : CString());
}

} // namespace

CMatrixCtrl::CMatrixCtrl(CWallModel* owner, LcdGridCtrl* wallView)
    : CWallCtrl(owner, wallView), m_matrixMgr(owner->GetMatrixMgr()) {}

int CMatrixCtrl::ApplySettings(const MatrixFields& fields) {
    CMatrix* matrix = m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(fields.currentName));
    // A dialog that shows no matrix has nothing to write.
    if (!matrix)
        return kResultFailed;
    // Everything finds a matrix by its name (the list, the matrix page, the scenes): a name that is empty or taken
    // would lose it. A count beyond what a list can show is a typing slip.
    const std::string newName = fields.name;
    CMatrix* namesake = m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(newName));
    const int count = fields.channelCount;
    if (newName.empty() || (namesake && namesake != matrix) || count < 0 || count > kMaxChannelCount)
        return ShowErrorMessage(kResultInvalidParam, "");

    // The file must take the change before the matrix does: a change over one of its limits leaves the matrix, its
    // port and the dialog's fields as they were.
    CMatrix staged(newName, 0);
    SetFields(&staged, fields);
    const std::string oldName = matrix->GetName();
    if (!m_matrixMgr->TakesMatrix(oldName, &staged))
        return kResultNotSaved;
    SetFields(matrix, fields);
    return m_matrixMgr->SaveMatrix(oldName, matrix);
}

int CMatrixCtrl::SwitchChannel(const CString& matrixName, const CString& wordName, BOOL increase, int input) {
    RECT area;
    if (!SelectionArea(area))
        return ShowErrorMessage(kResultNoUnit, "");

    // Without a command nothing would reach the matrix: the units keep their signal, and the operator learns why.
    const CMatrix* chosen = m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(matrixName));
    if (chosen && chosen->FindMessage(wordName) == chosen->MessagesEnd()) {
        TellOperator("No command is chosen under \"word\" for the matrix \"" + matrixName.Str() +
                         "\": nothing was switched.",
                     MB_OK | MB_ICONWARNING);
        return kResultInvalidParam;
    }

    std::optional<CWaitCursor> wait(std::in_place);
    CLcdWallLayout* layout = m_owner->GetLcdWallLayout();
    // The click is one action: every unit's switch with its follow-ups, the settling and the signal together keep
    // the interface waiting at most kLongestActionMs.
    CSendBudget budget(kLongestActionMs - kSettleMilliseconds - kSendReserveMs);
    const LONG columns = area.bottom - area.top + 1;
    const int units = static_cast<int>((area.right - area.left + 1) * columns);
    // Row by row, and within a row column by column; the first failure ends the run there.
    for (int unit = 0; unit < units; ++unit) {
        if (budget.Spent()) {
            budget.CutShort(units - unit);
            break;
        }
        const int row = static_cast<int>(area.left + unit / columns);
        const int col = static_cast<int>(area.top + unit % columns);
        const int result = m_matrixMgr->SetMatrix(matrixName, wordName, input, layout->GetOutput(row, col), &budget);
        if (result != kResultOk) {
            wait.reset();
            budget.ReportCutShort();
            return ShowErrorMessage(result, "");
        }
        if (increase)
            ++input;
    }

    Sleep(kSettleMilliseconds);
    std::string type;
    std::string growType;
    if (CMatrix* matrix = m_matrixMgr->GetAt(m_matrixMgr->FindMatrix(matrixName)))
        matrix->GetSignal(type, growType);
    const std::string& signal = increase ? growType : type;
    // A matrix without a signal command has nothing to tell the units: an empty name would go out as code 0.
    const int result = signal.empty() ? kResultOk : m_owner->SendCommand(signal, &area, 0);
    wait.reset();
    budget.ReportCutShort();
    return ShowErrorMessage(result, "");
}
