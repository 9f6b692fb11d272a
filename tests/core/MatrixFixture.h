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
#include <string>
#include <vector>

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
// (COM5) lead to two pseudo-terminals; pauses are recorded instead of waited for.
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
    void TearDown() override {
        manager.reset();
        SetPauseHandler(std::move(previousPause));
    }

    static std::string File(const std::string& matrices) {
        return "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>\n" + matrices + "</MATRIXLIST>\n";
    }
    // A matrix on the wall's port holding the given messages.
    static std::string OnWall(const std::string& messages, const std::string& name = "M") {
        return "<MATRIX name=\"" + name + "\" type=\"VGA\">" + messages + "</MATRIX>\n";
    }
    // A matrix with its own port, COM5.
    static std::string OnOwnPort(const std::string& messages, const std::string& name = "OWN") {
        return "<MATRIX name=\"" + name + "\" type=\"DVI\">" + messages +
               "<COMM indep=\"true\" port=\"COM5\" baudrate=\"9600\" stopbit=\"0\" databit=\"8\" parity=\"0\"/>"
               "</MATRIX>\n";
    }

    CMatrixMgr& Load(const std::string& content) {
        dir.Write("matrix.xml", content);
        manager = std::make_unique<CMatrixMgr>(CWallModel::GetInstance());
        return *manager;
    }
    CMatrixMgr& LoadMatrices(const std::string& matrices) { return Load(File(matrices)); }

    CMatrix* Matrix(const std::string& name) { return manager->GetAt(manager->FindMatrix(name)); }

    // The wall's port as the banner opens it.
    void OpenWallPort() {
        CCommPortSetting* port = CWallModel::GetInstance()->GetCommPort();
        port->SetSettings("COM3", 9600, 8, 0, 0);
        ASSERT_TRUE(port->Open("\\\\.\\COM3", 9600, 8, 0, 0));
    }
    // A matrix's own port as the matrix page opens it.
    void OpenOwnPort(CMatrix* matrix) {
        ASSERT_NE(matrix, nullptr);
        BOOL own = FALSE;
        CCommPortSetting* port = matrix->GetPort(own);
        ASSERT_TRUE(own);
        ASSERT_NE(port, nullptr);
        ASSERT_TRUE(port->Open("\\\\.\\" + port->m_portName, port->m_baudRate, static_cast<BYTE>(port->m_dataBits),
                               static_cast<BYTE>(port->m_stopBits), static_cast<BYTE>(port->m_parity)));
    }

    // The bytes one message builds, without sending them; no value when it is not built.
    std::optional<Bytes> Build(const std::string& matrix, const std::string& message, int input, int output) {
        CMatrix* m = Matrix(matrix);
        CMessage* msg = m ? m->MessageAt(m->FindMessage(message)) : nullptr;
        EXPECT_NE(msg, nullptr) << matrix << "/" << message;
        if (!msg)
            return std::nullopt;
        BYTE out[kMessageBufferSize];
        int len = kMessageBufferSize;
        if (msg->Build(input, output, out, len) != 0)
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
