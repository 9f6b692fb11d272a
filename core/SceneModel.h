#pragma once

#include "Notify.h"
#include "platform/os/Rect.h"

#include <string>
#include <vector>

class CWallModel;
class CMatrixMgr;

// One matrix switch as it went out, and as a scene stores it.
struct MatrixRecord {
    std::string matrix;
    std::string msg;
    int input = 0;
    int output = 0;
    std::string port;
};

// A scene slot: a name (empty when the slot holds no scene) and the block of units the scene covers.
struct SceneSlot {
    std::string name;
    CRect area{1, 1, 1, 1};
};

// Twenty scene slots, the matrix switches recorded and not yet saved, and the recording switch. Records by
// listening to the matrix manager's "MatrixSet"; raises "SceneNameChange" after a rename reached the file.
class CSceneModel : public CNotify {
public:
    using Position = size_t;
    static constexpr int kMaxScenes = 20;

    explicit CSceneModel(CWallModel* owner);
    ~CSceneModel() override;

    void OnMatrixSet(NotifyEvent* event);
    // 80 when switches are pending and force is FALSE; else recording starts (pending ones stay) and 0.
    int StartRecording(BOOL force);
    int StopRecording();

    // 0, 80, -1 (no such scene, or a switch named something that is gone) or 16. The load keeps the interface
    // waiting at most kLongestActionMs in all: switches it had to cut short for that are told to the operator
    // once, and count as sent.
    int LoadScene(const std::string& name, BOOL force);
    // 0, -1 (no such scene in the slots or in the settings file), 16, or kResultNotSaved when the settings file
    // would go over a limit with the switches (they stay pending; the operator was told).
    int SaveScene(const std::string& name, CRect area);
    // index 0 to 19; 0, -1 (the settings file has no scene of the old name), 64 (no such slot, or a name that
    // is empty or another slot's; the old name stays) or kResultNotSaved (the settings file would go over a limit
    // with the name; the old name stays, and the operator was told).
    int RenameScene(int index, const std::string& name);
    int ChangeSceneName(const std::string& oldName, const std::string& newName);

    int GetMaxScenes() const { return kMaxScenes; }
    // Slots 1 to 20; any other id has no name.
    std::string GetSceneName(int id) const;
    int FindScene(const std::string& name, int& id, CRect& area) const;
    // 0; 64 for an id outside 1 to 20, which changes nothing.
    int SetScene(int id, const std::string& name, CRect area);

    void AppendRecord(const MatrixRecord& record);
    Position GetRecordsBegin() const { return 0; }
    Position GetRecordsEnd() const { return m_records.size(); }
    Position NextRecord(Position position) const { return position + 1; }
    // An empty record at (or past) the end.
    MatrixRecord GetRecord(Position position) const;
    BOOL IsRecording() const { return m_recording; }

private:
    CWallModel* m_owner;
    std::vector<MatrixRecord> m_records;
    BOOL m_recording;
    std::vector<SceneSlot> m_scenes;
    CMatrixMgr* m_matrixMgr;
};
