// The power cards and the heat and flow card of the simulator: the station file
// with every variant, the items each variant holds, the energy clear and the
// totals' presets.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "sim/Simulator.h"

using k6sim::Simulator;
using k6sim::Station;

namespace {

Station powerStation() {
    Station s;
    std::string error;
    EXPECT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/power_heat.k6", s, error)) << error;
    return s;
}

void select(Simulator& sim, int slot) {
    for (const char* f : {"G00", "I01", "DF", "G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D" + std::to_string(slot)), "D" + std::to_string(slot));
}

std::string read(Simulator& sim, const std::string& group, int item) {
    EXPECT_EQ(sim.answer("G" + group), "COK");
    return sim.answer("I" + std::to_string(item));
}

std::string write(Simulator& sim, const std::string& group, int item, const std::string& data) {
    EXPECT_EQ(sim.answer("G" + group), "COK");
    EXPECT_NE(sim.answer("I" + std::to_string(item)), "CNU");
    return sim.answer("D" + data);
}

}  // namespace

TEST(PowerCards, StationFileHoldsEveryVariant) {
    const Station s = powerStation();
    const std::vector<std::pair<int, std::string>> codes = {
        {1, "GB10"},      {2, "GB1A"},      {3, "GB1B"},      {4, "GB400000"}, {5, "GB400001"}, {6, "GB400002"},
        {7, "GB400003"},  {8, "GB4A0003"},  {9, "GB4B0002"},  {10, "GB40"},    {11, "FS2"},     {12, "FS2"},
        {13, ""}};
    for (const auto& [slot, code] : codes) EXPECT_EQ(s.slot(slot).code, code) << slot;
    EXPECT_EQ(s.slot(1).version, "1.03");
    EXPECT_EQ(s.slot(11).version, "1.20");
}

TEST(PowerCards, CtRatingsOfEachVariant) {
    Simulator sim(powerStation());
    struct Case {
        int slot;
        std::vector<int> held, notHeld;
    };
    const Case cases[] = {
        {1, {58, 59, 60, 61, 62, 63, 81, 82}, {64, 83, 84}},
        {2, {58, 59, 60, 81, 82, 83, 84}, {61, 62, 63, 85}},
        {4, {61, 72, 50, 57, 18, 21}, {73, 83}},
        {8, {83, 90}, {61, 72, 91}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        select(sim, c.slot);
        for (int item : c.held) EXPECT_NE(read(sim, "01", item), "CNU") << item;
        for (int item : c.notHeld) EXPECT_EQ(read(sim, "01", item), "CNU") << item;
    }
    select(sim, 1);
    EXPECT_EQ(read(sim, "01", 61), "D61:5");
    EXPECT_EQ(read(sim, "01", 62), "D62:1");
    EXPECT_EQ(read(sim, "00", 10), "D10:+1234.5");
    EXPECT_EQ(read(sim, "00", 21), "D21:0078");
    EXPECT_EQ(read(sim, "00", 22), "CNU");
    select(sim, 8);
    EXPECT_EQ(read(sim, "01", 83), "D83:100");
    EXPECT_EQ(read(sim, "01", 84), "D84:1");
    EXPECT_EQ(read(sim, "00", 25), "D25:+016.0");
}

TEST(PowerCards, EnergyClearZeroesTheCounters) {
    struct Case {
        int slot;
        int firstCounter, lastLive;
    };
    // One circuit: counters 14 to 21. Four channels: 14 to 25, or all in modes 2 and 3.
    const Case cases[] = {{1, 14, 21}, {4, 14, 25}, {5, 14, 25}, {6, 10, 25}, {7, 10, 25}, {8, 10, 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        Simulator sim(powerStation());
        select(sim, c.slot);
        std::vector<std::string> before;
        for (int item = 10; item <= c.lastLive; ++item) before.push_back(read(sim, "00", item));
        EXPECT_EQ(write(sim, "01", 81, "1"), "D1");
        for (int item = 10; item <= c.lastLive; ++item) {
            const std::string tag = "D" + std::to_string(item) + ":";
            EXPECT_EQ(read(sim, "00", item), item >= c.firstCounter ? tag + "0" : before[item - 10]) << item;
        }
    }
    // Any other data is only stored.
    Simulator sim(powerStation());
    select(sim, 1);
    EXPECT_EQ(write(sim, "01", 81, "0"), "D0");
    EXPECT_EQ(read(sim, "00", 14), "D14:5678");
}

TEST(PowerCards, HeatFlowItemsAndPresets) {
    Simulator sim(powerStation());
    select(sim, 11);
    EXPECT_EQ(read(sim, "00", 12), "D12:12.34");
    EXPECT_EQ(read(sim, "00", 63), "D63:MJ/h");
    EXPECT_EQ(read(sim, "00", 64), "D64:GJ/h");
    EXPECT_EQ(read(sim, "00", 71), "D71:+020.0");
    EXPECT_EQ(read(sim, "00", 26), "CNU");
    EXPECT_EQ(read(sim, "01", 19), "D19:100.00");
    EXPECT_EQ(read(sim, "02", 43), "D43:0");
    EXPECT_EQ(read(sim, "02", 23), "D23:0.00");
    // Each preset sets its total.
    const std::pair<int, int> presets[] = {{26, 14}, {27, 16}, {28, 22}, {29, 24},
                                           {30, 15}, {31, 17}, {32, 23}, {33, 25}};
    for (const auto& [item, total] : presets) {
        const std::string value = std::to_string(item) + ".5";
        EXPECT_EQ(write(sim, "02", item, value), "D" + value);
        EXPECT_EQ(read(sim, "00", total), "D" + std::to_string(total) + ":" + value) << item;
    }
    select(sim, 12);
    EXPECT_EQ(read(sim, "00", 63), "D63:GJ/h");
    EXPECT_EQ(read(sim, "00", 14), "D14:001234.56");  // the other card's totals are its own
}
