#include <gtest/gtest.h>

#include "core/Globals.h"
#include "core/MainView.h"
#include "tests/support/SimFixture.h"

using namespace talvo;

namespace {
struct GlobalsTest : ::testing::Test {
    GlobalsTest() { test::resetProgramState(); }
    ~GlobalsTest() override {
        setMainView(nullptr);
        test::resetProgramState();
    }
};
}  // namespace

TEST_F(GlobalsTest, InitGlobalsSetsTheStartStateOfTheMainWindow) {
    MainViewState view;
    view.cardListIndex = 5;
    view.specialFrameVisible = true;
    for (auto c : {MainControl::cmdComm, MainControl::CmdUpload, MainControl::cmdStart, MainControl::cmdStop,
                   MainControl::mnuConnectDisconnect})
        view.setEnabled(c, true);
    setMainView(&view);
    G().CurCardNo = 4;
    G().CycReadOn = true;
    G().ZScaleMax = 1;

    InitGlobals();

    EXPECT_EQ(view.cardListIndex, 0);
    EXPECT_FALSE(view.specialFrameVisible);
    for (auto c : {MainControl::cmdComm, MainControl::CmdUpload, MainControl::cmdStart, MainControl::cmdStop,
                   MainControl::mnuConnectDisconnect})
        EXPECT_FALSE(view.isEnabled(c));
    EXPECT_EQ(G().CurCardNo, 0);
    EXPECT_EQ(G().ComPortNo, 1);
    EXPECT_TRUE(G().StartingUp);
    EXPECT_FALSE(G().CycReadOn);
    EXPECT_EQ(G().ZScaleMin, -32000);
    EXPECT_EQ(G().ZScaleMax, 32000);
    EXPECT_EQ(G().FScaleMin, -32000);
    EXPECT_EQ(G().FScaleMax, 32000);
    EXPECT_EQ(G().BiasMin, -320);
    EXPECT_EQ(G().BiasMax, 320);
    EXPECT_EQ(G().GainMin, -3.2);
    EXPECT_EQ(G().GainMax, 3.2);
}

TEST_F(GlobalsTest, ClearCardRecordsEmptiesEverythingButTheVersion) {
    for (int n = 1; n <= 17; ++n) {
        CardRecord* r = G().CardRecords.get(n);
        r->CardType = "BW4";
        r->FileType = "BW4";
        r->Version = "1.0" + std::to_string(n);
        r->Param.set(1, "x");
        r->Param.set(64, "y");
        r->ChOption.set(16, "1");
    }
    ClearCardRecords();
    for (int n = 1; n <= 17; ++n) {
        const CardRecord* r = G().CardRecords.get(n);
        EXPECT_EQ(r->CardType, "");  // not "NONE": such a slot opens the overview
        EXPECT_EQ(r->FileType, "");
        EXPECT_EQ(r->Version, "1.0" + std::to_string(n));
        EXPECT_EQ(r->Param[1], "");
        EXPECT_EQ(r->Param[64], "");
        EXPECT_EQ(r->ChOption[16], "");
    }
}

TEST_F(GlobalsTest, RecordAccessNeverLeavesItsBounds) {
    EXPECT_EQ(G().CardRecords.get(0), nullptr);
    EXPECT_EQ(G().CardRecords.get(18), nullptr);
    EXPECT_EQ(G().CardRecords.get(-1), nullptr);
    EXPECT_NE(G().CardRecords.get(17), nullptr);
    G().CurCardNo = 0;
    EXPECT_EQ(CurrentRecord(), nullptr);  // the overview has no record
    G().CurCardNo = 3;
    EXPECT_EQ(CurrentRecord(), G().CardRecords.get(3));

    CardRecord r;
    r.Param.set(0, "bad");
    r.Param.set(65, "bad");
    r.ChOption.set(17, "bad");
    EXPECT_EQ(r.Param[0], "");
    EXPECT_EQ(r.Param[65], "");
    EXPECT_EQ(r.ChOption[0], "");
    EXPECT_EQ(r, CardRecord{});  // nothing was written anywhere
}
