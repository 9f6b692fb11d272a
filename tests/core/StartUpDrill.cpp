#include "StartUpDrill.h"

#include "core/CommPort.h"
#include "core/FrameEffect.h"
#include "core/LcdWallLayout.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/MonitorModel.h"
#include "core/SceneModel.h"
#include "core/SystemConfig.h"
#include "core/WallModel.h"
#include "core/XmlLoad.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Pause.h"
#include "platform/os/PortDirectory.h"
#include "tests/support/Pty.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <tinyxml.h>
#include <unistd.h>
#include <vector>

namespace {

// The longest chain the engine sends (32 messages of at most 128 bytes) and its pauses.
constexpr size_t kMostBytesOfOneSwitch = 32 * 128;
constexpr DWORD kLongestPause = 10000;
constexpr DWORD kLongestChainOfPauses = 30000;
// How many matrices, and messages of each, are switched: enough for every kind the samples hold.
constexpr size_t kMatricesTried = 8;
constexpr size_t kMessagesTried = 6;
constexpr int kChecksTold = 5;

class Drill {
public:
    explicit Drill(const std::string& folder) : m_folder(folder) {}
    int Run();

private:
    void Check(bool condition, const std::string& what) {
        if (condition)
            return;
        // The first few tell what broke; a hostile file can break one check a thousand times.
        if (++m_failures <= kChecksTold)
            std::fprintf(stderr, "drill in %s: %s\n", m_folder.c_str(), what.c_str());
    }
    void CheckResult(int result, std::initializer_list<int> allowed, const std::string& what) {
        Check(std::find(allowed.begin(), allowed.end(), result) != allowed.end(),
              what + " gave " + std::to_string(result));
    }
    void PrepareFolder();
    void LinkPort(const std::string& name);
    // Opens the port as the operator's "Open" does; only a line of this drill may open.
    void Open(CCommPortSetting* port);
    // Reads what arrived on every line, so that the lines never fill; counts it in m_drained.
    void Drain();
    void CheckStartValues();
    void SendWallCommands();
    void SwitchMatrices();
    void WorkScenes();
    void WriteSettingsBack();
    void CheckFilesAfterwards();

    std::string m_folder;
    int m_failures = 0;
    std::vector<std::unique_ptr<Pty>> m_lines;
    std::set<std::string> m_linked;
    DWORD m_chainPause = 0;
    size_t m_drained = 0;
    std::string m_originalSystem;
    std::string m_originalMatrix;
    bool m_systemWasWhole = false;
    bool m_matrixWasWhole = false;

    CWallModel* m_model = nullptr;
    CLcdWallLayout* m_layout = nullptr;
    CMatrixMgr* m_matrices = nullptr;
    CSceneModel* m_scenes = nullptr;
    CFrameEffect* m_effect = nullptr;
    std::unique_ptr<CMonitorModel> m_monitor;
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool LoadsWhole(const std::string& path) {
    TiXmlDocument doc;
    return LoadXmlFile(doc, path);
}

long long FileSize(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void Drill::PrepareFolder() {
    const std::string ports = m_folder + "/ports";
    mkdir(ports.c_str(), 0755);
    setenv("VELTRANO_PORT_DIR", ports.c_str(), 1);

    const std::string system = m_folder + "/system.xml";
    const std::string matrix = m_folder + "/matrix.xml";
    m_systemWasWhole = LoadsWhole(system);
    m_matrixWasWhole = LoadsWhole(matrix);
    // A file too large to read is compared by size only.
    m_originalSystem = FileSize(system) <= kMaxXmlFileBytes ? ReadFile(system) : std::string();
    m_originalMatrix = FileSize(matrix) <= kMaxXmlFileBytes ? ReadFile(matrix) : std::string();
}

// "COM1" to "COM255", spelled plainly: the names that are ports.
bool IsPortName(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 || name[3] == '0')
        return false;
    for (size_t i = 3; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9')
            return false;
    return std::stoi(name.substr(3)) <= 255;
}

// Gives a port name a pseudo-terminal of its own, when it names a port at all.
void Drill::LinkPort(const std::string& name) {
    if (m_linked.count(name) || m_lines.size() >= 6 || !IsPortName(name))
        return;
    m_linked.insert(name);
    m_lines.push_back(std::make_unique<Pty>());
    const int master = m_lines.back()->MasterFd();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    const std::string entry = std::string(getenv("VELTRANO_PORT_DIR")) + "/" + name;
    unlink(entry.c_str());
    symlink(m_lines.back()->SlavePath().c_str(), entry.c_str());
}

void Drill::Drain() {
    for (const auto& line : m_lines) {
        char buffer[4096];
        for (ssize_t n; (n = read(line->MasterFd(), buffer, sizeof buffer)) > 0;)
            m_drained += static_cast<size_t>(n);
    }
}

void Drill::Open(CCommPortSetting* port) {
    const std::string& name = port->m_portName;
    const std::string ports = std::string(getenv("VELTRANO_PORT_DIR")) + "/";
    // A port the drill gave no line of its own leads nowhere: no device of this machine is opened.
    if (IsPortName(name) && !m_linked.count(name))
        symlink("/nonexistent/tty", (ports + name).c_str());
    // The device is found for the name as it is opened, with the platform's device prefix in front.
    const std::string path = "\\\\.\\" + name;
    const std::string device = PortDevicePath(path);
    if (!device.empty() && device.compare(0, ports.size(), ports) != 0) {
        Check(false, "\"" + name + "\" leads to " + device);
        return;
    }
    const BOOL opened = port->Open(path, static_cast<DWORD>(port->m_baudRate), static_cast<BYTE>(port->m_dataBits),
                                   static_cast<BYTE>(port->m_stopBits), static_cast<BYTE>(port->m_parity));
    Check(!opened || m_linked.count(name), "\"" + name + "\" opened a device that is no line of the drill");
}

bool PortNumbersHold(const CCommPortSetting* port) {
    return IsBaudRate(port->m_baudRate) && IsDataBits(port->m_dataBits) && IsStopBits(port->m_stopBits) &&
           IsParity(port->m_parity);
}

void Drill::CheckStartValues() {
    int rows = 0, cols = 0, index = -1;
    m_layout->GetRowCol(rows, cols);
    m_layout->GetResolution(index);
    Check(rows >= 1 && rows <= 16 && cols >= 1 && cols <= 16,
          "a wall of " + std::to_string(rows) + " x " + std::to_string(cols));
    Check(index >= 0 && index <= 7, "resolution index " + std::to_string(index));
    Check(PortNumbersHold(m_model->GetCommPort()), "the wall port's numbers");
    // A file too large to read counts as a missing one.
    std::string port;
    int number = 0;
    if (FileSize(m_folder + "/system.xml") > kMaxXmlFileBytes)
        Check(m_model->GetSettings()->LoadComm(port, number, number, number, number) == 0,
              "a settings file too large to read was read");
    if (FileSize(m_folder + "/matrix.xml") > kMaxXmlFileBytes)
        Check(m_matrices->Begin() == m_matrices->End(), "a matrix file too large to read was read");

    CCommPortSetting* monitorPort = m_monitor->GetCommPort();
    m_monitor->LoadComm(monitorPort->m_portName, monitorPort->m_baudRate, monitorPort->m_dataBits,
                        monitorPort->m_stopBits, monitorPort->m_parity);
    Check(PortNumbersHold(monitorPort), "the monitor port's numbers");

    for (auto p = m_matrices->Begin(); p != m_matrices->End(); p = CMatrix::NextMessage(p)) {
        CMatrix* matrix = m_matrices->GetAt(p);
        BOOL own = FALSE;
        CCommPortSetting* port = matrix->GetPort(own);
        Check(!own || (port && PortNumbersHold(port)), "a matrix port's numbers");
        Check(matrix->GetChannelTable() && matrix->GetChannelTable()->GetCount() >= 0, "a channel count");
    }
}

void Drill::SendWallCommands() {
    LinkPort(m_model->GetCommPort()->m_portName);
    LinkPort(m_monitor->GetCommPort()->m_portName);
    Open(m_model->GetCommPort());
    Open(m_monitor->GetCommPort());

    int rows = 0, cols = 0;
    m_layout->GetRowCol(rows, cols);
    const RECT everyUnit{0, 0, 255, 255};
    const RECT block{1, 1, rows, cols};
    for (const char* name : {"POWER-ON", "VGA", "M-MENU", "VSY-CONTRAST-UP", "O-FAN-ON", "AD_TEMP_SET_50", "NOSUCH"}) {
        CheckResult(m_model->SendCommand(name, &everyUnit, 7), {0, 16}, std::string("sending ") + name);
        CheckResult(m_model->SendShortCommand(name, &block, 300), {0, 16}, std::string("sending ") + name);
        CheckResult(m_model->SendCommandByte(name, nullptr, 0xFF), {0, 16}, std::string("sending ") + name);
    }
    CheckResult(m_model->SendSourceCommand("YPBPR", 1, 2, 3), {0, 16}, "YPBPR");
    const CRect pip = CLcdWallLayout::CanvasToOutput(CRect(0, 0, 100, 50), CRect(10, 10, 60, 40));
    CheckResult(m_layout->OpenWindow(&pip, &block), {0, 16}, "opening the window");
    CheckResult(m_layout->MoveWindow(&pip, &block), {0, 16}, "moving the window");
    CheckResult(m_layout->SetPipSourceHdmi(&block), {0, 16}, "the window's source");
    CheckResult(m_layout->CloseWindow(&block), {0, 16}, "closing the window");
    CheckResult(m_effect->IncreaseHorizontal(&block), {0, 16, 48}, "a frame-effect step");
    CheckResult(m_effect->DecreaseVertical(&block), {0, 16, 49}, "a frame-effect step");
    CheckResult(m_effect->SetEnabled(TRUE), {0, 16}, "the frame effect on");
    CheckResult(m_effect->SetEnabled(FALSE), {0, 16}, "the frame effect off");
    for (int index : {1, 13, 0, 17})
        CheckResult(m_monitor->SendMonitorCommand(index, 1, 5), {0, 16}, "a monitor command");
    Drain();
}

void Drill::SwitchMatrices() {
    std::vector<CMatrix*> tried;
    for (auto p = m_matrices->Begin(); p != m_matrices->End() && tried.size() < kMatricesTried;
         p = CMatrix::NextMessage(p))
        tried.push_back(m_matrices->GetAt(p));
    for (CMatrix* matrix : tried) {
        BOOL own = FALSE;
        if (CCommPortSetting* port = matrix->GetPort(own); own && port) {
            LinkPort(port->m_portName);
            Open(port);
        }
    }
    struct Switch {
        int input, output;
    };
    const Switch switches[] = {{1, 2}, {300, 65535}, {-1, 0}};
    for (CMatrix* matrix : tried) {
        size_t messages = 0;
        for (auto q = matrix->MessagesBegin(); q != matrix->MessagesEnd() && messages < kMessagesTried;
             q = CMatrix::NextMessage(q), ++messages) {
            const std::string message = matrix->MessageAt(q)->GetName();
            for (const Switch& s : switches) {
                Drain();
                m_chainPause = 0;
                m_drained = 0;
                CheckResult(m_matrices->SetMatrix(matrix->GetName(), message, s.input, s.output), {0, -1, 16},
                            "a matrix switch");
                Drain();
                Check(m_drained <= kMostBytesOfOneSwitch, "one switch sent more than its chain can hold");
                Check(m_chainPause <= kLongestChainOfPauses, "a chain paused " + std::to_string(m_chainPause) + " ms");
            }
        }
        CheckResult(m_matrices->SetMatrix(matrix->GetName(), "no such message", 1, 1), {0}, "an unknown message");
    }
    CheckResult(m_matrices->SetMatrix("no such matrix", "x", 1, 1), {-1}, "an unknown matrix");
}

void Drill::WorkScenes() {
    CheckResult(m_scenes->StartRecording(TRUE), {0}, "recording");
    if (CMatrix* first = m_matrices->GetAt(m_matrices->Begin()); first && first->MessageAt(0))
        m_matrices->SetMatrix(first->GetName(), first->MessageAt(0)->GetName(), 3, 4);
    m_scenes->StopRecording();
    std::string named;
    for (int id = 1; id <= m_scenes->GetMaxScenes(); ++id) {
        const std::string name = m_scenes->GetSceneName(id);
        if (name.empty())
            continue;
        if (named.empty())
            named = name;
        CheckResult(m_scenes->LoadScene(name, TRUE), {0, -1, 16}, "loading a scene");
        Drain();
    }
    if (!named.empty())
        CheckResult(m_scenes->SaveScene(named, CRect(1, 1, 2, 2)), {0, -1, 16}, "saving a scene");
    CheckResult(m_scenes->RenameScene(0, "drill"), {0, -1, 64}, "renaming a scene");
    CheckResult(m_scenes->RenameScene(1, ""), {64}, "an empty scene name");
    Drain();
}

void Drill::WriteSettingsBack() {
    const CCommPortSetting* port = m_model->GetCommPort();
    CheckResult(
        m_model->SaveComm(port->m_portName, port->m_baudRate, port->m_dataBits, port->m_stopBits, port->m_parity), {0},
        "saving the wall port");
    int rows = 0, cols = 0, index = 0;
    m_layout->GetRowCol(rows, cols);
    m_layout->GetResolution(index);
    CheckResult(m_layout->SetRowCol(rows, cols), {0}, "saving the wall size");
    CheckResult(m_layout->SetRowCol(rows % 16 + 1, cols), {0}, "a new wall size");
    CheckResult(m_layout->SetOutput(1, 1, 7), {0}, "a unit's output");
    CheckResult(m_layout->SaveOutputMap(), {0}, "saving the output map");
    CheckResult(m_layout->SetResolution(index), {1}, "saving the resolution");
    CheckResult(m_matrices->SetMatrixPageItems(0, 0, -1, -1, -1), {1}, "saving the matrix page");
    CheckResult(m_monitor->SaveComm(), {0, -1}, "saving the monitor port");
    if (CMatrix* first = m_matrices->GetAt(m_matrices->Begin()))
        CheckResult(m_matrices->SaveMatrix(first->GetName(), first), {0, -1}, "saving a matrix");
}

void Drill::CheckFilesAfterwards() {
    const std::string system = m_folder + "/system.xml";
    const std::string matrix = m_folder + "/matrix.xml";
    if (m_systemWasWhole)
        Check(LoadsWhole(system), "a whole settings file was left broken");
    else if (FileSize(system) <= kMaxXmlFileBytes)
        Check(ReadFile(system) == m_originalSystem, "a broken settings file was written over");
    if (m_matrixWasWhole)
        Check(LoadsWhole(matrix), "a whole matrix file was left broken");
    else if (FileSize(matrix) <= kMaxXmlFileBytes)
        Check(ReadFile(matrix) == m_originalMatrix, "a broken matrix file was written over");

    if (DIR* dir = opendir(m_folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            Check(std::string(entry->d_name).find(".save-") == std::string::npos,
                  std::string("a temporary file was left: ") + entry->d_name);
        closedir(dir);
    }
}

int Drill::Run() {
    if (chdir(m_folder.c_str()) != 0)
        return 1;
    PrepareFolder();
    SetMessageBoxHandler([](const std::string&, UINT type) { return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK; });
    SetPauseHandler([this](DWORD ms) {
        Check(ms <= kLongestPause, "a pause of " + std::to_string(ms) + " ms");
        m_chainPause += ms;
        Drain();
    });

    m_model = CWallModel::GetInstance();
    m_layout = m_model->GetLcdWallLayout();
    m_matrices = m_model->GetMatrixMgr();
    m_scenes = m_model->GetSceneModel();
    m_effect = m_model->GetFrameEffect();
    m_monitor = std::make_unique<CMonitorModel>();

    CheckStartValues();
    SendWallCommands();
    SwitchMatrices();
    WorkScenes();
    WriteSettingsBack();
    CheckFilesAfterwards();
    if (m_failures > kChecksTold)
        std::fprintf(stderr, "drill in %s: %d checks broke in all\n", m_folder.c_str(), m_failures);
    return m_failures > 0 ? 1 : 0;
}

} // namespace

int RunStartUpDrill(const std::string& folder) { return Drill(folder).Run(); }
