#include "core/FrameEffect.h"
#include "core/WallModel.h"
#include "platform/os/Pause.h"
#include "tests/support/Bytes.h"
#include "tests/support/WallOnPty.h"

#include <gtest/gtest.h>

namespace {

class FrameEffectOnPty : public ::testing::Test {
protected:
    CFrameEffect* Build(const std::string& frameEffect, const std::string& extraCommands = "") {
        wall.dir.Write("command.xml", "<C><CMD name=\"O-HORIZONTAL-ADJUST\" code=\"136\"/>"
                                      "<CMD name=\"O-VERTICAL-ADJUST\" code=\"137\"/>" +
                                          extraCommands + "</C>");
        wall.dir.Write("system.xml", "<SYSTEM>" + frameEffect + "</SYSTEM>");
        model = CWallModel::GetInstance();
        wall.Listen(model, {"O-HORIZONTAL-ADJUST", "O-VERTICAL-ADJUST", "O-ENABLE_FRM_EFFECT"});
        return model->GetFrameEffect();
    }
    std::vector<int> State(CFrameEffect* effect) {
        BOOL enabled = FALSE;
        BYTE h = 0, v = 0;
        effect->GetState(enabled, h, v);
        return {enabled, h, v};
    }

    WallOnPty wall;
    CWallModel* model = nullptr;
};

} // namespace

TEST_F(FrameEffectOnPty, StepsStopAtTheLimitsWithNothingSent) {
    CFrameEffect* effect = Build("<FRAMEEFFECT enable=\"false\" horizontal=\"255\" vertical=\"0\"/>");
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    EXPECT_EQ(effect->IncreaseHorizontal(nullptr), 48);
    EXPECT_EQ(effect->DecreaseVertical(nullptr), 49);
    EXPECT_TRUE(wall.pty.ReadAvailable(50).empty());
    EXPECT_TRUE(wall.Events().empty());
    EXPECT_EQ(State(effect), std::vector<int>({FALSE, 255, 0}));
}

TEST_F(FrameEffectOnPty, AStepSendsStoresWritesAndAnnounces) {
    CFrameEffect* effect = Build("<FRAMEEFFECT enable=\"true\" horizontal=\"255\" vertical=\"0\"/>");
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    const RECT block{1, 1, 2, 2};
    EXPECT_EQ(effect->DecreaseHorizontal(&block), 0);
    EXPECT_EQ(effect->IncreaseVertical(&block), 0);
    EXPECT_EQ(wall.pty.Read(12), Bytes({0xD5, 0x11, 0x22, 136, 254, 0xAA, 0xD5, 0x11, 0x22, 137, 1, 0xAA}));
    EXPECT_EQ(State(effect), std::vector<int>({TRUE, 254, 1}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"O-HORIZONTAL-ADJUST", "O-VERTICAL-ADJUST"}));
    EXPECT_NE(wall.dir.Read("system.xml").find("enable=\"true\" horizontal=\"254\" vertical=\"1\""), std::string::npos);
}

TEST_F(FrameEffectOnPty, SwitchingSendsBothValuesHalfASecondApartAndKeepsThem) {
    CFrameEffect* effect = Build("<FRAMEEFFECT enable=\"true\" horizontal=\"10\" vertical=\"20\"/>");
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    std::vector<std::vector<unsigned char>> beforePause;
    std::vector<DWORD> pauses;
    SetPauseHandler([&](DWORD ms) {
        pauses.push_back(ms);
        beforePause.push_back(wall.pty.ReadAvailable(50));
    });

    EXPECT_EQ(effect->SetEnabled(FALSE), 0);
    EXPECT_EQ(State(effect), std::vector<int>({FALSE, 10, 20}));
    EXPECT_EQ(effect->SetEnabled(TRUE), 0);
    SetPauseHandler(nullptr);

    EXPECT_EQ(pauses, std::vector<DWORD>({500, 500}));
    ASSERT_EQ(beforePause.size(), 2u);
    EXPECT_EQ(beforePause[0], Bytes({0xD5, 0, 0, 136, 0, 0xAA}));
    EXPECT_EQ(beforePause[1], Bytes({0xD5, 0, 0, 137, 0, 0xAA, 0xD5, 0, 0, 136, 10, 0xAA}));
    EXPECT_EQ(wall.pty.Read(6), Bytes({0xD5, 0, 0, 137, 20, 0xAA}));
    EXPECT_EQ(State(effect), std::vector<int>({TRUE, 10, 20}));
    EXPECT_EQ(wall.Events(), std::vector<std::string>({"O-ENABLE_FRM_EFFECT", "O-ENABLE_FRM_EFFECT"}));
}

TEST_F(FrameEffectOnPty, AClosedPortChangesNothingInMemoryOrOnDisk) {
    CFrameEffect* effect = Build("<FRAMEEFFECT enable=\"true\" horizontal=\"10\" vertical=\"20\"/>");
    const std::string before = wall.dir.Read("system.xml");
    SetPauseHandler([](DWORD) {});
    EXPECT_EQ(effect->IncreaseHorizontal(nullptr), 16);
    EXPECT_EQ(effect->DecreaseVertical(nullptr), 16);
    EXPECT_EQ(effect->SetEnabled(FALSE), 16);
    EXPECT_EQ(State(effect), std::vector<int>({TRUE, 10, 20}));
    EXPECT_EQ(wall.dir.Read("system.xml"), before);
    EXPECT_TRUE(wall.Events().empty());
}

TEST_F(FrameEffectOnPty, AFixedParamInTheCommandsGoesOutInPlaceOfTheValue) {
    CFrameEffect* effect = Build("", "<CMD name=\"O-VERTICAL-ADJUST\" code=\"137\" param=\"3\"/>");
    EXPECT_EQ(State(effect), std::vector<int>({FALSE, 0, 0})); // no section: off, 0, 0
    ASSERT_TRUE(wall.Open(model->GetCommPort()));
    EXPECT_EQ(effect->IncreaseVertical(nullptr), 0);
    EXPECT_EQ(wall.pty.Read(6), Bytes({0xD5, 0, 0, 137, 3, 0xAA}));
    EXPECT_EQ(State(effect), std::vector<int>({FALSE, 0, 1}));
}
