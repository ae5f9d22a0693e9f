// The communication card dialogs' rules that need no window: the card name,
// the capability tests by name and version, the groups, the values a download
// sends, the Ethernet layouts and the fieldbus scale lists.
#include <gtest/gtest.h>

#include "screens/network/CommCard.h"

using namespace talvo::network;

namespace {

TEST(CommCard, NameRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"K6-OW1:RUN", "OW1"},   {"HM3EX:RUN", "HM3EX"}, {"VU3-OW2:RUN", "OW2"}, {"K6-QFODH1:", "QFODH1"},
        {"K6-OW1", ""},          // no ":": nothing before it
        {"K6:RUN", ""},          // shorter than the prefix
        {"", ""},                {":", ""},
    };
    for (const auto& [reply, name] : cases) EXPECT_EQ(CardNameFromModel(reply), name) << reply;

    std::string n = "kept";
    EXPECT_TRUE(CardNameFromVersion("K6-OW1:2.04", n));
    EXPECT_EQ(n, "OW1");
    n = "kept";
    EXPECT_FALSE(CardNameFromVersion("XX-OW1:2.04", n));
    EXPECT_EQ(n, "kept");
    EXPECT_TRUE(CardNameFromVersion("K6-", n));
    EXPECT_EQ(n, "");
}

TEST(CommCard, VersionNumber) {
    EXPECT_EQ(VersionNumber("V1.01"), 101);
    EXPECT_EQ(VersionNumber("V2.04"), 204);
    EXPECT_EQ(VersionNumber("V2.04b"), 204);
    EXPECT_EQ(VersionNumber("V"), 0);
    EXPECT_EQ(VersionNumber(""), 0);
    EXPECT_EQ(VersionNumber("Vx"), 0);
}

struct Capability {
    const char* name;
    const char* version;
    bool timeout, direct, delay;
};

TEST(CommCard, CapabilitiesByNameAndVersion) {
    const Capability cases[] = {
        {"OW1", "V2.03", true, true, false},   {"OW1", "V2.04", true, true, true},
        {"OWS1", "V1.00", true, false, true},  {"OX1", "V2.04", true, true, false},
        {"OX1", "V2.05", true, true, true},    {"OX4", "V2.00", true, true, false},
        {"OX4", "V2.01", true, true, true},    {"OW2", "V1.00", true, false, false},
        {"OW2", "V1.01", true, true, false},   {"HM3EX", "V0.10", true, true, true},
        {"QFODH1", "V2.00", false, false, false}, {"QM1", "V2.00", false, false, false},
        {"OWHD1", "V2.00", false, true, false}, {"OZ3", "V2.00", false, false, false},
        {"OG1", "V2.00", true, true, false},   {"OP1", "V2.00", true, false, false},
        {"OJ1", "V2.00", true, false, false},  {"UVQ1", "V2.00", true, false, false},
        // A version the card refused shows as nothing: the table is not hidden
        // for it, the name still decides; the delay switch still needs a version.
        {"OW1", "", true, true, false},        {"OP1", "", true, false, false},
        {"OWS1", "", true, true, true},
    };
    for (const Capability& c : cases) {
        EXPECT_EQ(HasTimeoutSetting(c.name), c.timeout) << c.name << " " << c.version;
        EXPECT_EQ(HasDirectOutput(c.name, c.version, "K6-" + std::string(c.name) + ":RUN"), c.direct)
            << c.name << " " << c.version;
        EXPECT_EQ(HasActivateDelay(c.name, c.version), c.delay) << c.name << " " << c.version;
    }
    // The model the card reports now: a "VU3" model has no direct-output table;
    // HM3EX has one whatever it reports.
    EXPECT_FALSE(HasDirectOutput("OW2", "V2.00", "VU3-OW2:RUN"));
    EXPECT_TRUE(HasDirectOutput("OW2", "V2.00", "VU3OW2"));  // "VU3" only counts before a ":"
    EXPECT_TRUE(HasDirectOutput("HM3EX", "V0.10", "VU3-X:RUN"));
}

TEST(CommCard, GroupsOfTheSettings) {
    for (const char* n : {"OVRT1", "OVRT1W"}) {
        EXPECT_EQ(SettingsGroup(n), "50");
        EXPECT_EQ(OutputGroup(n), "50");
    }
    for (const char* n : {"OW1", "OVRT2", "OVRT1WX", ""}) {
        EXPECT_EQ(SettingsGroup(n), "0") << n;
        EXPECT_EQ(OutputGroup(n), "17") << n;
    }
}

TEST(CommCard, DownloadValuesArePlainWholeNumbersInRange) {
    const std::pair<const char*, const char*> timeouts[] = {
        {"1", "30"},  {"32001", "30"}, {"2", "2"},   {"32000", "32000"}, {"5abc", "5"},
        {" 7", "7"},  {"", "30"},      {"abc", "30"}, {"12.9", "12"},     {"1e3", "1000"},
    };
    for (const auto& [box, sent] : timeouts) EXPECT_EQ(TimeoutToWrite(box), sent) << box;
    const std::pair<const char*, const char*> slots[] = {
        {"17", "0"}, {"-1", "0"}, {"0", "0"}, {"16", "16"}, {"3x", "3"}, {"", ""}, {"x", "0"}, {"16.5", "0"},
    };
    for (const auto& [box, sent] : slots) EXPECT_EQ(InSlotToWrite(box), sent) << box;
}

TEST(CommCard, EthernetLayoutsByModel) {
    for (const char* m : {"K6-OWUB", "K6-OWUB2:RUN"}) {
        EXPECT_FALSE(HasLinger(m)) << m;
        EXPECT_TRUE(HasDefaultGateway(m)) << m;
        EXPECT_TRUE(HasIPSelect(m)) << m;
    }
    for (const char* m : {"K6-OW1:RUN", "HM3EX", "K6-QA1", "K6-OWU"}) {
        EXPECT_TRUE(HasLinger(m)) << m;
        EXPECT_FALSE(HasDefaultGateway(m)) << m;
        EXPECT_FALSE(HasIPSelect(m)) << m;
    }
}

TEST(CommCard, ScaleLists) {
    EXPECT_EQ(ScaleParts("0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7").size(), 16u);
    for (const char* bad : {"", "0,1", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,"})
        EXPECT_TRUE(ScaleParts(bad).empty()) << bad;
    EXPECT_EQ(ScaleParts(",,,,,,,,,,,,,,,").size(), 16u);  // 16 empty parts: each shows scale 0
    const std::pair<const char*, int> indexes[] = {{"0", 0}, {"7", 7}, {"8", -1}, {"-1", -1}, {"x", 0},
                                                   {"", 0},  {"2.6", 3}, {"6.5", 7}, {"1e9", -1}};
    for (const auto& [part, index] : indexes) EXPECT_EQ(ScaleIndex(part), index) << part;
}

}  // namespace
