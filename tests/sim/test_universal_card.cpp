// The universal input card of the simulator: its two variants, its items in
// group 01 read with a data frame, and the channel carried in the data.
#include <gtest/gtest.h>

#include <utility>

#include "sim/Simulator.h"

using k6sim::Simulator;
using k6sim::Station;

namespace {

using Exchange = std::vector<std::pair<std::string, std::string>>;  // frame, reply

void expectReplies(Simulator& sim, const Exchange& steps) {
    for (const auto& [frame, reply] : steps) EXPECT_EQ(sim.answer(frame), reply) << "frame " << frame;
}

void select(Simulator& sim, const std::string& card) {
    for (const char* f : {"G00", "I01", "DF", "G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D" + card), "D" + card);
}

Station universalStation() {
    Station s;
    std::string error;
    EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/universal.k6", s, error)) << error;
    return s;
}

// A read as the universal card screen makes it: group, item, then the data.
void expectRead(Simulator& sim, const std::string& item, const std::string& data, const std::string& reply) {
    ASSERT_EQ(sim.answer("G01"), "COK");
    const std::string itemReply = sim.answer("I" + item);
    EXPECT_NE(itemReply, "CNU") << "item " << item;
    EXPECT_NE(itemReply, "CNG") << "item " << item;
    EXPECT_EQ(sim.answer("D" + data), reply) << "item " << item << " data " << data;
}

}  // namespace

TEST(UniversalCard, StationFileHoldsBothVariants) {
    const Station s = universalStation();
    EXPECT_EQ(s.slots[0].code, "YK4");
    EXPECT_EQ(s.slots[0].version, "1.10");
    EXPECT_EQ(s.slots[1].code, "YK4A");
    EXPECT_EQ(s.slots[2].code, "");
    Simulator sim(s);
    select(sim, "1");
    expectRead(sim, "90", "", "DK6_YK4");
    expectRead(sim, "92", "", "D1.10");
    expectRead(sim, "87", "", "D87:1");
    expectRead(sim, "13", "", "D13:2");
    expectRead(sim, "05", "03", "D05:1C");
    expectRead(sim, "20", "03", "D20:2");
    expectRead(sim, "50", "04", "D50:0");
    select(sim, "2");
    expectRead(sim, "90", "", "DK6_YK4/A");
    expectRead(sim, "92", "", "D1.02");
    expectRead(sim, "13", "", "D13:3");
    expectRead(sim, "05", "02", "D05:36");
    expectRead(sim, "53", "01", "D53:-0.50");
    expectRead(sim, "54", "01", "D54:1.0250");
}

TEST(UniversalCard, DefaultsOfEachChannel) {
    Station s;
    std::string error;
    ASSERT_TRUE(k6sim::parseStation("slot 4 YK4\nslot 5 YK4A version 2.00\n", s, error)) << error;
    Simulator sim(s);
    select(sim, "4");
    expectReplies(sim, {{"G00", "COK"}, {"I10", "D10:+001.0"}, {"I13", "D13:+004.0"}});
    const char* const types[] = {"11", "30", "00", "50"};  // on the lists of both variants
    for (int ch = 1; ch <= 4; ++ch) {
        const std::string cc = "0" + std::to_string(ch);
        expectRead(sim, "05", cc, std::string("D05:") + types[ch - 1]);
        expectRead(sim, "50", cc, "D50:1");
        expectRead(sim, "51", cc, "D51:0");
        expectRead(sim, "52", cc, "D52:1000");
        expectRead(sim, "53", cc, "D53:0.00");
        expectRead(sim, "54", cc, "D54:1.0000");
        expectRead(sim, "55", cc, "D55:0");
        expectRead(sim, "56", cc, "D56:10000");
    }
    expectRead(sim, "20", "01", "D20:1");
    expectRead(sim, "25", "01", "D25:1");
    expectRead(sim, "25", "02", "D25:0");
    expectRead(sim, "57", "", "D57:0");
    expectRead(sim, "92", "", "D1.00");
    select(sim, "5");
    expectRead(sim, "90", "", "DK6_YK4/A");
    expectRead(sim, "92", "", "D2.00");
    expectRead(sim, "87", "", "D87:0");
    expectRead(sim, "13", "", "D13:3");
}

TEST(UniversalCard, ChannelInTheDataReadsAndWritesThatChannel) {
    Simulator sim(universalStation());
    select(sim, "1");
    expectReplies(sim, {
        {"G01", "COK"},
        {"I05", "D05:11"},   // the item frame answers with channel 1
        {"D02", "D05:30"},   // the channel alone reads it
        {"D021C", "D021C"},  // channel and value write it
        {"D02", "D05:1C"},
        {"D01", "D05:11"},
        {"D04", "D05:50"},
        {"D05", "CNG"},  // no channel 5
        {"D00", "CNG"},
        {"D1", "CNG"},
        {"D", "CNG"},
        {"D 1", "CNG"},
        {"I55", "D55:0"},
        {"D03-32000", "D03-32000"},
        {"D03", "D55:-32000"},
        {"D01", "D55:0"},
        {"I53", "D53:0.00"},
        {"D04", "D53:0.00"},
        {"D04-", "D04-"},  // the card stores whatever text comes
        {"D04", "D53:-"},
    });
    EXPECT_EQ(sim.value(1, "01", 1052), "1C");
    EXPECT_EQ(sim.value(1, "01", 1553), "-32000");
    EXPECT_EQ(sim.value(1, "01", 1051), "11");
    // Each frame sequence stands alone: a new group and item frame start over.
    expectReplies(sim, {{"G01", "COK"},
                        {"I50", "D50:1"},
                        {"D040", "D040"},
                        {"G01", "COK"},
                        {"I50", "D50:1"},
                        {"D04", "D50:0"}});
}

TEST(UniversalCard, CardItemsReadWithEmptyDataAndWriteWithAValue) {
    Simulator sim(universalStation());
    select(sim, "2");
    expectReplies(sim, {
        {"G01", "COK"},
        {"I87", "D87:0"},
        {"D", "D87:0"},
        {"D1", "D1"},
        {"D", "D87:1"},
        {"I13", "D13:3"},
        {"D2", "D2"},
        {"D", "D13:2"},
        {"I57", "D57:0"},
        {"D1", "D1"},
        {"D", "D57:1"},
        // Model and version: answered bare, never written.
        {"I90", "D90:K6_YK4/A"},
        {"D", "DK6_YK4/A"},
        {"DK6_YK4", "CNG"},
        {"D", "DK6_YK4/A"},
        {"I92", "D92:1.02"},
        {"D", "D1.02"},
        {"D9.99", "CNG"},
        // Item 01 of the group is written as on every card.
        {"I01", "D01:0"},
        {"D1", "D1"},
        {"I01", "D01:1"},
    });
}

TEST(UniversalCard, ItemsTheCardDoesNotUse) {
    Simulator sim(universalStation());
    select(sim, "1");
    expectReplies(sim, {
        {"G01", "COK"},
        {"I99", "CNU"},
        {"D01", "CNU"},
        {"I1052", "CNU"},  // where the station keeps a channel value: no item of the card
        {"D01", "CNU"},
        {"D0130", "CNU"},
        {"I10", "CNU"},  // the live values are in group 00
        {"G03", "CNG"},
    });
    EXPECT_EQ(sim.value(1, "01", 1051), "11");
    // Another family keeps the plain rules in the same group: an empty value is a value.
    Station s;
    std::string error;
    ASSERT_TRUE(k6sim::parseStation("slot 1 BW4\n", s, error)) << error;
    Simulator other(s);
    select(other, "1");
    expectReplies(other,
                  {{"G01", "COK"}, {"I42", "D42:0"}, {"D01", "D01"}, {"I42", "D42:01"}, {"D", "D"}, {"I42", "D42:"}});
}
