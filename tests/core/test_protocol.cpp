// The exchange and the read/write wrappers against the simulator on a real
// pseudo-terminal, with the exact frames the station received.
#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <functional>

#include "core/LineTurn.h"
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
        for (int i = 0; i < 2000 && serial.bytesWaiting() <= 0; ++i) steadyClock.waitMs(1, nullptr, &serial);
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
        {"  D40:+012.5  ", "40:+012.5", 1},
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
    for (const std::string r : {"CNG", "COKX", "", "DTMOUT"}) {
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
    useFakeClock();
    struct Case {
        std::string frame, text;
        Frames attempt;
    };
    const Case cases[] = {
        {"DF", "CNU", {"G00", "I01", "DF"}},
        {"DF", "CNG", {"G00", "I01", "DF"}},
        {"DF", "DTMOUT", {"G00", "I01", "DF"}},
        // Not the echo of "F": no reply, so each attempt times out; an empty
        // reply fails it at once.
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

// One attempt, told apart: a card that says no to a frame refused the write;
// one that does not answer (or answers its own time-out) is not there. The
// frames are those of WriteItemOnce, which gives the value of a taken write.
TEST_F(ProtocolTest, AWriteAttemptTellsTakenRefusedAndUnanswered) {
    useFakeClock();
    using O = WriteOutcome;
    struct Case {
        std::string frame, text;  // frame "": the card answers as usual
        FaultAction action;
        O outcome;
        Frames attempt;
    };
    const Case cases[] = {
        {"", "", FaultAction::Reply, O::Taken, {"G00", "I01", "DF"}},
        {"G00", "CNG", FaultAction::Reply, O::Refused, {"G00"}},
        {"G00", "CNU", FaultAction::Reply, O::Refused, {"G00"}},
        {"G00", "XYZ", FaultAction::Reply, O::Unanswered, {"G00"}},
        {"I01", "CNG", FaultAction::Reply, O::Refused, {"G00", "I01"}},
        {"I01", "CNU", FaultAction::Reply, O::Refused, {"G00", "I01"}},
        {"I01", "DTMOUT", FaultAction::Reply, O::Unanswered, {"G00", "I01"}},
        {"I01", "", FaultAction::Reply, O::Unanswered, {"G00", "I01"}},
        {"DF", "CNG", FaultAction::Reply, O::Refused, {"G00", "I01", "DF"}},
        {"DF", "CNU", FaultAction::Reply, O::Refused, {"G00", "I01", "DF"}},
        {"DF", "DTMOUT", FaultAction::Reply, O::Unanswered, {"G00", "I01", "DF"}},
        {"DF", "", FaultAction::Silence, O::Unanswered, {"G00", "I01", "DF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame + " answered '" + c.text + "'");
        sim.clearFaults();
        if (!c.frame.empty())
            sim.addFault(c.action == FaultAction::Reply ? reply(c.frame, c.text) : action(c.frame, c.action));
        sim.clearFrames();
        const WriteAttempt a = WriteItemAttempt("00", "01", "F");
        EXPECT_EQ(a.outcome, c.outcome);
        EXPECT_EQ(a.value, c.outcome == O::Taken ? "F" : "");
        EXPECT_EQ(sim.frames(), c.attempt);
        sim.clearFrames();
        EXPECT_EQ(WriteItemOnce("00", "01", "F"), a.value);
        EXPECT_EQ(sim.frames(), c.attempt);
    }
    // Nothing sent: no answer either.
    sim.clearFaults();
    sim.clearFrames();
    EXPECT_EQ(WriteItemAttempt("00", "0\r1", "F").outcome, O::Unanswered);
    EXPECT_TRUE(sim.frames().empty());
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

// Input nobody asked for is dropped before any attempt sends, whatever kind it
// is; it neither fails the attempt nor reaches the reply.
TEST_F(ProtocolTest, WaitingInputIsDroppedBeforeEveryKindOfAttempt) {
    sim.setValue(0, "00", 40, "1.00");
    struct Case {
        const char* name;
        std::function<std::string()> call;
        std::string result;
        Frames frames;
    };
    const Case cases[] = {
        {"read", [] { return ReadItem(3, "00", "40"); }, "1.00", {"G00", "I40"}},
        {"write", [] { return WriteItem(3, "00", "01", "F"); }, "F", {"G00", "I01", "DF"}},
        {"checked write", [] { return WriteItemChecked(0, "00", "01", "F"); }, "F", {"G00", "I01", "DF"}},
    };
    // "xx" is a line whose CR never comes: the port does not count it, and it must
    // not become the start of the reply either.
    for (const std::string stray : {"xx", "COK\r", "D9.99\rCOK\r"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " after stray input \"" + stray + "\"");
            sim.clearFrames();
            ASSERT_TRUE(injectAndWait(stray));
            EXPECT_EQ(c.call(), c.result);
            EXPECT_EQ(sim.frames(), c.frames);
            EXPECT_EQ(serial.bytesWaiting(), 0);
        }
    }
}

TEST_F(ProtocolTest, LateSecondReplyIsDroppedAndTheNextReadGetsItsOwnReply) {
    Fault f = action("I40", FaultAction::ExtraLate, 1);
    f.text = "D9.99";
    f.delayMs = 20;
    sim.addFault(f);
    sim.setValue(0, "00", 40, "1.00");
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
    waitForPendingInput();
    sim.clearFrames();
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));
    EXPECT_TRUE(serial.isOpen());
    sim.clearFrames();
    sim.setValue(0, "00", 40, "1.01");
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.01");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40"}));
}

// Which reply lines a frame takes, with one line or a stale line before the
// reply in the same chunk. A line that cannot answer the frame is passed over
// and the exchange waits on until its time-out.
TEST_F(ProtocolTest, LinesThatCannotAnswerTheFrameArePassedOver) {
    useFakeClock();
    struct Case {
        std::string frame, reply;  // the fault: this frame is answered with reply + CR
        bool write;                // WriteItem(0, "00", "01", "F") instead of ReadItem(0, "00", item)
        std::string item;
        std::string result;
        bool timesOut;
        Frames frames;
    };
    const Case cases[] = {
        {"G00", "DCOK", false, "40", "", true, {"G00"}},
        {"G00", "D1.00", false, "40", "", true, {"G00"}},
        {"G00", "D40:+001.0", false, "40", "", true, {"G00"}},
        {"G00", "DTMOUT", false, "40", "", false, {"G00"}},  // the station's own time-out answers any frame
        {"G00", "D1.00\rCOK", false, "40", "1.00", false, {"G00", "I40"}},
        {"I40", "COK", false, "40", "", true, {"G00", "I40"}},
        {"I40", "D04:BW4", false, "40", "", true, {"G00", "I40"}},
        {"I40", "D41:1", false, "40", "", true, {"G00", "I40"}},
        {"I40", "COK\rD40:+001.0", false, "40", "40:+001.0", false, {"G00", "I40"}},
        {"I40", "D04:BW4\rD1.00", false, "40", "1.00", false, {"G00", "I40"}},
        {"I40", "D040:+001.0", false, "40", "040:+001.0", false, {"G00", "I40"}},
        {"I1", "D01:F", false, "1", "01:F", false, {"G00", "I1"}},
        {"I01", "D1:F", false, "01", "1:F", false, {"G00", "I01"}},
        {"I40", "D:5", false, "40", ":5", false, {"G00", "I40"}},      // no number: no tag
        {"I40", "D4a:5", false, "40", "4a:5", false, {"G00", "I40"}},  // not a number: no tag
        {"I40", "DK6-OW1", false, "40", "K6-OW1", false, {"G00", "I40"}},
        {"DF", "COK", true, "", "", true, {"G00", "I01", "DF"}},
        // The select is answered by its echo alone, whatever else begins like it.
        {"DF", "D01:F", true, "", "", true, {"G00", "I01", "DF"}},
        {"DF", "DF0", true, "", "", true, {"G00", "I01", "DF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame + " answered '" + c.reply + "'");
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply(c.frame, c.reply));
        const auto start = fakeClock.now;
        EXPECT_EQ(c.write ? WriteItem(0, "00", "01", "F") : ReadItem(0, "00", c.item), c.result);
        const auto took = fakeClock.now - start;
        if (c.timesOut) {
            EXPECT_GE(took, kReplyTimeoutMs);
        } else {
            EXPECT_LT(took, kReplyTimeoutMs);
        }
        EXPECT_EQ(sim.frames(), c.frames);
    }
}

// What answers a data frame: any reply is its value, as the card gives it (the
// echo of its data, which may go on as a chunk read's does, or an answer of the
// card's own such as "D0"), except a late reply that plainly is not its own:
// the exact echo of an earlier data frame of the same turn, "COK", or the value
// of another item than the one named just before it. Those are passed over, in
// the same chunk as the reply or alone.
TEST_F(ProtocolTest, ADataFrameTakesAnyReplyButAStaleEchoOrAnotherItemsValue) {
    useFakeClock();
    ASSERT_EQ(WriteItem(3, "00", "41", "1"), "1");
    ASSERT_EQ(WriteItem(3, "01", "43", "7"), "7");  // an earlier data frame of this turn
    struct Case {
        std::string data;   // written to group "01" item "42" of card 1
        std::string reply;  // the data frame is answered with reply + CR
        std::string result;
        bool timesOut;
    };
    const Case cases[] = {
        {"250", "D250", "250", false},
        {"250", "D7\rD250", "250", false},         // an earlier write's echo first
        {"250", "D7", "", true},
        {"250", "D0", "0", false},                 // the card's own answer
        {"250", "D25", "25", false},
        {"250", "D2500", "2500", false},           // the echo and more
        {"250", "D43:10000\rD250", "250", false},  // another item's value first
        {"250", "D43:10000", "", true},
        {"250", "D1:250", "", true},
        {"250", "D42:250", "42:250", false},       // its own item's value
        {"250", "D042:250", "042:250", false},
        {"250", "COK", "", true},
        {"250", "X250", "250", false},
        {"250", "", "", false},                    // an empty reply fails at once
        {"250", "CNG", "", false},
        {"250", "CNU", "", false},
        {"250", "DTMOUT", "", false},
        {"250", "D7\rCNG", "", false},
        {"", "D43:10000", "", true},               // another item's value, whatever it begins with
        {"2", "D25", "25", false},                 // the echo and more: the card's answer
        {"4", "D43:10000", "", true},
        {"", "DK6", "K6", false},
        {"", "COK", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("D" + c.data + " answered '" + c.reply + "'");
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(reply("D" + c.data, c.reply));
        const auto start = fakeClock.now;
        EXPECT_EQ(WriteItem(0, "01", "42", c.data), c.result);
        const auto took = fakeClock.now - start;
        if (c.timesOut) {
            EXPECT_GE(took, kReplyTimeoutMs);
        } else {
            EXPECT_LT(took, kReplyTimeoutMs);
        }
        EXPECT_EQ(sim.frames(), (Frames{"G01", "I42", "D" + c.data}));
    }
    // A refusal fails every attempt, each from the group frame on.
    sim.clearFaults();
    sim.clearFrames();
    sim.addFault(reply("D250", "D7\rCNG"));
    EXPECT_EQ(WriteItem(3, "01", "42", "250"), "");
    EXPECT_EQ(sim.frames(), repeat({"G01", "I42", "D250"}, 4));
}

// A routine's turn of the line keeps its own echoes: a reply that only repeats
// what an earlier routine wrote is that card's answer to this one.
TEST_F(ProtocolTest, AnEchoFromAnEarlierTurnIsAValue) {
    useFakeClock();
    ASSERT_EQ(WriteItem(3, "00", "41", "1"), "1");
    {
        LineHold first(1);
        ASSERT_EQ(WriteItem(3, "01", "43", "0"), "0");
    }
    LineHold second(1);
    sim.addFault(reply("D1", "D0"));
    EXPECT_EQ(WriteItem(0, "01", "44", "1"), "0");
}

// The item whose value may answer a data frame is the one named in the same
// write: a group frame since then names none.
TEST_F(ProtocolTest, AnItemsValueAnswersADataFrameOnlyAfterThatItemFrame) {
    useFakeClock();
    ASSERT_EQ(WriteItem(3, "00", "41", "1"), "1");
    sim.clearFrames();
    sim.addFault(reply("D250", "D42:250"));
    EXPECT_EQ(TransactTrim("G01\r"), "COK");
    EXPECT_EQ(TransactTrim("I42\r"), "D42:0");
    EXPECT_EQ(TransactTrim("D250\r"), "D42:250");
    EXPECT_EQ(TransactTrim("G01\r"), "COK");
    const auto start = fakeClock.now;
    EXPECT_EQ(TransactTrim("D250\r"), "");
    EXPECT_GE(fakeClock.now - start, kReplyTimeoutMs);
    EXPECT_EQ(sim.frames(), (Frames{"G01", "I42", "D250", "G01", "D250"}));
}

// A stale line that arrives while a slow reply is awaited, on a real line.
TEST_F(ProtocolTest, StaleRepliesArrivingDuringTheWaitAreNotTakenForTheReply) {
    sim.setValue(0, "00", 40, "1.00");
    // "D7" is then the echo of an earlier data frame of the same turn.
    ASSERT_EQ(WriteItem(0, "00", "41", "7"), "7");
    ASSERT_EQ(WriteItem(0, "00", "41", "0"), "0");
    struct Case {
        std::string stale;
        std::string frame;  // its reply is 200 ms late; the stale line comes 50 ms in
        std::function<std::string()> call;
        std::string result;
        Frames frames;
    };
    const Case cases[] = {
        {"COK", "I40", [] { return ReadItem(0, "00", "40"); }, "1.00", {"G00", "I40"}},
        {"D10:+009.9", "I40", [] { return ReadItem(0, "00", "40"); }, "1.00", {"G00", "I40"}},
        {"D04:K6-OW1", "I40", [] { return ReadItem(0, "00", "40"); }, "1.00", {"G00", "I40"}},
        {"D1.00", "G00", [] { return ReadItem(0, "00", "04"); }, "K6-OW1:RUN", {"G00", "I04"}},
        {"COK", "DF", [] { return WriteItem(0, "00", "01", "F"); }, "F", {"G00", "I01", "DF"}},
        {"D7", "DF", [] { return WriteItem(0, "00", "01", "F"); }, "F", {"G00", "I01", "DF"}},
        {"D41:3", "DF", [] { return WriteItem(0, "00", "01", "F"); }, "F", {"G00", "I01", "DF"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.stale + "' while " + c.frame + " waits");
        sim.clearFaults();
        sim.clearFrames();
        Fault slow = action(c.frame, FaultAction::Delay, 1);
        slow.delayMs = 200;
        sim.addFault(slow);
        QTimer::singleShot(50, [&] { sim.inject(c.stale + "\r"); });
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(sim.frames(), c.frames);
    }
}

// A reply 500 ms later than the time-out, then normal replies: every later
// exchange gets its own reply, and a write the station refuses stays refused.
TEST_F(ProtocolTest, ReplyLaterThanTheTimeOutShiftsNoLaterExchange) {
    Fault late = action("I40", FaultAction::Delay, 1);
    late.delayMs = kReplyTimeoutMs + 500;
    sim.addFault(late);
    sim.addFault(reply("D7", "CNG"));
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadItem(3, "00", "40"), "1.00");
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(kReplyTimeoutMs));
    EXPECT_EQ(WriteItem(3, "00", "01", "F"), "F");
    EXPECT_EQ(WriteItem(3, "00", "41", "1"), "1");
    EXPECT_EQ(ReadItem(3, "00", "04"), "04:BW4");
    EXPECT_EQ(ReadItem(3, "00", "10"), "10:+012.5");
    EXPECT_EQ(WriteItem(0, "02", "42", "7"), "");
    EXPECT_EQ(WriteItemChecked(0, "02", "42", "1"), "1");
    EXPECT_EQ(ReadItem(3, "02", "42"), "42:1");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I40", "G00", "I40", "G00", "I01", "DF", "G00", "I41", "D1", "G00", "I04",
                                    "G00", "I10", "G02", "I42", "D7", "G02", "I42", "D1", "G02", "I42"}));
    EXPECT_EQ(serial.bytesWaiting(), 0);
}

// After a time-out the next exchange lets the line fall quiet before it sends,
// so the missed reply cannot pass for the reply of a slow frame after it.
TEST_F(ProtocolTest, AfterATimeOutTheLineFallsQuietBeforeTheNextFrame) {
    useFakeClock();
    sim.addFault(action("I40", FaultAction::Silence, 1));
    EXPECT_EQ(ReadItem(0, "00", "40"), "");
    platform::services().clock = &steadyClock;
    Fault slow = action("I04", FaultAction::Delay, 1);
    slow.delayMs = 300;
    sim.addFault(slow);
    sim.clearFrames();
    const auto t0 = std::chrono::steady_clock::now();
    QTimer::singleShot(50, [&] { sim.inject("D1.00\r"); });  // the missed reply, untagged
    EXPECT_EQ(ReadItem(0, "00", "04"), "K6-OW1:RUN");
    EXPECT_EQ(sim.frames(), (Frames{"G00", "I04"}));
    const auto records = sim.records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_GE(records[0].at - t0, std::chrono::milliseconds(50 + kQuietGuardMs - 2));  // whole milliseconds
}

// A line that never falls quiet holds a frame back no longer than the bound.
TEST_F(ProtocolTest, QuietGuardOnAChatteringLineIsBounded) {
    QTimer chatter;
    QObject::connect(&chatter, &QTimer::timeout, [&] { sim.inject("D9\r"); });
    chatter.start(20);
    sim.inject("D9\r");
    waitForPendingInput();
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(TransactTrim("G00\r"), "COK");  // values never answer a group frame
    chatter.stop();
    const auto records = sim.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_GE(records[0].at - t0, std::chrono::milliseconds(kQuietBoundMs - 5));  // whole milliseconds
    EXPECT_LT(records[0].at - t0, std::chrono::milliseconds(kQuietBoundMs + 700));
}

TEST_F(ProtocolTest, SilentLineTimesOutEachAttemptAfter3000ms) {
    useFakeClock();
    sim.addFault(action("I40", FaultAction::Silence));
    const auto start = fakeClock.now;
    EXPECT_EQ(ReadItem(3, "00", "40"), "");
    EXPECT_EQ(sim.frames(), repeat({"G00", "I40"}, 4));
    // Each attempt after a time-out lets the line fall quiet before it sends.
    EXPECT_GE(fakeClock.now - start, 4 * kReplyTimeoutMs + 3 * kQuietGuardMs);
    // The fake clock also moves while the answered group frames wait for their real
    // replies (more on a loaded machine): the bound only has to rule out a fifth attempt.
    EXPECT_LT(fakeClock.now - start, 5 * kReplyTimeoutMs);
    EXPECT_FALSE(IntervalTimerEnabled());
    EXPECT_TRUE(IntervalTimerCheck());  // the expiry stays until the next exchange
}

TEST_F(ProtocolTest, ChunksWithoutTheFinalCrDoNotEndTheWait) {
    useFakeClock();
    sim.addFault(action("I40", FaultAction::Silence));
    // Part of a reply, arriving while the exchange waits; its CR never comes.
    QTimer::singleShot(0, [this] { sim.inject("D12"); });
    const auto start = fakeClock.now;
    EXPECT_EQ(TransactTrim("I40\r"), "");
    EXPECT_GE(fakeClock.now - start, kReplyTimeoutMs);
    EXPECT_LT(fakeClock.now - start, kReplyTimeoutMs + kQuietBoundMs);
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

// Counts how often a waiting exchange looks at the line.
class CountingPort : public platform::QtSerialPort {
public:
    int bytesWaiting() override {
        ++looks;
        return QtSerialPort::bytesWaiting();
    }
    int looks = 0;
};

// The wait blocks on the line, the event loop and the deadline together: on a
// silent line it looks at the line when an event wakes it, not every millisecond,
// and the window's timers keep running throughout.
TEST_F(ProtocolTest, ExchangeWaitSleepsAndKeepsTheWindowLive) {
    serial.close();
    CountingPort port;
    ASSERT_TRUE(port.open(1, "9600,n,8,1"));
    platform::services().serial = &port;
    sim.addFault(action("I40", FaultAction::Silence));
    QTimer ticker;
    int ticks = 0;
    double worstGapMs = 0;
    auto last = std::chrono::steady_clock::now();
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const auto t = std::chrono::steady_clock::now();
        worstGapMs = std::max(worstGapMs, std::chrono::duration<double, std::milli>(t - last).count());
        last = t;
        ++ticks;
    });
    ticker.start(20);
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(TransactTrim("I40\r"), "");
    ticker.stop();
    // The clock counts whole milliseconds.
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(kReplyTimeoutMs - 2));
    EXPECT_GE(ticks, kReplyTimeoutMs / 20 / 2);
    EXPECT_LT(worstGapMs, 500.0);           // a wait that held the loop would show 3000 ms
    EXPECT_LT(port.looks, 3 * ticks + 20);  // about one look per tick; polling would make ~3000
    platform::services().serial = &serial;
}

// A pause lasts its time with the window live; on the fake clock it moves only
// the fake time.
TEST_F(ProtocolTest, PauseKeepsTheWindowLive) {
    QTimer ticker;
    int ticks = 0;
    int level = -1;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        level = platform::eventLevel();
    });
    ticker.start(5);
    const auto t0 = std::chrono::steady_clock::now();
    PauseMs(100);
    const auto took = std::chrono::steady_clock::now() - t0;
    ticker.stop();
    EXPECT_GE(took, std::chrono::milliseconds(99));  // whole milliseconds
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(level, platform::eventLevel() + 1);

    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    PauseMs(0);  // runs what is pending, once
    EXPECT_TRUE(ran);

    useFakeClock();
    const auto fake0 = fakeClock.now;
    const auto real0 = std::chrono::steady_clock::now();
    PauseMs(5000);
    EXPECT_EQ(fakeClock.now - fake0, 5000);
    EXPECT_LT(std::chrono::steady_clock::now() - real0, std::chrono::milliseconds(500));
}

TEST_F(ProtocolTest, CommErrorMessage) {
    ShowCommError();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text,
              "Communication error. Check the signal conditioner, cable and/or COM port setting.");
    EXPECT_EQ(messages.shown[0].title, "Test of communication");
    EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Exclamation);
}

// The one rule every screen and dialog tells a refused read by.
TEST(Refusal, OnlyCngAndNeedlessAreRefusals) {
    for (const char* r : {"CNG", "NEEDLESS"}) EXPECT_TRUE(IsRefusal(r)) << r;
    for (const char* r : {"", "13:CNG", "cng", "CNU", "0", "NEEDLESS ", "DTMOUT"}) EXPECT_FALSE(IsRefusal(r)) << r;
}
