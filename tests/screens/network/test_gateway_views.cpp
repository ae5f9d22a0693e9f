// The data views of the slots behind a gateway against the simulator.
#include <gtest/gtest.h>

#include <QLabel>

#include "core/Colors.h"
#include "core/Globals.h"
#include "core/Protocol.h"
#include "screens/network/frmQFODHdata.h"
#include "screens/network/frmQx.h"
#include "screens/skeleton/TextBoxes.h"
#include "shell/ChildForms.h"
#include "ui/Geometry.h"
#include "tests/screens/network/NetworkFixture.h"

using namespace talvo;
using talvo::test::NetworkTest;

namespace {

const char* const kStation =
    "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n"
    "slot 1 QFODH103\n  set 17 62 3,8\n"
    "slot 2 QFODH10C\n  set 17 71 2,4\n"
    "slot 3 QM13\n  set 00 10 12.5,7\n  set 00 11 1234,5678\n  set 00 12 CNG\n"
    "slot 4 QM19\n";

TEST(GatewayViews, SlotIndexAndChannelCount) {
    const std::pair<const char*, int> names[] = {
        {"QFODH1(3)", 3}, {"QFODH1(12)", 12}, {"QFODH1", 1}, {"QFODH1(123)", 1}, {"QFODH1(x)", 0}, {"", 1}};
    for (const auto& [name, index] : names) EXPECT_EQ(network::GatewaySlotIndex(name), index) << name;
    const std::pair<const char*, int> counts[] = {{"8", 8}, {"0", 0}, {"16", 16}, {"17", 0}, {"20", 0},
                                                  {"", 0},  {"-1", 0}, {"1.5", 0}, {"x", 0}, {"0016", 0}};
    for (const auto& [field, count] : counts) EXPECT_EQ(network::LayoutChannelCount(field), count) << field;
    const std::pair<const char*, int> bases[] = {{"QM13", 32}, {"QM19", 0}, {"QM10", 0}, {"QM11", 0}, {"QM18", 112}, {"QMx", 0}, {"", 0}};
    for (const auto& [code, base] : bases) EXPECT_EQ(network::QxRowBase(code), base) << code;
}

class GatewayViewTest : public NetworkTest {
protected:
    template <class S>
    S* pick(int slot) {
        cardList()->setCurrentIndex(slot);
        auto* s = dynamic_cast<S*>(shell::childForms().screen(G().CurFormType));
        EXPECT_NE(s, nullptr) << "slot " << slot << " shows " << G().CurFormType;
        return s;
    }
    // Lets one whole pass of the live read go by; the frames then hold that pass
    // (from its card select to `lastItem`, its last read).
    void nextPass(screens::CardScreen* s, const std::string& lastItem) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !s->busy() && !ExchangeWaiting(); }, 3000));
        sim.clearFrames();
        ASSERT_TRUE(QTest::qWaitFor([&] { return countFrames(lastItem) > 0; }, 3000));
        sim.clearFrames();
        ASSERT_TRUE(QTest::qWaitFor([&] { return countFrames(lastItem) > 0; }, 3000));
        QTest::qWait(30);  // the last value goes into its box after the pause
    }
    static QColor base(QLineEdit* b) { return b->palette().color(QPalette::Base); }
};

TEST_F(GatewayViewTest, GatewaySlotShowsItsTypeAndReadsItsChannels) {
    connectTo(kStation);
    auto* s = pick<network::frmQFODHdata>(1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(screens::boxText(s->cardTypeBox()), "QFODH1(3)");
    EXPECT_TRUE(framesContain({"G17", "I01", "D1", "G17", "I62"}));
    EXPECT_EQ(in<QLabel>(*s, "txtTitle")->text(), "Input Value");
    EXPECT_EQ(text(*s, "cardType"), "DI");
    EXPECT_EQ(text(*s, "ChNo"), "8");
    for (const char* b : {"cardType", "ChNo"}) expectDisplayOnly(in(*s, b));
    EXPECT_EQ(base(in(*s, "txtData_8")), ui::toQColor(colors::SysWindow));
    EXPECT_EQ(base(in(*s, "txtData_9")), ui::toQColor(colors::SysButtonFace));
    nextPass(s, "I17");
    const auto f = sim.frames();
    EXPECT_EQ(std::count(f.begin(), f.end(), "I10"), 1);
    EXPECT_EQ(std::count(f.begin(), f.end(), "I17"), 1);
    EXPECT_EQ(std::count(f.begin(), f.end(), "I18"), 0);
    EXPECT_EQ(text(*s, "txtData_1"), "100");
    EXPECT_EQ(text(*s, "txtData_8"), "800");

    auto* twelve = pick<network::frmQFODHdata>(2);
    ASSERT_NE(twelve, nullptr);
    EXPECT_EQ(screens::boxText(twelve->cardTypeBox()), "QFODH1(12)");
    EXPECT_EQ(in<QLabel>(*twelve, "txtTitle")->text(), "Output Value");
    EXPECT_EQ(text(*twelve, "cardType"), "AO");
    EXPECT_EQ(twelve->channelCount(), 4);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(GatewayViewTest, LayoutsWithoutChannelsReadNothing) {
    for (const char* layout : {"1,0", "1,20", "\"\"", "5", "1,x"}) {
        restartWindow();
        connectTo(std::string("comm K6-QFODH1:RUN version K6-QFODH1:2.00\nslot 1 QFODH103\n  set 17 62 ") + layout +
                  "\n");
        auto* s = pick<network::frmQFODHdata>(1);
        ASSERT_NE(s, nullptr) << layout;
        EXPECT_EQ(s->channelCount(), 0) << layout;
        for (int c = 1; c <= 16; ++c)
            EXPECT_EQ(base(in(*s, QString("txtData_%1").arg(c))), ui::toQColor(colors::SysButtonFace)) << layout;
        QTest::qWait(700);
        EXPECT_EQ(countFrames("I10"), 0u) << layout;
        EXPECT_TRUE(messages.shown.empty()) << layout;
    }
}

TEST_F(GatewayViewTest, QxLabelsItsRowsAndSplitsItsWords) {
    connectTo(kStation);
    auto* s = pick<network::frmQx>(3);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->uploadButton()->isVisible());
    EXPECT_EQ(in<QLabel>(*s, "hexIdx_0")->text(), "+32");
    EXPECT_EQ(in<QLabel>(*s, "hexIdx_15")->text(), "+47");
    nextPass(s, "I25");
    EXPECT_EQ(text(*s, "txtParInData_1"), "125");
    EXPECT_EQ(text(*s, "txtParOutData_1"), "7");
    EXPECT_EQ(text(*s, "txtParInData_2"), "1234");
    EXPECT_EQ(text(*s, "txtParOutData_2"), "5678");
    EXPECT_EQ(text(*s, "txtParInData_3"), "CNG") << "no comma: the answer in both";
    EXPECT_EQ(text(*s, "txtParOutData_3"), "CNG");
    auto* nine = pick<network::frmQx>(4);
    ASSERT_NE(nine, nullptr);
    EXPECT_EQ(in<QLabel>(*nine, "hexIdx_0")->text(), "+0");
}

TEST_F(GatewayViewTest, AFailedReadWhileConnectedShowsOneMessageAndDisconnects) {
    connectTo(kStation);
    auto* s = pick<network::frmQFODHdata>(1);
    ASSERT_NE(s, nullptr);
    useFakeClock();
    sim.addFault(talvo::test::silence("I12", 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown.empty(); }, 10000));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
    EXPECT_EQ(messages.shown[0].title, "Uploading");
    EXPECT_FALSE(G().Connected);
    QTest::qWait(1200);
    EXPECT_EQ(messages.shown.size(), 1u) << "later passes tell nothing more";
}

}  // namespace

// A value the card refuses shows as no value, not as the refusal's text.
TEST_F(GatewayViewTest, ARefusedValueShowsNoValue) {
    connectTo(kStation);
    auto* s = pick<network::frmQFODHdata>(1);
    ASSERT_NE(s, nullptr);
    for (const char* refusal : {"CNG", "CNU"}) {
        SCOPED_TRACE(refusal);
        sim.clearFaults();
        sim.addFault(test::fault("I11", 1, k6sim::FaultAction::Reply, refusal));
        nextPass(s, "I17");
        EXPECT_EQ(text(*s, "txtData_2"), "");
        EXPECT_EQ(text(*s, "txtData_1"), "100");
        EXPECT_TRUE(messages.shown.empty());
    }
}
