// The exchange and the read/write wrappers against the simulator on a real
// pseudo-terminal, with the exact frames the station received.
#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>

#include "core/Protocol.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using k6sim::Fault;
using k6sim::FaultAction;
using Frames = std::vector<std::string>;

namespace {

Fault reply(const std::string& frame, const std::string& text, int count = -1) {
    Fault f;
    f.frame = frame;
    f.action = FaultAction::Reply;
    f.text = text;
    f.count = count;
    return f;
}

Fault action(const std::string& frame, FaultAction a, int count = -1) {
    Fault f;
    f.frame = frame;
    f.action = a;
    f.count = count;
    return f;
}

Frames repeat(const Frames& attempt, int times) {
    Frames out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), attempt.begin(), attempt.end());
    return out;
}

class ProtocolTest : public test::SimTest {
protected:
    // Waits, servicing events, until the port shows characters waiting.
    void waitForPendingInput() {
        for (int i = 0; i < 2000 && serial.bytesWaiting() <= 0; ++i) steadyClock.sleepMs(1, &serial);
        ASSERT_GT(serial.bytesWaiting(), 0);
    }
};

}  // namespace

TEST_F(ProtocolTest, ReadSendsGroupThenItemAndTakesTheValueAfterItsFirstCharacter) {
    sim.setValue(0, "00", 40, "1.23");
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.23");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));
    EXPECT_FALSE(IntervalTimerEnabled());
    EXPECT_FALSE(ExchangeWaiting());
}

// Replies to the item frame of a read: what the caller gets and how many attempts it costs.
TEST_F(ProtocolTest, ReadReplyCodes) {
    struct Case {
        std::string itemReply;
        std::string result;
        int attempts;
    };
    const Case cases[] = {
        {"CNG", "CNG", 1},
        {"CNU", "NEEDLESS", 1},
        {"DTMOUT", "", 4},
        {"D", "", 4},             // one character: no value
        {"", "", 4},              // a bare CR
        {"   ", "", 4},           // only blanks
        {"D12.5", "12.5", 1},
        {"  D10:+012.5  ", "10:+012.5", 1},
        {"D    invalid data", "invalid data", 1},  // a read takes it as a value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("reply '" + c.itemReply + "'");
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply("I40", c.itemReply));
        EXPECT_EQ(ReadItem(3, "00", "40"), c.result);
        EXPECT_EQ(sim.frames(), repeat({"G00", "I40"}, c.attempts));
    }
}

TEST_F(ProtocolTest, GroupNotAcceptedFailsTheAttemptBeforeTheItemFrame) {
    for (const std::string r : {"CNG", "COKX", "", "DCOK"}) {
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply("G00", r));
        EXPECT_EQ(ReadItem(3, "00", "40"), "") << r;
        EXPECT_EQ(sim.frames(), repeat({"G00"}, 4)) << r;
    }
}

TEST_F(ProtocolTest, RetryStopsAtTheFirstAttemptThatGivesAValue) {
    sim.setValue(0, "00", 40, "2.00");
    sim.addFault(reply("I40", "DTMOUT", 2));
    EXPECT_EQ(ReadItem(3, "00", "40"), "2.00");
    EXPECT_EQ(sim.frames(), repeat({"G00", "I40"}, 3));
    sim.clearFrames();
    sim.addFault(reply("I40", "DTMOUT"));
    EXPECT_EQ(ReadItem(10, "00", "40"), "");
    EXPECT_EQ(sim.frames().size(), 22u);
}

TEST_F(ProtocolTest, ReplyInTwoChunksIsJoined) {
    Fault f = action("G00", FaultAction::Split);
    f.chunkSize = 2;  // "CO", then "K" and CR
    f.gapMs = 30;
    sim.addFault(f);
    sim.setValue(0, "00", 40, "1.00");
    EXPECT_EQ(ReadItem(0, "00", "40"), "1.00");
}

TEST_F(ProtocolTest, ReadWithoutItemSendsOnlyTheGroupFrameEveryAttempt) {
    EXPECT_EQ(ReadItem(3, "99", ""), "");
    EXPECT_EQ(sim.frames(), repeat({"G99"}, 4));
}

TEST_F(ProtocolTest, WriteSendsThreeFramesAndStoresTheValue) {
    EXPECT_EQ(WriteItem(3, "00", "01", "F"), "F");
    EXPECT_EQ(WriteItem(3, "00", "41", "3"), "3");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D3"}));
    EXPECT_EQ(sim.selectedCard(), 3);
}

// A plain write fails on any rejection, of the item frame or of the data frame.
TEST_F(ProtocolTest, WriteRejectionsAreRetriedWithTheWholeSequence) {
    struct Case {
        std::string frame, text;
        Frames attempt;
    };
    const Case cases[] = {
        {"DF", "CNU", {"G00", "I01", "DF"}},
        {"DF", "CNG", {"G00", "I01", "DF"}},
        {"DF", "DTMOUT", {"G00", "I01", "DF"}},
        {"DF", "D", {"G00", "I01", "DF"}},
        {"DF", "", {"G00", "I01", "DF"}},
        {"I01", "CNU", {"G00", "I01"}},
        {"I01", "CNG", {"G00", "I01"}},
        {"I01", "", {"G00", "I01"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame + " answered '" + c.text + "'");
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply(c.frame, c.text));
        EXPECT_EQ(WriteItem(3, "00", "01", "F"), "");
        EXPECT_EQ(sim.frames(), repeat(c.attempt, 4));
    }
}

TEST_F(ProtocolTest, CheckedWritePassesRejectionsBack) {
    ASSERT_EQ(WriteItem(3, "00", "41", "1"), "1");
    struct Case {
        std::string itemReply, result;
        Frames frames;
    };
    const Case cases[] = {
        {"D    invalid data", "CNG", {"G02", "I42"}},
        {"CNG", "CNG", {"G02", "I42"}},
        {"CNU", "NEEDLESS", {"G02", "I42"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.itemReply);
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply("I42", c.itemReply));
        EXPECT_EQ(WriteItemChecked(10, "02", "42", "1"), c.result);
        EXPECT_EQ(sim.frames(), c.frames);
    }
    sim.clearFaults();
    sim.clearFrames();
    EXPECT_EQ(WriteItemChecked(10, "02", "42", "1"), "1");
    EXPECT_EQ(sim.frames(), (Frames{"G02", "I42", "D1"}));
    EXPECT_EQ(sim.value(1, "02", 42), "1");
}

TEST_F(ProtocolTest, WaitingInputRefusesPlainAttemptsButNotTheCheckedWrite) {
    sim.inject("xx");
    waitForPendingInput();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_EQ(WriteItem(3, "00", "01", "F"), "");
    EXPECT_TRUE(sim.frames().empty());
    WriteItemChecked(0, "00", "01", "F");
    EXPECT_EQ(sim.frames(), (Frames{"G00"}));
}

TEST_F(ProtocolTest, LateSecondReplyBlocksTheLineUntilThePortIsReopened) {
    Fault f = action("I40", FaultAction::ExtraLate, 1);
    f.text = "D9.99";
    f.delayMs = 20;
    sim.addFault(f);
    sim.setValue(0, "00", 40, "1.00");
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
    waitForPendingInput();
    sim.clearFrames();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_TRUE(sim.frames().empty());
    serial.close();  // closing empties the buffer
    ASSERT_TRUE(openPort());
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
}

TEST_F(ProtocolTest, SilentLineTimesOutEachAttemptAfter3000ms) {
    useFakeClock();
    sim.addFault(action("I40", FaultAction::Silence));
    const auto start = fakeClock.now;
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_EQ(sim.frames(), repeat({"G00", "I40"}, 4));
    EXPECT_GE(fakeClock.now - start, 4 * kReplyTimeoutMs);
    EXPECT_LT(fakeClock.now - start, 4 * kReplyTimeoutMs + 200);
    EXPECT_FALSE(IntervalTimerEnabled());
    EXPECT_TRUE(IntervalTimerCheck());  // the expiry stays until the next exchange
}

TEST_F(ProtocolTest, ChunksWithoutTheFinalCrDoNotEndTheWait) {
    useFakeClock();
    sim.addFault(action("I40", FaultAction::Silence));
    sim.inject("D12");  // part of a reply; its CR never comes
    waitForPendingInput();
    const auto start = fakeClock.now;
    EXPECT_EQ(TransactTrim("I40\r"), "");
    EXPECT_GE(fakeClock.now - start, kReplyTimeoutMs);
    EXPECT_LT(fakeClock.now - start, kReplyTimeoutMs + 100);
}

TEST_F(ProtocolTest, ClosingThePortFromAHandlerEndsTheWaitingExchange) {
    sim.addFault(action("I40", FaultAction::Silence));
    QTimer::singleShot(50, [this] {
        serial.close();
        IntervalTimerOff();
    });
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(1500));
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));  // later attempts fail at once, sending nothing
}

TEST_F(ProtocolTest, ExchangeAskedForWhileAnotherWaitsIsRefused) {
    Fault slow = action("I40", FaultAction::Delay, 1);
    slow.delayMs = 200;
    sim.addFault(slow);
    sim.setValue(0, "00", 40, "1.00");
    std::string nested = "untouched";
    QTimer::singleShot(30, [&] { nested = ReadItem(3, "00", "04"); });
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
    EXPECT_EQ(nested, "");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));
}

TEST_F(ProtocolTest, ControlCharactersInAFrameTextAreRefusedUnsent) {
    const std::string bad[] = {"3\rG01", "3\n", std::string("3\0", 2), "\x01", "3\x7f"};
    for (const auto& t : bad) {
        EXPECT_EQ(WriteItem(3, "00", "41", t), "");
        EXPECT_EQ(WriteItem(3, "00", t, "1"), "");
        EXPECT_EQ(ReadItem(3, t, "40"), "");
        EXPECT_EQ(WriteItemChecked(3, "02", "42", t), "");
    }
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_EQ(TransactTrim("G0\r0\r"), "");
    EXPECT_TRUE(sim.frames().empty());
}

TEST_F(ProtocolTest, PortNotOpenFailsEveryAttemptAtOnce) {
    serial.close();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_EQ(WriteItem(3, "00", "01", "F"), "");
    EXPECT_EQ(WriteItemChecked(3, "00", "01", "F"), "");
    EXPECT_TRUE(sim.frames().empty());
    EXPECT_FALSE(IntervalTimerEnabled());
}

TEST_F(ProtocolTest, DroppedLineClosesThePortAndFailsQuickly) {
    sim.addFault(action("I40", FaultAction::DropLine));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2500));
    EXPECT_FALSE(serial.isOpen());
    EXPECT_EQ(serial.bytesWaiting(), -1);
}

TEST_F(ProtocolTest, GarbageReplyFailsTheGroupAndIsAValueToAnItem) {
    sim.addFault(reply("G01", "\x01\xff#"));
    EXPECT_EQ(ReadItem(0, "01", "01"), "");
    sim.clearFaults();
    sim.addFault(reply("I40", "X\xe9t"));
    EXPECT_EQ(ReadItem(0, "00", "40"), "\xe9t");  // Latin-1 bytes pass unchanged
}

TEST_F(ProtocolTest, CommErrorMessage) {
    ShowCommError();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Communication error. Check the signal conditioner, cable and/or COM port setting.");
    EXPECT_EQ(messages.shown[0].title, "Test of communication");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Exclamation);
}
