// The station's answers frame by frame, without a line.
#include <gtest/gtest.h>

#include <utility>

#include "sim/Simulator.h"

using k6sim::Simulator;

namespace {

using Exchange = std::vector<std::pair<std::string, std::string>>;  // frame, reply

void expectReplies(Simulator& sim, const Exchange& steps) {
    for (const auto& [frame, reply] : steps) EXPECT_EQ(sim.answer(frame), reply) << "frame " << frame;
}

void select(Simulator& sim, const std::string& card) {
    for (const char* f : {"G00", "I01", "DF", "G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D" + card), "D" + card);
}

}  // namespace

TEST(StationRules, CommunicationCardListsTheSlotsAndAnswersItsOwnItemsBare) {
    Simulator sim;
    expectReplies(sim, {{"G00", "COK"},
                        {"I04", "DK6-OW1:RUN"},
                        {"I40", "D1.00"},
                        {"I10", "D10:BW4"},
                        {"I12", "D12:BW16"},
                        {"I24", "D24:UNKNOWN"},
                        {"I25", "D25:GBH"},
                        {"I26", "CNU"},
                        {"I77", "CNU"},
                        {"G01", "COK"},
                        {"I01", "D01:0"},
                        {"D1", "D1"},
                        {"G02", "CNG"}});
}

TEST(StationRules, SelectedIoCardAnswersWithTaggedValues) {
    Simulator sim;
    select(sim, "1");
    EXPECT_EQ(sim.selectedCard(), 1);
    expectReplies(sim, {{"G00", "COK"},
                        {"I04", "D04:BW4"},
                        {"I40", "D40:1.02"},
                        {"I39", "D39:01,80,FF"},
                        {"I10", "D10:+012.5"},
                        {"I13", "D13:+004.0"},
                        {"I14", "CNU"},
                        {"G01", "COK"},
                        {"I42", "D42:0"},
                        {"G02", "COK"},
                        {"I42", "D42:0"},
                        {"G03", "CNG"}});
    select(sim, "16");
    expectReplies(sim, {{"G00", "COK"}, {"I04", "D04:GBH11231"}, {"G01", "COK"}, {"I17", "D17:0008"}});
    select(sim, "13");
    expectReplies(sim, {{"G00", "COK"}, {"I10", "D10:00A5"}, {"I14", "D14:+001.0"}, {"G04", "COK"}, {"I7", "D07:0"}});
}

TEST(StationRules, SelectionTakesEitherOrderAndEveryCardNumberForm) {
    Simulator sim;
    // Item 41 before item 01, as the DIP-switch screen writes them.
    expectReplies(sim, {{"G00", "COK"}, {"I41", "D41:0"}, {"D5", "D5"}, {"G00", "COK"}, {"I01", "D01:F"}, {"DF", "DF"}});
    EXPECT_EQ(sim.selectedCard(), 5);
    const std::pair<std::string, int> forms[] = {{"00", 0}, {"16", 16}, {"0", 0}, {"012", 12}};
    for (const auto& [text, card] : forms) {
        select(sim, text);
        EXPECT_EQ(sim.selectedCard(), card) << text;
    }
    EXPECT_EQ(sim.answer("I41"), "D41:012");
    for (const std::string bad : {"17", "x", "", "-1", " 3"}) {
        EXPECT_EQ(sim.answer("D" + bad), "CNG") << bad;
        EXPECT_EQ(sim.selectedCard(), 12) << bad;
    }
}

TEST(StationRules, EmptySlotAcceptsOnlyTheCommonGroupAndUsesNoItem) {
    Simulator sim;
    select(sim, "15");
    EXPECT_EQ(sim.selectedCard(), 15);
    expectReplies(sim, {{"G00", "COK"},
                        {"I04", "CNU"},
                        {"I40", "CNU"},
                        {"I10", "CNU"},
                        {"D1", "CNU"},
                        {"I41", "D41:15"},
                        {"G99", "COK"},
                        {"G01", "CNG"},
                        {"G02", "CNG"}});
}

TEST(StationRules, GroupAndItemTextsAreNumbers) {
    Simulator sim;
    select(sim, "1");
    expectReplies(sim, {{"G1", "COK"},
                        {"I042", "D42:0"},
                        {"G001", "COK"},
                        {"I1", "D01:0"},
                        {"G0", "COK"},
                        {"I4", "D04:BW4"},
                        {"I04", "D04:BW4"},
                        {"G99", "COK"},
                        {"I1", "CNU"},
                        {"Gx1", "CNG"},
                        {"I10", "CNG"},  // no group accepted
                        {"G", "CNG"},
                        {"G100", "CNG"},
                        {"G00", "COK"},
                        {"I", "CNG"},
                        {"I1a", "CNG"},
                        {"D3", "CNG"},  // no item named
                        {"", "CNG"},
                        {"X00", "CNG"},
                        {"g00", "CNG"}});
}

TEST(StationRules, DataFramesStoreAndEcho) {
    Simulator sim;
    select(sim, "2");
    expectReplies(sim, {{"G01", "COK"},
                        {"I44", "D44:0"},
                        {"D-1234", "D-1234"},
                        {"I44", "D44:-1234"},
                        {"D", "D"},  // an empty value is a value
                        {"I99", "CNU"},
                        {"D5", "CNU"},
                        {"G00", "COK"},
                        {"I04", "D04:BW8"},
                        {"DNEW", "DNEW"},
                        {"I40", "D40:1.00"},
                        {"D2.00", "D2.00"}});
    EXPECT_EQ(sim.value(2, "01", 44), "");
    EXPECT_EQ(sim.value(2, "00", 4), "NEW");
    EXPECT_EQ(sim.value(2, "0", 40), "2.00");
    EXPECT_EQ(sim.station().slots[1].modelText, "NEW");
    // The slot list is the station's own: the communication card refuses a write to it.
    select(sim, "0");
    expectReplies(sim, {{"G00", "COK"}, {"I11", "D11:BW8"}, {"DBW4", "CNG"}, {"I11", "D11:BW8"}});
}

TEST(StationRules, ValueAccessSeesWhatTheFramesSee) {
    Simulator sim;
    sim.setValue(3, "1", 42, "-500");
    sim.setValue(0, "00", 40, "1.23");
    sim.setValue(0, "00", 10, "IGNORED");  // worked out from the slots
    sim.setValue(15, "00", 10, "IGNORED");  // an empty slot holds nothing
    EXPECT_EQ(sim.value(3, "01", 42), "-500");
    EXPECT_EQ(sim.value(0, "00", 10), "BW4");
    EXPECT_EQ(sim.value(0, "00", 24), "UNKNOWN");
    EXPECT_EQ(sim.value(15, "00", 10), "");
    EXPECT_EQ(sim.value(17, "00", 10), "");
    EXPECT_EQ(sim.answer("G00"), "COK");
    EXPECT_EQ(sim.answer("I40"), "D1.23");
    select(sim, "3");
    expectReplies(sim, {{"G01", "COK"}, {"I42", "D42:-500"}});
    k6sim::Station s = sim.station();
    s.slots[2] = k6sim::Card{};
    sim.setStation(s);
    expectReplies(sim, {{"G01", "CNG"}, {"G00", "COK"}, {"I04", "CNU"}});
    EXPECT_EQ(sim.selectedCard(), 3);
}
