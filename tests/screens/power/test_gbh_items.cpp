// The power monitor's measurement item table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/power/GbhItemTable.h"

using talvo::screens::GbhItemTable;

namespace {

const GbhItemTable& table() { return GbhItemTable::instance(); }

// Every name of the list in item order, written out independently of the
// block rules the table is built from.
std::vector<std::string> ExpectedNames() {
    std::vector<std::string> names = {
        " ", "I", "U", "P", "Q", "S", "PF", "F", "DIR", "I1", "I2", "I3", "IN", "U12", "U23", "U31", "U1N",
        "U2N", "U3N", "P1", "P2", "P3", "Q1", "Q2", "Q3", "S1", "S2", "S3", "PF1", "PF2", "PF3", "DIR1", "DIR2",
        "DIR3", "EP", "EQ", "ES", "EP-", "EQ-", "EQ+LAG", "EQ+LEAD", "EQ-LAG", "EQ-LEAD", "TIMER", "I AVG",
        "I1 AVG", "I2 AVG", "I3 AVG", "IN AVG", "I AVG 1", "I1 AVG 1", "I2 AVG 1", "I3 AVG 1", "IN AVG 1",
        "I AVG 2", "I1 AVG 2", "I2 AVG 2", "I3 AVG 2", "IN AVG 2", "I AVG 3", "I1 AVG 3", "I2 AVG 3", "I3 AVG 3",
        "IN AVG 3", "I AVG 4", "I1 AVG 4", "I2 AVG 4", "I3 AVG 4", "IN AVG 4", "P AVG", "Q AVG", "S AVG",
        "P AVG 1", "Q AVG 1", "S AVG 1", "P AVG 2", "Q AVG 2", "S AVG 2", "P AVG 3", "Q AVG 3", "S AVG 3",
        "P AVG 4", "Q AVG 4", "S AVG 4", "I MAX", "U MAX", "P MAX", "Q MAX", "S MAX", "PF MAX", "F MAX",
        "I1 MAX", "I2 MAX", "I3 MAX", "IN MAX", "U12 MAX", "U23 MAX", "U31 MAX", "U1N MAX", "U2N MAX",
        "U3N MAX", "P1 MAX", "P2 MAX", "P3 MAX", "Q1 MAX", "Q2 MAX", "Q3 MAX", "S1 MAX", "S2 MAX", "S3 MAX",
        "PF1 MAX", "PF2 MAX", "PF3 MAX", "THD I1 MAX", "THD I2 MAX", "THD I3 MAX", "THD IN MAX",
        "THD U12 MAX", "THD U23 MAX", "THD U31 MAX", "THD U1N MAX", "THD U2N MAX", "THD U3N MAX",
        "I MAX AVG", "I1 MAX AVG", "I2 MAX AVG", "I3 MAX AVG", "IN MAX AVG", "P MAX AVG+", "P MAX AVG-",
        "Q MAX AVG+", "Q MAX AVG-", "S MAX AVG", "I MIN", "U MIN", "P MIN", "Q MIN", "S MIN", "PF MIN",
        "F MIN", "I1 MIN", "I2 MIN", "I3 MIN", "IN MIN", "U12 MIN", "U23 MIN", "U31 MIN", "U1N MIN",
        "U2N MIN", "U3N MIN", "P1 MIN", "P2 MIN", "P3 MIN", "Q1 MIN", "Q2 MIN", "Q3 MIN", "S1 MIN", "S2 MIN",
        "S3 MIN", "PF1 MIN", "PF2 MIN", "PF3 MIN", "THD I1", "THD I2", "THD I3", "THD IN", "THD U12",
        "THD U23", "THD U31", "THD U1N", "THD U2N", "THD U3N"};
    for (const char* q : {"I1", "I2", "I3", "IN", "U12", "U23", "U31", "U1N", "U2N", "U3N"})
        for (int h = 2; h <= 31; ++h) names.push_back(std::string("HD ") + q + " " + std::to_string(h));
    return names;
}

}  // namespace

TEST(GbhItemTable, HoldsEveryNameInListOrder) {
    const std::vector<std::string> expected = ExpectedNames();
    ASSERT_EQ(expected.size(), 472u);
    ASSERT_EQ(table().names().size(), 472u);
    for (int k = 0; k < GbhItemTable::kCount; ++k) {
        EXPECT_EQ(table().names()[static_cast<std::size_t>(k)], expected[static_cast<std::size_t>(k)]) << "item " << k;
        EXPECT_EQ(table().item(k).name, expected[static_cast<std::size_t>(k)]) << "item " << k;
    }
}

TEST(GbhItemTable, TellingRowsAsDefinitionTexts) {
    const struct {
        int k;
        const char* text;
    } rows[] = {
        {0, " ,0, ,2"},
        {8, "DIR,15,,2"},
        {39, "EQ+LAG,139,kvarh/10,2"},
        {43, "TIMER,147,hour/10,2"},
        {44, "I AVG,257,mA,2"},
        {49, "I AVG 1,273,mA,2"},
        {72, "P AVG 1,529,W,2"},
        {128, "P MAX AVG+,907,W,2"},
        {171, "THD U3N,1299,%/10,2"},
        {172, "HD I1 2,1537,%/10,1"},
        {180, "HD I1 10,1545,%/10,1"},
        {201, "HD I1 31,1566,%/10,1"},
        {202, "HD I2 2,1601,%/10,1"},
        {471, "HD U3N 31,2142,%/10,1"},
        // A sample of each remaining block, its first and last item.
        {1, "I,1,mA,2"},
        {6, "PF,11,%/100,2"},
        {7, "F,13,Hz/100,2"},
        {9, "I1,33,mA,2"},
        {12, "IN,39,mA,2"},
        {13, "U12,41,V/100,2"},
        {30, "PF3,75,%/100,2"},
        {33, "DIR3,81,,2"},
        {34, "EP,129,kWh/10,2"},
        {36, "ES,133,kVAh/10,2"},
        {38, "EQ-,137,kvarh/10,2"},
        {68, "IN AVG 4,329,mA,2"},
        {69, "P AVG,513,W,2"},
        {83, "S AVG 4,581,VA,2"},
        {84, "I MAX,769,mA,2"},
        {90, "F MAX,781,Hz/100,2"},
        {91, "I1 MAX,801,mA,2"},
        {112, "PF3 MAX,843,%/100,2"},
        {113, "THD I1 MAX,865,%/10,2"},
        {122, "THD U3N MAX,883,%/10,2"},
        {123, "I MAX AVG,897,mA,2"},
        {130, "Q MAX AVG+,911,var,2"},
        {132, "S MAX AVG,915,VA,2"},
        {133, "I MIN,929,mA,2"},
        {139, "F MIN,941,Hz/100,2"},
        {140, "I1 MIN,961,mA,2"},
        {161, "PF3 MIN,1003,%/100,2"},
        {162, "THD I1,1281,%/10,2"},
    };
    for (const auto& row : rows) EXPECT_EQ(table().ItemTable(row.k), row.text) << "item " << row.k;
}

TEST(GbhItemTable, RegistersRiseStrictlyWithTheBaseAdded) {
    EXPECT_EQ(table().ItemRegister(0), 40000);
    EXPECT_EQ(table().ItemRegister(8), 40015);
    EXPECT_EQ(table().ItemRegister(471), 42142);
    for (int k = 1; k < GbhItemTable::kCount; ++k)
        EXPECT_GT(table().ItemRegister(k), table().ItemRegister(k - 1)) << "item " << k;
}

TEST(GbhItemTable, UnitsAreKeptVerbatim) {
    EXPECT_EQ(table().ItemUnit(0), " ");
    for (int k : {8, 31, 32, 33}) EXPECT_EQ(table().ItemUnit(k), "") << "item " << k;
    EXPECT_EQ(table().ItemUnit(43), "hour/10");
    // Only the blank item carries a blank unit, only the directions none.
    for (int k = 1; k < GbhItemTable::kCount; ++k) {
        const std::string& name = table().item(k).name;
        if (name.compare(0, 3, "DIR") == 0) continue;
        EXPECT_FALSE(table().ItemUnit(k).empty()) << name;
        EXPECT_NE(table().ItemUnit(k), " ") << name;
    }
}

TEST(GbhItemTable, OnlyTheHarmonicsTakeOneWord) {
    for (int k = 0; k < GbhItemTable::kCount; ++k)
        EXPECT_EQ(table().ItemWords(k), k >= 172 ? 1 : 2) << "item " << k;
}

TEST(GbhItemTable, LooksItemsUpByTheirBindingRegister) {
    EXPECT_EQ(table().findByItemRegister(40000 + 1545), 180);
    EXPECT_EQ(table().findByItemRegister(40001), 1);
    EXPECT_EQ(table().findByItemRegister(42142), 471);
    // Item 0 stands for no binding and is never found; gaps, values beyond the
    // last item and far outside any register find nothing.
    for (long long v : {40000LL, 0LL, 40002LL, 40017LL, 41567LL, 41600LL, 42143LL, 1LL, -40001LL,
                        9223372036854775807LL})
        EXPECT_EQ(table().findByItemRegister(v), -1) << v;
    for (int k = 1; k < GbhItemTable::kCount; ++k) EXPECT_EQ(table().findByItemRegister(table().ItemRegister(k)), k);
}

TEST(GbhItemTable, IndexesOutsideTheTableGiveNoItem) {
    for (int k : {-1, 472, 100000}) {
        EXPECT_EQ(table().ItemRegister(k), 0);
        EXPECT_EQ(table().ItemUnit(k), "");
        EXPECT_EQ(table().ItemWords(k), 0);
    }
}
