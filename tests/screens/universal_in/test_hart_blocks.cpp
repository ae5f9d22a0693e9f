// The HART block transfer: chunk addresses and lengths, and the block write and
// read against the simulator on a pseudo-terminal, frame by frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Protocol.h"
#include "screens/universal_in/HartBlocks.h"
#include "tests/support/SimFixture.h"

using namespace talvo;
using namespace talvo::screens::hart;

namespace {

constexpr int kSlot = 4;  // the XR4 card of sim/stations/universal.k6

const Block& block(BlockId id) { return blockOf(id); }

int countOf(const std::vector<std::string>& frames, const std::string& frame) {
    return static_cast<int>(std::count(frames.begin(), frames.end(), frame));
}

// Upper-case hexadecimal characters, different all the way along.
std::string hexText(std::size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += digits[(i * 7 + i / 16) % 16];
    return s;
}

class HartBlockTest : public test::SimTest {
public:
    HartBlockTest() {
        k6sim::Station station;
        std::string error;
        EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/universal.k6", station, error)) << error;
        sim.setStation(station);
    }
    void SetUp() override {
        SimTest::SetUp();
        ASSERT_FALSE(WriteItem(3, "00", "41", std::to_string(kSlot)).empty());
        sim.clearFrames();
    }
    // The frames of one item write of the dialog's own: group, item, data.
    static std::vector<std::string> writeFrames(const std::string& group, const std::string& item,
                                                const std::vector<std::string>& data) {
        std::vector<std::string> f;
        for (const std::string& d : data) f.insert(f.end(), {"G" + group, "I" + item, "D" + d});
        return f;
    }
    k6sim::Fault onFrame(const std::string& frame, k6sim::FaultAction action, const std::string& text = "") {
        k6sim::Fault f = test::fault(frame, kSlot, action, text);
        return f;
    }
};

}  // namespace

TEST(HartChunks, AddressesAndLengthsInUpperCaseHex) {
    struct Case {
        int offset, width;
        std::string address;
    };
    const Case cases[] = {{0, 2, "00"}, {16, 2, "10"}, {176, 2, "B0"}, {240, 2, "F0"}, {0, 3, "000"},
                          {16, 3, "010"}, {496, 3, "1F0"}, {256, 2, "00"} /* the last two digits */};
    for (const Case& c : cases) EXPECT_EQ(ChunkAddress(c.offset, c.width), c.address) << c.offset;
    EXPECT_EQ(ChunkLength(8), "08");
    EXPECT_EQ(ChunkLength(16), "10");
    EXPECT_EQ(ChunkLength(4), "04");
}

TEST(HartChunks, AWriteSendsTheChunksTheTextFills) {
    // 20 characters of constant data: a full chunk and one of four.
    const std::string twenty = hexText(20);
    EXPECT_EQ(WriteChunks(block(BlockId::ConstantData), twenty),
              (std::vector<std::string>{"W0010" + twenty.substr(0, 16), "W1004" + twenty.substr(16)}));
    // 184 characters of auto command: 23 chunks of 8 at 00, 08, .., B0.
    const std::vector<std::string> autoCmd = WriteChunks(block(BlockId::AutoCommand), hexText(184));
    ASSERT_EQ(autoCmd.size(), 23u);
    for (std::size_t i = 0; i < autoCmd.size(); ++i)
        EXPECT_EQ(autoCmd[i].substr(0, 5), "W" + ChunkAddress(static_cast<int>(8 * i), 2) + "08") << i;
    EXPECT_EQ(autoCmd.back().substr(0, 5), "WB008");
    // Item 40: three-digit addresses.
    const std::vector<std::string> dsc = WriteChunks(block(BlockId::DeviceSpecificCommand), hexText(512));
    ASSERT_EQ(dsc.size(), 32u);
    EXPECT_EQ(dsc.front().substr(0, 6), "W00010");
    EXPECT_EQ(dsc.back().substr(0, 6), "W1F010");
    // Nothing for an empty text; no more than the block for a longer one.
    EXPECT_TRUE(WriteChunks(block(BlockId::ConstantData), "").empty());
    EXPECT_EQ(WriteChunks(block(BlockId::AnalogChannelCodes), hexText(12)),
              std::vector<std::string>{"W0008" + hexText(8)});
    EXPECT_EQ(ReadRequest(block(BlockId::DeviceSpecificCommand), 31), "R1F010");
    EXPECT_EQ(ReadRequest(block(BlockId::AnalogChannelCodes), 0), "R0008");
}

TEST_F(HartBlockTest, WritesAndReadsBackEveryBlock) {
    for (const Block& b : kBlocks) {
        SCOPED_TRACE(b.item);
        const std::string text = hexText(static_cast<std::size_t>(b.size()));
        sim.clearFrames();
        ASSERT_TRUE(WriteHartBlock(b, "3", text));
        EXPECT_EQ(sim.frames(), writeFrames("3", b.item, WriteChunks(b, text)));
        EXPECT_EQ(sim.value(kSlot, "03", std::stoi(b.item)), text);
        sim.clearFrames();
        const BlockRead read = ReadHartBlock(b, "3");
        EXPECT_EQ(read.outcome, BlockOutcome::Read);
        EXPECT_EQ(read.text, text);
        std::vector<std::string> requests;
        for (int i = 0; i < b.chunks; ++i) requests.push_back(ReadRequest(b, i));
        EXPECT_EQ(sim.frames(), writeFrames("3", b.item, requests));
    }
}

TEST_F(HartBlockTest, TwentyCharactersOfConstantDataAndShortBlocksReadBack) {
    const std::string twenty = hexText(20);
    ASSERT_TRUE(WriteHartBlock(block(BlockId::ConstantData), "2", twenty));
    EXPECT_EQ(sim.value(kSlot, "02", 41), twenty);
    // The chunks after the text's end answer with the echo alone.
    EXPECT_EQ(ReadHartBlock(block(BlockId::ConstantData), "2").text, twenty);
    const BlockRead none = ReadHartBlock(block(BlockId::AutoCommand), "2");
    EXPECT_EQ(none.outcome, BlockOutcome::Read);
    EXPECT_EQ(none.text, "");
    sim.clearFrames();
    EXPECT_TRUE(WriteHartBlock(block(BlockId::AutoCommand), "2", ""));
    EXPECT_TRUE(sim.frames().empty());
}

// Refusals fail each of the four attempts; "CNU" and "DTMOUT" bring no
// characters either, so they never become a chunk's text.
TEST_F(HartBlockTest, DataRepliesThatRefuseOrTimeOutFailTheAttempt) {
    useFakeClock();
    struct Case {
        std::string reply;  // to the data frame
        std::string result;
    };
    const Case cases[] = {
        {"CNG", ""}, {"DXNG", ""}, {"DNG", ""}, {"CNU", ""}, {"DTMOUT", ""}, {"  DTMOUT ", ""},
        {"DR0008ABCD", "R0008ABCD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        sim.clearFaults();
        sim.clearFrames();
        sim.addFault(onFrame("DR0008", k6sim::FaultAction::Reply, c.reply));
        EXPECT_EQ(HartWriteItem(3, "1", "38", "R0008"), c.result);
        EXPECT_EQ(sim.frames().size(), c.result.empty() ? 12u : 3u);
    }
    // A refused item frame fails the attempt before any data goes out.
    sim.clearFaults();
    sim.clearFrames();
    sim.addFault(onFrame("I38", k6sim::FaultAction::Reply, "CNU"));
    EXPECT_EQ(HartWriteItem(0, "1", "38", "R0008"), "");
    EXPECT_EQ(sim.frames(), (std::vector<std::string>{"G1", "I38"}));
}

TEST_F(HartBlockTest, AReadWithAChunkMissingFailsWholeAndAsksNoFurther) {
    useFakeClock();
    // Chunk 5 of the constant data is never answered.
    sim.addFault(onFrame("DR5010", k6sim::FaultAction::Silence));
    EXPECT_EQ(ReadHartBlock(block(BlockId::ConstantData), "1").outcome, BlockOutcome::Unanswered);
    EXPECT_EQ(countOf(sim.frames(), "DR5010"), 4);
    EXPECT_EQ(countOf(sim.frames(), "DR6010"), 0);
}

TEST_F(HartBlockTest, ChunksThatWouldShiftLaterOnesFailTheRead) {
    struct Case {
        std::string frame, reply;
        bool fails;
    };
    const Case cases[] = {
        // Chunk 0 short, chunk 1 with characters: joined they would stand at other addresses.
        {"DR0010", "DR0010ABCD", true},
        // More characters than a chunk holds.
        {"DR0010", "DR0010" + hexText(17), true},
        // No echo: the reply is the chunk as it stands.
        {"DR0010", "D" + hexText(16), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        sim.clearFaults();
        sim.addFault(onFrame(c.frame, k6sim::FaultAction::Reply, c.reply));
        const BlockRead read = ReadHartBlock(block(BlockId::DeviceVariableCodes), "1");
        EXPECT_EQ(read.outcome, c.fails ? BlockOutcome::Damaged : BlockOutcome::Read);
        if (c.fails) {
            EXPECT_EQ(read.text, "");
        }
    }
    // A short last chunk is the end of the text.
    sim.clearFaults();
    sim.setValue(kSlot, "01", 37, hexText(20));
    EXPECT_EQ(ReadHartBlock(block(BlockId::DeviceVariableCodes), "1").text, hexText(20));
}

// The card's refusal of a chunk is its answer: the block is refused (or not
// used) at once, nothing is asked again and no chunk after it is asked for. A
// rejection of the data frame itself fails the attempt as no answer does.
TEST_F(HartBlockTest, ARefusedChunkRefusesTheBlockAtOnce) {
    useFakeClock();
    struct Case {
        std::string frame, reply;
        BlockOutcome outcome;
        std::vector<std::string> frames;  // of the chunk that ended it
    };
    const std::string chunk1 = ReadRequest(block(BlockId::ConstantData), 1);
    const Case cases[] = {
        {"I41", "CNG", BlockOutcome::Refused, {"G1", "I41"}},
        {"I41", "D    invalid data", BlockOutcome::Refused, {"G1", "I41"}},
        {"I41", "CNU", BlockOutcome::Needless, {"G1", "I41"}},
        {"D" + chunk1, "DXNG", BlockOutcome::Refused, {"G1", "I41", "D" + chunk1}},
        {"D" + chunk1, "CNG", BlockOutcome::Unanswered,
         {"G1", "I41", "D" + chunk1, "G1", "I41", "D" + chunk1, "G1", "I41", "D" + chunk1, "G1", "I41", "D" + chunk1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame + " " + c.reply);
        sim.clearFaults();
        k6sim::Fault f = onFrame(c.frame, k6sim::FaultAction::Reply, c.reply);
        if (c.frame == "I41") f.skip = 1;  // chunk 0 is answered
        sim.addFault(f);
        sim.clearFrames();
        const BlockRead read = ReadHartBlock(block(BlockId::ConstantData), "1");
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.text, "");
        std::vector<std::string> expected = writeFrames("1", "41", {ReadRequest(block(BlockId::ConstantData), 0)});
        expected.insert(expected.end(), c.frames.begin(), c.frames.end());
        EXPECT_EQ(sim.frames(), expected);
    }
}

TEST_F(HartBlockTest, AWriteStopsAtTheFirstChunkTheCardDoesNotTake) {
    const std::string text = hexText(64);
    sim.addFault(onFrame("DW1010" + text.substr(16, 16), k6sim::FaultAction::Reply, "CNG"));
    EXPECT_FALSE(WriteHartBlock(block(BlockId::ConstantData), "1", text));
    EXPECT_EQ(countOf(sim.frames(), "DW1010" + text.substr(16, 16)), 4);
    EXPECT_EQ(countOf(sim.frames(), "DW2010" + text.substr(32, 16)), 0);
}

// An extra copy of chunk 0's echo comes while chunk 1's data frame, lost on the
// line, waits for its reply: it is no reply to chunk 1, which is sent again, so
// the card ends up with the whole new block and not with half of the old one.
TEST_F(HartBlockTest, AnExtraEchoOfAnEarlierChunkDoesNotAnswerALostChunk) {
    const Block& b = block(BlockId::DeviceVariableCodes);
    const std::string old(32, 'F');
    sim.setValue(kSlot, "01", 37, old);
    const std::string text = hexText(32);
    const std::vector<std::string> chunks = WriteChunks(b, text);
    ASSERT_EQ(chunks.size(), 2u);
    k6sim::Fault extra = onFrame("D" + chunks[0], k6sim::FaultAction::ExtraLate, "D" + chunks[0]);
    extra.count = 1;
    extra.delayMs = 1000;  // well inside chunk 1's wait, whatever the load
    sim.addFault(extra);
    k6sim::Fault lost = onFrame("D" + chunks[1], k6sim::FaultAction::Silence);
    lost.count = 1;
    sim.addFault(lost);
    EXPECT_TRUE(WriteHartBlock(b, "1", text));
    EXPECT_EQ(sim.frames(), writeFrames("1", b.item, {chunks[0], chunks[1], chunks[1]}));
    EXPECT_EQ(sim.value(kSlot, "01", 37), text);
}
