// The HART input card of the simulator: settings in each channel's own group,
// and the HART blocks written and read in chunks carried in the data frame.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/Simulator.h"

using k6sim::Simulator;
using k6sim::Station;

namespace {

Simulator hartStation() {
    Station s;
    std::string error;
    EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/universal.k6", s, error)) << error;
    EXPECT_EQ(s.slot(4).code, "XR4");
    return Simulator(s);
}

void select(Simulator& sim, const std::string& card) {
    for (const char* f : {"G00", "I01", "DF", "G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D" + card), "D" + card);
}

// An item write as the HART dialog makes it: group, item, data.
std::string write(Simulator& sim, const std::string& group, const std::string& item, const std::string& data) {
    EXPECT_EQ(sim.answer("G" + group), "COK") << group;
    const std::string itemReply = sim.answer("I" + item);
    EXPECT_NE(itemReply, "CNU") << item;
    EXPECT_NE(itemReply, "CNG") << item;
    return sim.answer("D" + data);
}

}  // namespace

TEST(HartCard, SettingsLiveInTheChannelsOwnGroup) {
    Simulator sim = hartStation();
    select(sim, "4");
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"G2", "COK"}, {"I17", "D17:-100"}, {"I18", "D18:10000"}, {"I14", "D14:0.00"}, {"I15", "D15:1.0000"},
        {"G3", "COK"}, {"I27", "D27:1"},    {"G4", "COK"},        {"I33", "D33:3"},    {"G1", "COK"},
        {"I30", "D30:5"}, {"I34", "D34:1"}, {"G5", "CNG"},
    };
    for (const auto& [frame, reply] : steps) EXPECT_EQ(sim.answer(frame), reply) << frame;
    EXPECT_EQ(write(sim, "1", "01", "F"), "DF");
    EXPECT_EQ(write(sim, "2", "50", "9999"), "D9999");
    EXPECT_EQ(sim.value(4, "02", 50), "9999");
}

TEST(HartCard, BlocksMoveInChunks) {
    Simulator sim = hartStation();
    select(sim, "4");
    // Read back what the station file holds, chunk by chunk.
    EXPECT_EQ(write(sim, "1", "37", "R0010"), "DR00100102030405060708");
    EXPECT_EQ(write(sim, "1", "37", "R1010"), "DR1010090A0B0C0D0E0F10");
    EXPECT_EQ(write(sim, "1", "38", "R0008"), "DR000801FAFAFA");
    // Past the end of what the block holds: the echo alone.
    EXPECT_EQ(write(sim, "1", "39", "R1008"), "DR1008");
    // Item 40 takes three-digit addresses.
    EXPECT_EQ(write(sim, "2", "40", "W1F010" + std::string(16, 'A')), "DW1F010AAAAAAAAAAAAAAAA");
    EXPECT_EQ(write(sim, "2", "40", "R1F010"), "DR1F010AAAAAAAAAAAAAAAA");
    EXPECT_EQ(sim.value(4, "02", 40).size(), 512u);
    // A chunk in the middle of a shorter block; the other channels keep theirs.
    EXPECT_EQ(write(sim, "3", "41", "W1004ABCD"), "DW1004ABCD");
    EXPECT_EQ(sim.value(4, "03", 41), std::string(16, '0') + "ABCD");
    EXPECT_EQ(sim.value(4, "01", 41), "00112233445566778899AABBCCDDEEFF0011");
    // Clear.
    EXPECT_EQ(write(sim, "1", "38", "C"), "DC");
    EXPECT_EQ(sim.value(4, "01", 38), "");
}

TEST(HartCard, ChunksTheBlockCannotTakeAreRefused) {
    Simulator sim = hartStation();
    select(sim, "4");
    const char* const refused[] = {
        "W0002ABC",    // three characters for a length of two
        "W1F10" "0123456789ABCDEF",  // past the end of the 32 characters
        "R2010",       // the same for a read
        "R0000",       // no length
        "RZZ10",       // not hexadecimal
        "X0010",       // no such command
        "0102",        // a plain value
    };
    for (const char* data : refused) EXPECT_EQ(write(sim, "1", "37", data), "CNG") << data;
    EXPECT_EQ(write(sim, "1", "40", "W0010" + std::string(16, 'A')), "CNG");  // two-digit address on item 40
    EXPECT_EQ(sim.value(4, "01", 37), "0102030405060708090A0B0C0D0E0F10");
}
