#include "SceneModel.h"

#include "ErrorMessage.h"
#include "MatrixMgr.h"
#include "SendBudget.h"
#include "SystemConfig.h"
#include "WallModel.h"

CSceneModel::CSceneModel(CWallModel* owner) : m_owner(owner), m_recording(FALSE), m_matrixMgr(nullptr) {
    m_matrixMgr = CWallModel::GetInstance()->GetMatrixMgr();
    m_scenes.resize(kMaxScenes);
    m_matrixMgr->Register("MatrixSet", this, &CSceneModel::OnMatrixSet);
    m_owner->GetSettings()->LoadScenes(this);
}

CSceneModel::~CSceneModel() {
    if (m_matrixMgr)
        m_matrixMgr->UnregisterAll(this);
}

void CSceneModel::OnMatrixSet(NotifyEvent* event) {
    auto* set = dynamic_cast<MatrixSetEvent*>(event);
    if (!m_recording || !set)
        return;
    MatrixRecord record;
    set->GetFields(record.matrix, record.msg, record.input, record.output, record.port);
    m_records.push_back(record);
}

int CSceneModel::StartRecording(BOOL force) {
    if (!m_records.empty() && !force)
        return kResultScenePending;
    m_recording = TRUE;
    return kResultOk;
}

int CSceneModel::StopRecording() {
    m_recording = FALSE;
    return kResultOk;
}

int CSceneModel::LoadScene(const std::string& name, BOOL force) {
    if (!m_records.empty() && !force)
        return kResultScenePending;
    m_records.clear();

    int id = 0;
    CRect area;
    if (FindScene(name, id, area) != 0)
        return kResultFailed;
    // The load is one action: its frame, its switches and their follow-ups together keep the interface waiting.
    CSendBudget budget(kLongestActionMs - kSendReserveMs);
    int result = m_owner->SendCommand("S-LOAD", &area, id);
    if (result != kResultOk)
        return result;

    m_owner->GetSettings()->LoadMatrixRecords(this, name);
    // Replay a copy: a switch that is recorded while replaying must not grow the list being walked.
    const std::vector<MatrixRecord> replay = m_records;
    for (size_t i = 0; i < replay.size(); ++i) {
        if (budget.Spent()) {
            budget.CutShort(static_cast<int>(replay.size() - i));
            break;
        }
        const MatrixRecord& record = replay[i];
        result = m_matrixMgr->SetMatrix(record.matrix, record.msg, record.input, record.output, &budget);
        if (result != kResultOk)
            break;
    }
    m_records.clear();
    budget.ReportCutShort();
    return result;
}

int CSceneModel::SaveScene(const std::string& name, CRect area) {
    int id = 0;
    CRect slotArea;
    if (FindScene(name, id, slotArea) != 0)
        return kResultFailed;
    // A slot renamed in memory only has no scene in the file to hold the switches: saving it would throw
    // them away while reporting success.
    if (!m_owner->GetSettings()->FindSceneItem(name))
        return kResultFailed;
    const int result = m_owner->SendCommand("S-SAVE", &area, id);
    if (result != kResultOk)
        return result;
    SetScene(id, name, area);
    // Switches the file cannot take stay pending, and the slot as the file has it.
    if (m_owner->GetSettings()->SaveScene(this, name, area.left, area.top, area.right, area.bottom) ==
        kResultNotSaved) {
        SetScene(id, name, slotArea);
        return kResultNotSaved;
    }
    m_records.clear();
    return kResultOk;
}

int CSceneModel::RenameScene(int index, const std::string& name) {
    if (index < 0 || index >= kMaxScenes)
        return kResultInvalidParam;
    // A scene is found and replayed by its name: an empty one, or one another slot has, would make it one
    // that can no longer be told apart.
    if (name.empty())
        return kResultInvalidParam;
    for (int other = 0; other < kMaxScenes; ++other)
        if (other != index && m_scenes[static_cast<size_t>(other)].name == name)
            return kResultInvalidParam;
    SceneSlot& slot = m_scenes[static_cast<size_t>(index)];
    const std::string oldName = slot.name;
    slot.name = name;
    const int result = ChangeSceneName(oldName, name);
    if (result == kResultNotSaved)
        slot.name = oldName;
    return result;
}

int CSceneModel::ChangeSceneName(const std::string& oldName, const std::string& newName) {
    const int result = m_owner->GetSettings()->RenameScene(oldName, newName);
    if (result == 0) {
        SceneNameChangeEvent event("SceneNameChange");
        event.SetNames(oldName, newName);
        Notify(&event);
    }
    return result;
}

std::string CSceneModel::GetSceneName(int id) const {
    if (id < 1 || id > kMaxScenes)
        return std::string();
    return m_scenes[static_cast<size_t>(id - 1)].name;
}

int CSceneModel::FindScene(const std::string& name, int& id, CRect& area) const {
    for (size_t i = 0; i < m_scenes.size(); ++i) {
        if (m_scenes[i].name == name) {
            id = static_cast<int>(i) + 1;
            area = m_scenes[i].area;
            return kResultOk;
        }
    }
    return kResultFailed;
}

int CSceneModel::SetScene(int id, const std::string& name, CRect area) {
    if (id < 1 || id > kMaxScenes)
        return kResultInvalidParam;
    m_scenes[static_cast<size_t>(id - 1)] = SceneSlot{name, area};
    return kResultOk;
}

void CSceneModel::AppendRecord(const MatrixRecord& record) { m_records.push_back(record); }

MatrixRecord CSceneModel::GetRecord(Position position) const {
    return position < m_records.size() ? m_records[position] : MatrixRecord();
}
