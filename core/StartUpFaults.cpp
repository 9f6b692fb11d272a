#include "StartUpFaults.h"

#include "CommandMap.h"
#include "ErrorMessage.h"
#include "MatrixMgr.h"
#include "SystemConfig.h"
#include "WallModel.h"
#include "platform/os/Gbk.h"
#include "platform/os/MessageBox.h"

#include <cstdlib>
#include <optional>
#include <unistd.h>

namespace {

// What the program does without the file, in the operator's terms.
std::string Consequence(const std::string& name) {
    if (name == "command.xml")
        return "Without it, no command can be sent correctly.";
    if (name == "matrix.xml")
        return "No matrix is shown, and changes to the matrices are not saved.";
    return "The default settings are shown, and changes to the settings are not saved.";
}

// The working folder, GBK for the box.
std::string WorkingFolder() {
    std::string folder = ".";
    if (char* cwd = getcwd(nullptr, 0)) {
        folder = cwd;
        std::free(cwd);
    }
    std::optional<std::string> gbk = Utf8ToGbk(folder);
    return gbk ? *gbk : folder;
}

} // namespace

std::vector<ConfigFileState> StartUpFileStates() {
    CWallModel* model = CWallModel::GetInstance();
    return {{"command.xml", CCommandMap::GetInstance()->GetLoadStatus()},
            {"system.xml", model->GetSettings()->GetLoadStatus()},
            {"matrix.xml", model->GetMatrixMgr()->GetLoadStatus()}};
}

std::string StartUpFaultMessage(const std::string& folder, const std::vector<ConfigFileState>& files) {
    std::string faults;
    for (const ConfigFileState& file : files)
        if (file.status.fault != XmlLoadFault::kNone)
            faults += "\n" + file.name + " " + XmlLoadStatusText(file.status) + ". " + Consequence(file.name) + "\n";
    if (faults.empty())
        return {};
    return "Some configuration files in " + folder + " could not be used:\n" + faults +
           "\nThe files are left as they are.";
}

void ReportStartUpFaults() {
    const std::string text = StartUpFaultMessage(WorkingFolder(), StartUpFileStates());
    if (text.empty())
        return;
    TellOperator(text, MB_OK | MB_ICONWARNING);
}
