// Station descriptions: the format, its errors, the family defaults and the
// station that ships.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/Simulator.h"

using k6sim::Card;
using k6sim::Station;

namespace {

Station parsed(const std::string& text) {
    Station s;
    std::string error;
    EXPECT_TRUE(k6sim::parseStation(text, s, error)) << error;
    return s;
}

// The value of an item, or "-" when the card does not hold it.
std::string item(const Card& c, const std::string& group, int n) {
    const auto g = c.groups.find(group);
    if (g == c.groups.end()) return "-";
    const auto i = g->second.find(n);
    return i == g->second.end() ? "-" : i->second;
}

}  // namespace

TEST(StationFile, ShippedFileIsTheBuiltInStation) {
    Station fromFile;
    std::string error;
    ASSERT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/default.k6", fromFile, error)) << error;
    EXPECT_TRUE(fromFile == k6sim::defaultStation());
}

TEST(StationFile, DefaultStationHoldsOneCardOfEveryFamily) {
    const Station s = k6sim::defaultStation();
    EXPECT_EQ(s.comm.modelText, "K6-OW1:RUN");
    EXPECT_EQ(s.comm.version, "1.00");
    const char* const codes[16] = {"BW4", "BW8", "BW16", "HG4",  "HG8", "HG8A", "BWT8", "EK4",
                                   "EK8", "ZN2", "FD4",  "FD8",  "KR4", "KR8",  "",     "GBH"};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(s.slots[i].code, codes[i]) << "slot " << i + 1;
    EXPECT_EQ(s.slots[15].modelText, "GBH11231");
    EXPECT_EQ(s.slots[0].version, "1.02");
    EXPECT_EQ(item(s.slots[0], "00", 39), "01,80,FF");
}

TEST(StationFile, FormatWithOptionsQuotesAndComments) {
    const Station s = parsed(
        "# a station\r\n"
        "comm K6-OW9 version 2.10   # trailing comment\n"
        "  set 01 05 \"a # b\"\n"
        "\n"
        "slot 3 BW4 model K6-BW4 version 0.9\n"
        "  set 00 10 -1.5\n"
        "  set 1 7 \"\"\n"
        "  set 00 04 OTHER\n"
        "slot 16 UNKNOWN\n"
        "slot 5 XYZ9\n");
    EXPECT_EQ(s.comm.modelText, "K6-OW9");
    EXPECT_EQ(s.comm.version, "2.10");
    EXPECT_EQ(item(s.comm, "01", 5), "a # b");
    EXPECT_EQ(item(s.comm, "01", 1), "0");
    const Card& bw4 = s.slots[2];
    EXPECT_EQ(bw4.code, "BW4");
    EXPECT_EQ(bw4.modelText, "OTHER");  // item 04 of group 00 is the model text
    EXPECT_EQ(bw4.version, "0.9");
    EXPECT_EQ(item(bw4, "00", 10), "-1.5");
    EXPECT_EQ(item(bw4, "00", 11), "+002.0");  // the family's default stays
    EXPECT_EQ(item(bw4, "01", 7), "");
    EXPECT_TRUE(s.slots[15] == Card{});
    EXPECT_TRUE(s.slots[0] == Card{});  // a slot not described is empty
    EXPECT_EQ(s.slots[4].modelText, "XYZ9");
    EXPECT_EQ(s.slots[4].version, "1.00");
}

TEST(StationFile, WithoutCommLineTheCommunicationCardIsTheDefaultOne) {
    const Station s = parsed("slot 1 BW4\n");
    EXPECT_EQ(s.comm.modelText, "K6-OW1");
    EXPECT_EQ(s.comm.version, "1.00");
}

TEST(StationFile, ErrorsNameTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"comm K6-OW1\nslto 1 BW4\n", "line 2: unknown keyword 'slto' (expected comm, slot or set)"},
        {"slot 0 BW4\n", "line 1: expected: slot N CODE with N from 1 to 16"},
        {"slot 17 BW4\n", "line 1: expected: slot N CODE with N from 1 to 16"},
        {"slot x BW4\n", "line 1: expected: slot N CODE with N from 1 to 16"},
        {"slot 2\n", "line 1: slot 2 has no model code"},
        {"slot 2 BW4\n\nslot 2 BW8\n", "line 3: slot 2 is described twice"},
        {"comm A\ncomm B\n", "line 2: the communication card is described twice"},
        {"comm\n", "line 1: expected: comm MODELTEXT [version TEXT]"},
        {"set 00 10 1\n", "line 1: 'set' before any comm or slot line"},
        {"slot 1 BW4\nset 100 10 1\n", "line 2: group '100' is not a number from 0 to 99"},
        {"slot 1 BW4\nset 0x 10 1\n", "line 2: group '0x' is not a number from 0 to 99"},
        {"slot 1 BW4\nset 00 -1 1\n", "line 2: item '-1' is not a number from 0 to 9999"},
        {"slot 1 BW4\nset 00 10\n", "line 2: expected: set GROUP ITEM VALUE (quote a value that holds blanks)"},
        {"slot 1 BW4\nset 00 10 a b\n", "line 2: expected: set GROUP ITEM VALUE (quote a value that holds blanks)"},
        {"slot 1 BW4\nset 00 10 \"a b\n", "line 2: unterminated quote"},
        {"slot 1 UNKNOWN\nset 00 10 1\n", "line 2: an empty slot holds no items"},
        {"slot 1 UNKNOWN version 1\n", "line 1: an empty slot takes no options"},
        {"slot 1 BW4 version\n", "line 1: option 'version' has no value"},
        {"slot 1 BW4 colour red\n", "line 1: unknown option 'colour'"},
        {"comm K6 model X\n", "line 1: unknown option 'model'"},
        {"comm K6\nset 00 12 BW4\n", "line 2: group 00 item 12 is worked out by the station and cannot be set"},
        {"slot 1 BW4\nset 00 41 3\n", "line 2: group 00 item 41 is worked out by the station and cannot be set"},
    };
    for (const auto& c : cases) {
        Station s = parsed("slot 9 BW8\n");
        const Station before = s;
        std::string error;
        EXPECT_FALSE(k6sim::parseStation(c.text, s, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_TRUE(s == before) << "a failed parse leaves the station as it was";
    }
}

TEST(StationFile, MissingFileIsAnError) {
    Station s;
    std::string error;
    EXPECT_FALSE(k6sim::loadStation("/nonexistent/station.k6", s, error));
    EXPECT_EQ(error, "cannot read /nonexistent/station.k6");
}

// What a bare slot line gives each family: items that must be there (with their
// value where it matters) and neighbours that must not.
TEST(StationFile, FamilyDefaults) {
    struct Expect {
        const char* group;
        int item;
        const char* value;  // "-": absent; "*": present, any value
    };
    const struct {
        const char* code;
        std::vector<Expect> items;
    } cases[] = {
        {"BW4",
         {{"00", 10, "+001.0"}, {"00", 13, "+004.0"}, {"00", 14, "-"}, {"01", 10, "0"}, {"01", 11, "1.000"},
          {"01", 17, "*"}, {"01", 18, "-"}, {"01", 42, "0"}, {"01", 43, "10000"}, {"01", 49, "*"}, {"01", 50, "-"},
          {"02", 42, "0"}, {"02", 45, "0"}, {"02", 46, "-"}, {"00", 39, "00,00,00"}, {"01", 1, "0"}, {"02", 1, "0"}}},
        {"BW8", {{"00", 17, "+008.0"}, {"00", 18, "-"}, {"01", 25, "*"}, {"01", 57, "*"}, {"02", 49, "0"}}},
        {"BW16", {{"00", 25, "+016.0"}, {"01", 41, "*"}, {"01", 73, "*"}, {"02", 57, "0"}, {"02", 58, "-"}}},
        {"HG4",
         {{"00", 13, "*"}, {"00", 19, "*"}, {"00", 20, "*"}, {"00", 25, "*"}, {"00", 28, "*"}, {"00", 29, "-"},
          {"00", 56, "*"}, {"02", 10, "*"}, {"02", 17, "*"}, {"03", 50, "-"}}},
        {"UB8", {{"00", 32, "*"}, {"02", 25, "*"}, {"02", 49, "*"}, {"03", 50, "-"}}},
        {"HG8A", {{"00", 32, "*"}, {"03", 1, "*"}, {"03", 50, "0.00"}, {"03", 57, "0.00"}, {"03", 58, "-"}}},
        {"BWT8",
         {{"00", 17, "*"}, {"00", 55, "UB1"}, {"00", 56, "VV1"}, {"00", 58, "*"}, {"00", 59, "*"}, {"00", 60, "*"},
          {"02", 17, "*"}, {"02", 18, "-"}, {"03", 40, "*"}, {"03", 43, "*"}, {"03", 44, "-"}}},
        {"EK4", {{"01", 10, "-"}, {"01", 49, "*"}, {"02", 17, "*"}, {"02", 60, "*"}, {"02", 63, "*"}, {"02", 64, "-"}}},
        {"EK8", {{"01", 57, "*"}, {"02", 25, "*"}, {"02", 49, "*"}, {"02", 67, "*"}, {"02", 68, "-"}}},
        {"ZN2",
         {{"00", 11, "*"}, {"00", 12, "-"}, {"01", 4, "*"}, {"01", 13, "*"}, {"01", 45, "*"}, {"02", 43, "*"},
          {"02", 44, "-"}}},
        {"FD4", {{"02", 10, "0"}, {"02", 17, "100"}, {"02", 26, "-"}}},
        {"FD4A", {{"02", 10, "-"}, {"02", 26, "0"}, {"02", 33, "100"}}},
        {"FW4", {{"01", 17, "*"}, {"02", 10, "-"}, {"02", 45, "*"}}},
        {"FD8", {{"02", 26, "*"}, {"02", 41, "*"}, {"02", 10, "-"}, {"00", 17, "*"}}},
        {"KR4",
         {{"00", 10, "0000"}, {"00", 11, "-"}, {"00", 14, "+001.0"}, {"00", 17, "+004.0"}, {"04", 1, "*"},
          {"04", 7, "*"}, {"04", 9, "*"}, {"04", 10, "100.0"}, {"04", 14, "1.0"}, {"04", 18, "L"}, {"04", 19, "-"},
          {"04", 48, "*"}, {"04", 49, "-"}, {"02", 45, "*"}, {"12", 10, "-"}}},
        {"KP4", {{"12", 10, "*"}, {"12", 48, "*"}, {"04", 10, "-"}}},
        {"KR8", {{"00", 11, "0000"}, {"00", 21, "+008.0"}, {"04", 88, "*"}, {"02", 49, "*"}}},
        {"GBH",
         {{"01", 10, "0001"}, {"01", 25, "0016"}, {"02", 9, "*"}, {"02", 10, "0;0;0;0"}, {"02", 25, "0;0;0;0"},
          {"03", 22, "*"}, {"03", 28, "*"}, {"04", 10, "*"}}},
        {"JO16", {{"00", 27, "0000"}}},
        {"JH8", {{"00", 27, "0000"}}},
        {"JO64", {{"01", 6, "0000"}, {"01", 7, "0000"}, {"00", 27, "-"}}},
        {"IK16", {{"00", 26, "00000000"}}},
        {"JOV16", {{"00", 18, "00,00,00"}, {"00", 27, "-"}}},
        {"UJ8", {{"00", 26, "0000"}}},
        {"XYZ9", {{"00", 39, "00,00,00"}, {"01", 1, "0"}, {"02", 1, "0"}, {"00", 10, "-"}}},
    };
    for (const auto& c : cases) {
        const Card card = parsed(std::string("slot 1 ") + c.code + "\n").slots[0];
        for (const Expect& e : c.items) {
            const std::string v = item(card, e.group, e.item);
            if (std::string(e.value) == "*")
                EXPECT_NE(v, "-") << c.code << " group " << e.group << " item " << e.item;
            else
                EXPECT_EQ(v, e.value) << c.code << " group " << e.group << " item " << e.item;
        }
    }
}

// The discrete data views show each point from its own item, the overview the
// same points from the card's words: a shipped station says the same in both,
// so the screen and the overview light the same points.
TEST(StationFile, ShippedDiscreteCardsAgreeWithTheirWords) {
    const char* const files[] = {"default.k6", "pulse.k6", "universal.k6", "power_heat.k6", "gateway.k6"};
    int checked = 0;
    for (const char* file : files) {
        Station s;
        std::string error;
        ASSERT_TRUE(k6sim::loadStation(std::string(K6SIM_STATIONS_DIR "/") + file, s, error)) << file << ": " << error;
        for (const Card& c : s.slots) {
            const std::string stem = c.code.substr(0, 2);
            if ((stem != "JO" && stem != "JH") || c.code.rfind("JOV", 0) == 0) continue;
            // Points: group 00 items 10 on, from 32 points group 01; words as the overview reads them.
            const int points = std::stoi(c.code.substr(2));
            const std::string group = points >= 32 ? "01" : "00";
            const std::vector<std::pair<std::string, int>> words =
                points >= 32 ? std::vector<std::pair<std::string, int>>{{"01", 6}, {"01", 7}}
                             : std::vector<std::pair<std::string, int>>{{"00", 27}};
            for (std::size_t w = 0; w < words.size(); ++w) {
                const std::string hex = item(c, words[w].first, words[w].second);
                const unsigned word = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
                for (int bit = 0; bit < 16; ++bit) {
                    const int point = static_cast<int>(w) * 16 + bit + 1;
                    if (point > points) break;
                    const bool inWord = (word >> bit) & 1u;
                    EXPECT_EQ(item(c, group, 9 + point) == "1", inWord) << file << " " << c.code << " point " << point;
                }
            }
            ++checked;
        }
    }
    EXPECT_EQ(checked, 4) << "JO8, JH16, JO32 and JO64 of pulse.k6";
}
