#pragma once

#include "core/CommPort.h"
#include "core/Matrix.h"
#include "core/MatrixMgr.h"
#include "core/WallModel.h"
#include "platform/os/Pause.h"
#include "tests/support/PortLink.h"
#include "tests/support/Pty.h"
#include "tests/support/WorkingDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sstream>

using Bytes = std::vector<unsigned char>;

// "A5 03 04" as bytes.
inline Bytes Hex(const std::string& text) {
    Bytes bytes;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair)
        bytes.push_back(static_cast<unsigned char>(std::stoul(pair, nullptr, 16)));
    return bytes;
}
inline Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A matrix.xml in a folder of its own, read by a real manager. The wall's port (COM3) and a matrix's own port
// (COM5) lead to pseudo-terminals; pauses are recorded instead of waited for.
class MatrixFixture : public ::testing::Test {
protected:
    void SetUp() override {
        link.Link("COM3", wallPty.SlavePath());
        link.Link("COM5", ownPty.SlavePath());
        previousPause = SetPauseHandler([this](DWORD ms) {
            pauses.push_back(ms);
            if (onPause)
                onPause();
        });
    }
    void TearDown() override { SetPauseHandler(std::move(previousPause)); }

    // Matrix "M" on the wall's port, or "OWN" on COM5 of its own.
    static std::string OnWall(const std::string& messages) { return "<MATRIX name=\"M\">" + messages + "</MATRIX>"; }
    static std::string OnOwnPort(const std::string& messages) {
        return "<MATRIX name=\"OWN\">" + messages + "<COMM indep=\"true\" port=\"COM5\"/></MATRIX>";
    }
    CMatrixMgr& LoadMatrices(const std::string& matrices) {
        dir.Write("matrix.xml", "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>" + matrices + "</MATRIXLIST>");
        return Reload();
    }
    CMatrixMgr& Reload() {
        manager = std::make_unique<CMatrixMgr>(CWallModel::GetInstance());
        return *manager;
    }
    CMatrix* Matrix(const std::string& name) { return manager->GetAt(manager->FindMatrix(name)); }

    // As the banner opens the wall's port, and the matrix page a matrix's own.
    void OpenWallPort() {
        CCommPortSetting* port = CWallModel::GetInstance()->GetCommPort();
        port->SetSettings("COM3", 9600, 8, 0, 0);
        ASSERT_TRUE(port->Open("\\\\.\\COM3", 9600, 8, 0, 0));
    }
    void OpenOwnPort(CMatrix* matrix) {
        BOOL own = FALSE;
        CCommPortSetting* port = matrix->GetPort(own);
        ASSERT_TRUE(own && port);
        ASSERT_TRUE(port->Open("\\\\.\\" + port->m_portName, 9600, 8, 0, 0));
    }

    // The bytes one message of "M" builds, without sending them; no value when it is not built.
    std::optional<Bytes> Build(const std::string& message, int input, int output, const std::string& matrix = "M") {
        CMatrix* m = Matrix(matrix);
        CMessage* msg = m ? m->MessageAt(m->FindMessage(message)) : nullptr;
        BYTE out[kMessageBufferSize];
        int len = kMessageBufferSize;
        if (!msg || msg->Build(input, output, out, len) != 0)
            return std::nullopt;
        return Bytes(out, out + len);
    }

    WorkingDir dir;
    Pty wallPty;
    Pty ownPty;
    PortLink link;
    std::vector<DWORD> pauses;
    std::function<void()> onPause;
    PauseHandler previousPause;
    std::unique_ptr<CMatrixMgr> manager;
};
