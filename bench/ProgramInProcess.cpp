#include "ProgramInProcess.h"

#include "ui/app/MainFrame.h"
#include "ui/banner/CtrlBanner.h"

#include "core/CommPort.h"
#include "core/WallModel.h"
#include "platform/gui/window/SystemMetrics.h"
#include "platform/os/MessageBox.h"
#include "platform/os/Pause.h"
#include "res/ResourceTables.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

namespace {

constexpr int kOpenPort = 1003;

} // namespace

bool ProgramInProcess::Start(const std::map<std::string, std::string>& files) {
    RegisterResourceTables();
    for (const char* name : {"command.xml", "system.xml", "matrix.xml"}) {
        const auto given = files.find(name);
        if (given == files.end())
            m_folder.CopySample(name);
        else
            m_folder.Write(name, given->second);
    }
    m_link.Link("COM1", m_wall.SlavePath());
    SetPauseHandler([](DWORD) {});
    SetMessageBoxHandler([](const std::string& text, UINT) {
        std::fprintf(stderr, "message box: %s\n", text.c_str());
        return IDOK;
    });
    SetScreenMetricsHandler([] { return ScreenMetrics{CRect(0, 0, 1280, 1024), CRect(0, 0, 1280, 1024)}; });
    m_app.m_argc = 1;
    m_app.m_argv = m_argv;
    if (!m_app.InitInstance())
        return false;
    m_frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    m_banner = m_frame ? dynamic_cast<CCtrlBanner*>(m_frame->GetSplitter().GetPane(1, 0)) : nullptr;
    if (!m_banner || !QTest::qWaitForWindowExposed(m_frame->GetHostWidget()))
        return false;
    Click(m_banner, kOpenPort);
    return CWallModel::GetInstance()->GetCommPort()->IsOpen();
}

void ProgramInProcess::Click(CWnd* window, int id) {
    if (CWnd* item = window->GetDlgItem(id))
        QTest::mouseClick(item->GetHostWidget(), Qt::LeftButton);
}

std::pair<benchmark::internal::Benchmark*, benchmark::internal::Benchmark*>
RegisterPair(const char* work, void (*program)(benchmark::State&), void (*plain)(benchmark::State&)) {
    return {benchmark::RegisterBenchmark((std::string(work) + "/program").c_str(), program),
            benchmark::RegisterBenchmark((std::string(work) + "/plain").c_str(), plain)};
}

int RunInProcess(int argc, char** argv, const std::function<void()>& registerAll) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qtApp(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (CWnd* main = AfxGetMainWnd())
        main->DestroyWindow();
    return 0;
}
