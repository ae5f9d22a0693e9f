// The communication card's models in the simulator, and the cards behind a
// gateway: the items each model holds, the fieldbus scale lists, the card that
// refuses its model item, and the gateway station file.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sim/Simulator.h"

using k6sim::Simulator;
using k6sim::Station;

namespace {

Station parse(const std::string& text) {
    Station s;
    std::string error;
    EXPECT_TRUE(k6sim::parseStation(text, s, error)) << error;
    return s;
}

void expectReplies(Simulator& sim, const std::vector<std::pair<std::string, std::string>>& steps) {
    for (const auto& [frame, reply] : steps) EXPECT_EQ(sim.answer(frame), reply) << "frame " << frame;
}

TEST(CommCards, ModelItemsOnlyForAModelTextWithItsStatus) {
    Simulator bare(parse("comm K6-OW1\n"));
    expectReplies(bare, {{"G00", "COK"}, {"I59", "CNU"}, {"G17", "CNG"}});
    Simulator ow1(parse("comm K6-OW1:RUN version K6-OW1:2.04\n"));
    expectReplies(ow1, {{"G00", "COK"}, {"I04", "DK6-OW1:RUN"}, {"I40", "DK6-OW1:2.04"}, {"I03", "D03:RUN"},
                        {"I59", "D59:192.168.0.10"}, {"I61", "D61:502"}, {"I77", "CNU"}, {"G17", "COK"},
                        {"I10", "D10:0"}, {"G50", "CNG"}});
    Simulator owub(parse("comm K6-OWUB:RUN version K6-OWUB:2.04\n"));
    expectReplies(owub, {{"G00", "COK"}, {"I77", "D77:0"}, {"I78", "D78:192.168.0.1"}, {"I61", "CNU"}});
    Simulator ovrt(parse("comm K6-OVRT1W:RUN version K6-OVRT1W:1.00\n"));
    expectReplies(ovrt, {{"G50", "COK"}, {"I40", "D40:1.10"}, {"I88", "D88:1"}, {"I97", "D97:0"}});
}

TEST(CommCards, ACardThatRefusesItsModelItem) {
    Simulator sim(parse("comm CNG version K6-OW1:2.04\n"));
    expectReplies(sim, {{"G00", "COK"}, {"I04", "CNG"}, {"I40", "DK6-OW1:2.04"}, {"I03", "D03:RUN"}});
}

TEST(CommCards, FieldbusScaleListsGoThroughTheDataOfItems43And44) {
    Simulator sim(parse("comm K6-OP1:RUN version K6-OP1:1.00\n  set 17 1002 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\n"));
    expectReplies(sim, {{"G17", "COK"},
                        {"I43", "D43:"},
                        {"D1;", "D43:1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1;"},
                        {"I44", "D44:"},
                        {"D0:7,6,5,4,3,2,1,0,7,6,5,4,3,2,1,0;", "D0:7,6,5,4,3,2,1,0,7,6,5,4,3,2,1,0;"},
                        {"I43", "D43:"},
                        {"D0;", "D43:7,6,5,4,3,2,1,0,7,6,5,4,3,2,1,0;"},
                        {"I43", "D43:"},
                        {"D16;", "CNG"},
                        {"I1001", "CNU"},
                        {"I26", "D26:IO01"},
                        {"I45", "D45:N01"}});
}

// What the dialog writes (1 slave, 2 relay) it reads back as the entry's text.
TEST(CommCards, AWirelessCardTakesItsRelayModeAsANumberAndGivesItsText) {
    for (const char* model : {"OXF1", "OXF1F", "OG1"}) {
        SCOPED_TRACE(model);
        Simulator sim(parse(std::string("comm K6-") + model + ":RUN version K6-" + model + ":3.00\n"));
        expectReplies(sim, {{"G00", "COK"}, {"I55", "D55:SLAVE"}, {"D2", "D2"},     {"I55", "D55:RELAY"},
                            {"D1", "D1"},   {"I55", "D55:SLAVE"}, {"D3", "CNG"},    {"DRELAY", "CNG"},
                            {"D", "CNG"},   {"I55", "D55:SLAVE"}, {"I56", "D56:12"}, {"D7", "D7"}});
    }
    // Item 55 of other models is an ordinary value (the fieldbus card's power-on delay).
    Simulator op(parse("comm K6-OP1:RUN version K6-OP1:1.00\n"));
    expectReplies(op, {{"G00", "COK"}, {"I55", "D55:5"}, {"D2", "D2"}, {"I55", "D55:2"}, {"D30", "D30"}});
}

// The stations that ship for the communication cards' own dialogs: each loads
// and its card answers as its model does.
TEST(CommCards, StationFilesOfTheCommunicationCardModels) {
    const struct {
        const char* file;
        std::vector<std::pair<std::string, std::string>> replies;
    } cases[] = {
        {"ethernet_owub.k6",
         {{"G00", "COK"}, {"I04", "DK6-OWUB:RUN"}, {"I40", "DK6-OWUB:2.04"}, {"I77", "D77:1"},
          {"I78", "D78:192.168.0.1"}, {"I61", "CNU"}, {"I10", "D10:BW4"}, {"I11", "D11:KR4"}}},
        {"fieldbus_op1.k6",
         {{"G00", "COK"}, {"I04", "DK6-OP1:RUN"}, {"I55", "D55:10"}, {"G17", "COK"}, {"I26", "D26:IO01"},
          {"I43", "D43:"}, {"D1;", "D43:4,4,4,4,4,4,4,4,4,4,4,4,4,4,4,4;"}}},
        {"cclink_ovrt1.k6",
         {{"G00", "COK"}, {"I04", "DK6-OVRT1:RUN"}, {"G50", "COK"}, {"I40", "D40:1.10"}, {"I90", "D90:7"},
          {"I87", "D87:00-80-4C-12-34-56"}}},
        {"cclink_ovrt1w.k6",
         {{"G00", "COK"}, {"I04", "DK6-OVRT1W:RUN"}, {"G50", "COK"}, {"I97", "D97:200"}, {"I92", "D92:Data link"}}},
        {"comm_cng.k6",
         {{"G00", "COK"}, {"I04", "CNG"}, {"I40", "DK6-OW1:2.04"}, {"I03", "D03:RUN"}, {"I59", "D59:192.168.0.10"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Station s;
        std::string error;
        ASSERT_TRUE(k6sim::loadStation(std::string(K6SIM_STATIONS_DIR) + "/" + c.file, s, error)) << error;
        Simulator sim(s);
        expectReplies(sim, c.replies);
    }
}

TEST(CommCards, GatewayStationFile) {
    Station s;
    std::string error;
    ASSERT_TRUE(k6sim::loadStation(K6SIM_STATIONS_DIR "/gateway.k6", s, error)) << error;
    Simulator sim(s);
    expectReplies(sim, {{"G00", "COK"}, {"I10", "D10:QFODH103"}, {"I12", "D12:QM13"}, {"I63", "D63:32"},
                        {"G17", "COK"}, {"I09", "D09:2"}, {"I10", "D10:A8,100,AI8"}, {"I11", "D11:9C,0x1F,DI16"},
                        {"I12", "D12:"}});
    for (const char* f : {"G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D1"), "D1");
    expectReplies(sim, {{"G17", "COK"}, {"I62", "D62:3,8"}, {"I60", "D60:1,8"}, {"G00", "COK"}, {"I10", "D10:100"}});
    for (const char* f : {"G00", "I41"}) sim.answer(f);
    ASSERT_EQ(sim.answer("D3"), "D3");
    expectReplies(sim, {{"G00", "COK"}, {"I10", "D10:12.5,7"}, {"I11", "D11:2,1002"}});
}

}  // namespace
