#include "WallFixture.h"

#include "ui/wall/LcdGridCtrl.h"

#include "core/WallModel.h"
#include "platform/gui/window/WindowStyles.h"
#include "res/ResourceTables.h"

#include <QApplication>
#include <QTest>

std::string SettingsFile(int rows, int cols, const char* pipEnable) {
    return std::string("<?xml version=\"1.0\" encoding=\"GBK\"?>\n<SYSTEM>\n"
                       "<SYSTEMINFO name=\"Veltrano\" version=\"1.0\" company=\"Test\" title=\"Wall under test\" />\n"
                       "<COMM port=\"COM5\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" parity=\"0\" />\n"
                       "<MONITORCTRL><COMM port=\"COM5\" baudrate=\"9600\" databit=\"8\" stopbit=\"0\" "
                       "parity=\"0\" /></MONITORCTRL>\n"
                       "<FRAMEEFFECT enable=\"false\" horizontal=\"0\" vertical=\"0\" />\n"
                       "<COMPONENT><PIP enable=\"") +
           pipEnable + "\" /></COMPONENT>\n<LCDWALL row=\"" + std::to_string(rows) + "\" col=\"" +
           std::to_string(cols) + "\" pixel=\"6\" />\n</SYSTEM>\n";
}

std::string MatrixFile() {
    const std::string message = "<MESSAGE name=\"SW\"><BYTES type=\"hex\">A5</BYTES><IN/><OUT/>"
                                "<CHKXOR from=\"0\" to=\"2\"/></MESSAGE>";
    return "<?xml version=\"1.0\" encoding=\"GBK\"?>\n<MATRIXLIST>\n"
           "<MATRIX name=\"M1\" type=\"VGA\">" +
           message +
           "<SIGNAL type=\"VGA\" grow_type=\"HDMI\" /><COMM indep=\"false\" /><CHANNEL count=\"45\" /></MATRIX>\n"
           "<MATRIX name=\"Quiet\" type=\"AV\">" +
           message + "<COMM indep=\"false\" /></MATRIX>\n</MATRIXLIST>\n";
}

void WallFixture::SetUp() {
    RegisterResourceTables();
    m_previousPause = SetPauseHandler([this](DWORD ms) { pauses.push_back(ms); });
}

void WallFixture::TearDown() {
    m_view.reset();
    SetPauseHandler(m_previousPause);
}

void WallFixture::BuildWall(int rows, int cols, const char* pipEnable) {
    wall.dir.CopySample("command.xml");
    wall.dir.Write("system.xml", SettingsFile(rows, cols, pipEnable));
    wall.dir.Write("matrix.xml", MatrixFile());
    m_view = std::make_unique<LcdGridCtrl>(0, 0, 0, 0);
    view = m_view.get();
    PublishWallView(view);
    // The grid adds a two-pixel client edge on every side.
    ASSERT_TRUE(view->CreateEx(0, kGridWindowClass, "", WS_POPUP | WS_VISIBLE, CRect(100, 100, 407, 306), nullptr, 0));
    view->Refit();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->GetHostWidget()));
}

void WallFixture::OpenPort() { ASSERT_TRUE(wall.Open(CWallModel::GetInstance()->GetCommPort())); }

void WallFixture::Select(int minRow, int minCol, int maxRow, int maxCol) {
    view->ResetSelectedRange();
    view->SetSelectedRange(minRow, minCol, maxRow, maxCol);
}

std::string WallFixture::Label(int row, int col) const { return view->GetItemText(row, col).Str(); }

std::vector<unsigned char> WallFixture::ShortFrame(int first, int second, int code, int value) {
    return Bytes({0xD5, first, second, code, value, 0xAA});
}

std::vector<unsigned char> WallFixture::PipFrame(int code, int x, int y, int w, int h) {
    return Bytes({0xD5, 0x11, 0x32, code, 0x00, 0xAB, x >> 8, x & 0xFF, y >> 8, y & 0xFF, w >> 8, w & 0xFF, h >> 8,
                  h & 0xFF, 0xAA});
}

void WallFixture::Settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}
