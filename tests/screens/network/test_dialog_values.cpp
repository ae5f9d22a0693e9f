// The communication card dialogs when the card refuses an item (CNG), does not
// use it (CNU) or leaves a read unanswered: no refusal's text shown or stored,
// Download leaves the item as it is on the card and says so, and a write the
// card does not take ends with the dialog's failure message.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <functional>

#include "core/Globals.h"
#include "screens/network/frmComm.h"
#include "screens/network/frmEther.h"
#include "screens/network/frmOP.h"
#include "screens/network/frmOVRT.h"
#include "screens/network/frmQFODH.h"
#include "tests/screens/network/NetworkFixture.h"
#include "ui/DialogValues.h"

using namespace talvo;
using talvo::network::frmComm;
using talvo::network::frmEther;
using talvo::network::frmOP;
using talvo::network::frmOVRT;
using talvo::network::frmQFODH;
using talvo::test::NetworkTest;

namespace {

using Frames = std::vector<std::string>;

std::string comm(const std::string& model, const std::string& version, const std::string& more = "") {
    return "comm K6-" + model + ":RUN version K6-" + model + ":" + version + "\n" + more;
}

CardRecord& rec17() { return CommCardRecord(); }

// The communication card answers `reply` ("CNG", "CNU") to one item frame of one group.
k6sim::Fault refusal(const std::string& frame, const std::string& group, const std::string& reply) {
    k6sim::Fault f = test::fault(frame, 0, k6sim::FaultAction::Reply, reply);
    f.group = group;
    return f;
}

std::vector<std::string> leftMessage(const std::string& list) {
    return {std::string(ui::kLeftAsTheyAreText) + list};
}

// What Download tells of a setting it left after `reply`: an item the card
// does not use ("CNU") is not named, there is nothing of it on the card to leave.
std::vector<std::string> leftAfter(const std::string& reply, const std::string& list) {
    return reply == "CNU" ? std::vector<std::string>{} : leftMessage(list);
}

// Whether the frames hold `item` right after a group frame of `group`.
bool sentTo(const Frames& frames, const std::string& group, const std::string& item) {
    for (std::size_t i = 1; i < frames.size(); ++i)
        if (frames[i] == item && frames[i - 1] == "G" + group) return true;
    return false;
}

const char* const kReplies[] = {"CNG", "CNU"};

// A refusal as above, or with reply "" no answer at all.
k6sim::Fault refusalOrSilence(const std::string& frame, const std::string& group, const std::string& reply) {
    if (!reply.empty()) return refusal(frame, group, reply);
    k6sim::Fault f = test::silence(frame, 0);
    f.group = group;
    return f;
}

// ---------------- "Setting" ----------------

// One refused item of the Upload: the control keeps what it showed, as no
// value; record 17 keeps its text; Download sends nothing for it and names it
// (unless the card does not use it).
TEST_F(NetworkTest, SettingDialogLeavesARefusedItemAsItIsOnTheCard) {
    struct Case {
        const char* what;
        std::string station;
        const char* group;   // of the refused item, and where the card keeps it
        const char* item;
        int itemNo;
        const char* cardValue;
        const char* left;     // as Download names it
        bool hasSwitch;       // the activate delay switch (OVRT1 has none)
    };
    const Case cases[] = {
        {"time-out", comm("OW1", "2.04", "  set 00 09 55\n"), "00", "I09", 9, "55", "Time (0.1sec)", true},
        {"time-out OVRT1", comm("OVRT1", "2.04", "  set 50 09 55\n"), "50", "I09", 9, "55", "Time (0.1sec)", false},
        {"In Slot", comm("OW1", "2.04", "  set 17 10 5\n"), "17", "I10", 10, "5", "In Slot 1", true},
        {"switch", comm("OW1", "2.04"), "00", "I30", 30, "0", "Fieldbus Activate Delay SW", true},
    };
    for (const Case& c : cases) {
        for (const char* reply : kReplies) {
            SCOPED_TRACE(std::string(c.what) + " " + reply);
            restartWindow();
            connectTo(c.station);
            // What record 17 held before: shown at the opening.
            rec17().Param.set(1, "77");
            rec17().Param.set(2, "9");
            rec17().Param.set(18, "1");
            withDialog<frmComm>("cmdComm", [&](frmComm& d) {
                sim.addFault(refusal(c.item, c.group, reply));
                click(d, "cmdUp");
                sim.clearFaults();
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(G().Connected);
                const std::string item = c.item;
                if (item == "I09") {
                    EXPECT_EQ(text(d, "txtTimeout"), "77");
                    EXPECT_FALSE(ui::HasValue(in(d, "txtTimeout")));
                } else if (item == "I10") {
                    EXPECT_EQ(text(d, "txtOutSlot_1"), "9");
                    EXPECT_FALSE(ui::HasValue(in(d, "txtOutSlot_1")));
                    EXPECT_EQ(text(d, "txtOutSlot_2"), "0") << "the next slot was read";
                } else {
                    EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::PartiallyChecked);
                }
                EXPECT_EQ(rec17().Param[1], item == "I09" ? "77" : "30");
                EXPECT_EQ(rec17().Param[2], item == "I10" ? "9" : "0");
                EXPECT_EQ(rec17().Param[18], item == "I30" || !c.hasSwitch ? "1" : "0");
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(sentTo(sim.frames(), c.group, c.item)) << "nothing sent for it";
                EXPECT_EQ(messages.texts(), leftAfter(reply, c.left));
                EXPECT_TRUE(G().Connected);
                click(d, "cmdExit");
            });
            EXPECT_EQ(sim.value(0, c.group, c.itemNo), c.cardValue) << "the card keeps its value";
        }
    }
}

// A record that holds no time-out (never read, or cleared by a new connection):
// the box shows none, and Download does not make "30" of it.
TEST_F(NetworkTest, SettingDialogSendsNoTimeOutItNeverHad) {
    connectTo(comm("OW1", "2.04", "  set 00 09 55\n  set 00 30 1\n"));
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_EQ(text(d, "txtTimeout"), "");
        EXPECT_FALSE(ui::HasValue(in(d, "txtTimeout")));
        type(d, "txtOutSlot_2", "4");
        in<QCheckBox>(d, "ChkCJC")->click();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_FALSE(sentTo(sim.frames(), "0", "I09"));
        EXPECT_TRUE(framesContain({"G17", "I11", "D4"}));
        EXPECT_EQ(messages.texts(),
                  leftMessage("Time (0.1sec); In Slot 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16"));
        // Typed: a value, sent.
        type(d, "txtTimeout", "40");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(framesContain({"G0", "I09", "D40"}));
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[1], "40");
    EXPECT_EQ(sim.value(0, "00", 9), "40");
}

// Versions, status and DIP switches the card refuses show no value; a refused
// version does not hide the direct-output table nor go into record 17.
TEST_F(NetworkTest, SettingDialogShowsNoRefusalsText) {
    connectTo(comm("OVRT1", "2.00"));
    rec17().Version = "V7.77";
    for (const auto& [frame, group, reply] : {std::tuple{"I40", "00", "CNG"}, std::tuple{"I03", "00", "CNG"},
                                              std::tuple{"I39", "00", "CNU"}, std::tuple{"I40", "50", "CNG"}})
        sim.addFault(refusal(frame, group, reply));
    const auto expectNoRefusal = [&](frmComm& d) {
        for (const char* b : {"txtVersion", "txtVersion2", "txtStatus_0", "txtSW"}) EXPECT_EQ(text(d, b), "") << b;
        EXPECT_EQ(text(d, "txtName"), "OVRT1");
        EXPECT_EQ(text(d, "txtStatus_1"), "RUN");
        EXPECT_TRUE(shown(d, "fraOutput")) << "not hidden for a version the card refused";
    };
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        expectNoRefusal(d);
        click(d, "cmdUp");
        expectNoRefusal(d);
        EXPECT_EQ(text(d, "txtOutSlot_1"), "0");
        click(d, "cmdExit");
    });
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(rec17().Version, "V7.77");
    EXPECT_EQ(rec17().CardType, "OVRT1");
}

// ---------------- Ethernet ----------------

TEST_F(NetworkTest, EthernetDialogLeavesARefusedItemAsItIsOnTheCard) {
    struct Case {
        const char* model;
        const char* item;
        int itemNo;
        const char* cardValue;
        const char* box;   // one of its boxes
        const char* left;  // "" when Download leaves nothing
    };
    const Case cases[] = {
        {"OW1", "I61", 61, "502", "txtPort_1", "Port1"},
        {"OW1", "I74", 74, "10", "txtTimeout_4", "Linger 4"},
        {"OWUB", "I77", 77, "0", "txtIPsel", "Use IP Address"},
        {"OW1", "I59", 59, "192.168.0.10", "txtIP_3", "IP Address"},
        {"OWUB", "I78", 78, "192.168.0.1", "txtDGate_0", "Default Gateway"},
        {"OW1", "I57", 57, "00-80-4C", "", ""},
    };
    for (const Case& c : cases) {
        for (const char* reply : kReplies) {
            SCOPED_TRACE(std::string(c.model) + " " + c.item + " " + reply);
            restartWindow();
            connectTo(comm(c.model, "2.04"));
            sim.addFault(refusal(c.item, "00", reply));
            withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
                sim.clearFaults();
                EXPECT_TRUE(messages.shown.empty());
                if (*c.box) {
                    EXPECT_EQ(text(d, c.box), "");
                    EXPECT_FALSE(ui::HasValue(in(d, c.box)));
                } else {
                    EXPECT_EQ(in<QLabel>(d, "lblMac_0")->text(), "");
                    EXPECT_EQ(in<QLabel>(d, "lblMac_1")->text(), "12-34-56");
                }
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(sentTo(sim.frames(), "00", c.item));
                if (*c.left)
                    EXPECT_EQ(messages.texts(), leftAfter(reply, c.left));
                else
                    EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(G().Connected);
                click(d, "cmdExit");
            });
            EXPECT_EQ(sim.value(0, "00", c.itemNo), c.cardValue);
        }
    }
}

// ---------------- fieldbus ----------------

const char* const kOp = "comm K6-OP1:RUN version K6-OP1:1.00\n  set 17 76 AHU16\n";

TEST_F(NetworkTest, FieldbusDialogLeavesARefusedItemAsItIsOnTheCard) {
    struct Case {
        const char* group;
        const char* item;
        int itemNo;
        const char* cardValue;
        const char* box;
        const char* recorded;  // what record 17 held before, shown at the opening
        const char* left;
    };
    const Case cases[] = {
        {"00", "I55", 55, "5", "txtTimeout", "7", "Power on delay (1sec)"},
        {"17", "I26", 26, "IO01", "txtCardList_1", "OLD", "I/O Card Name 1"},
    };
    for (const Case& c : cases) {
        for (const char* reply : kReplies) {
            SCOPED_TRACE(std::string(c.item) + " " + reply);
            restartWindow();
            connectTo(kOp);
            rec17().Param.set(2, "7");
            rec17().ChOption.set(1, "OLD");
            withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
                sim.addFault(refusal(c.item, c.group, reply));
                click(d, "cmdUp");
                sim.clearFaults();
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_EQ(text(d, c.box), c.recorded);
                EXPECT_FALSE(ui::HasValue(in(d, c.box)));
                EXPECT_EQ(rec17().Param[2], std::string(c.item) == "I55" ? "7" : "5");
                EXPECT_EQ(rec17().ChOption[1], std::string(c.item) == "I26" ? "OLD" : "IO01");
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(sentTo(sim.frames(), c.group, c.item));
                EXPECT_EQ(messages.texts(), leftAfter(reply, c.left));
                EXPECT_TRUE(G().Connected);
                click(d, "cmdExit");
            });
            EXPECT_EQ(sim.value(0, c.group, c.itemNo), c.cardValue);
        }
    }
}

// A record that holds nothing (a fresh connection): the dialog shows no value,
// and Download right after opening asks for the empty power-on delay before it
// sends anything, rather than erasing the card's names.
TEST_F(NetworkTest, FieldbusDialogWritesNothingItNeverHad) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        EXPECT_FALSE(ui::HasValue(in(d, "txtCardList_1")));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(framesFrom("I40"), Frames{"I40"});
        ASSERT_EQ(messages.texts(), std::vector<std::string>{"Please enter Timeout Val."});
        EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
        EXPECT_EQ(messages.shown[0].title, "");
        EXPECT_TRUE(in<QPushButton>(d, "cmdDown")->isEnabled());
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "17", 26), "IO01");
}

// Download's last write (group "17" item "76") refused or unanswered: the
// failure message, the link down, and record 17 keeps what the card has.
TEST_F(NetworkTest, FieldbusDialogTellsALastWriteTheCardDidNotTake) {
    for (const bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "unanswered" : "refused");
        restartWindow();
        connectTo(kOp);
        if (silent) useFakeClock();
        withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
            click(d, "cmdUp");
            EXPECT_EQ(rec17().Param[64], "AHU16");
            in<QRadioButton>(d, "OptScl4")->click();
            type(d, "txtVNDAHU_3", "X16");
            type(d, "txtN2ADR_3", "Y16");
            k6sim::Fault f = silent ? test::silence("DX16", 0) : test::fault("DX16", 0, k6sim::FaultAction::Reply, "CNG");
            f.group = "17";
            sim.addFault(f);
            click(d, "cmdDown");
            ASSERT_TRUE(QTest::qWaitFor([&] { return !d.busy(); }, 20000));
            sim.clearFaults();
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
            EXPECT_EQ(messages.shown.at(0).title, "Downloading");
            EXPECT_FALSE(G().Connected);
            EXPECT_TRUE(in<QPushButton>(d, "cmdExit")->isEnabled());
            click(d, "cmdExit");
        });
        EXPECT_EQ(rec17().Param[64], "AHU16") << "not the typed value the card did not take";
        EXPECT_EQ(rec17().Param[48], "Y16") << "the write before it was taken";
    }
}

// ---------------- CC-Link IE ----------------

// Its upload tests no answer: an unanswered read is no value either.
TEST_F(NetworkTest, CcLinkIeDialogLeavesARefusedNetworkNoAsItIsOnTheCard) {
    for (const char* reply : {"CNG", "CNU", ""}) {
        SCOPED_TRACE(reply);
        restartWindow();
        connectTo(comm("OVRT1W", "1.00", "  set 50 88 33\n"));
        if (!*reply) useFakeClock();
        sim.addFault(refusalOrSilence("I88", "50", reply));
        sim.addFault(refusalOrSilence("I90", "50", reply));
        withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
            sim.clearFaults();
            EXPECT_EQ(text(d, "txbStationID"), "");
            EXPECT_FALSE(ui::HasValue(in(d, "txbNetWorkNo")));
            EXPECT_NE(text(d, "txbNetWorkNo"), "CNG");
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_FALSE(sentTo(sim.frames(), "50", "I88"));
            EXPECT_TRUE(framesContain({"G50", "I97", "D0"}));
            EXPECT_EQ(messages.texts(), leftAfter(reply, "NetWork No."));
            click(d, "cmdExit");
        });
        EXPECT_EQ(sim.value(0, "50", 88), "33");
        EXPECT_EQ(rec17().Param[20], "");
        EXPECT_EQ(rec17().Param[21], "0");
    }
}

// ---------------- gateway ----------------

// Its pause period and processor No. may also go unanswered without ending the
// upload: no value then too. (An unanswered MAC address ends it.)
TEST_F(NetworkTest, GatewayDialogLeavesARefusedItemAsItIsOnTheCard) {
    for (const char* reply : {"CNG", "CNU", ""}) {
        SCOPED_TRACE(reply);
        restartWindow();
        connectTo("comm K6-QFODH1:RUN version K6-QFODH1:2.00\n");
        if (!*reply) useFakeClock();
        for (const char* item : {"I09", "I64"}) sim.addFault(refusalOrSilence(item, "00", reply));
        if (*reply) sim.addFault(refusal("I57", "00", reply));
        withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
            sim.clearFaults();
            EXPECT_TRUE(messages.shown.empty());
            for (const char* b : {"pausePeriod", "CPUNo"}) {
                EXPECT_EQ(text(d, b), "") << b;
                EXPECT_FALSE(ui::HasValue(in(d, b))) << b;
            }
            EXPECT_EQ(in<QLabel>(d, "lblMac_0")->text(), *reply ? "" : "00-80-4C");
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_FALSE(sentTo(sim.frames(), "00", "I09"));
            EXPECT_FALSE(sentTo(sim.frames(), "00", "I64"));
            EXPECT_TRUE(framesContain({"G00", "I65", "D3"}));
            EXPECT_EQ(messages.texts(), leftAfter(reply, "Pause period; Processor No."));
            click(d, "cmdExit");
        });
        EXPECT_EQ(sim.value(0, "00", 9), "100");
        EXPECT_EQ(sim.value(0, "00", 64), "3FF");
    }
}

// ---------------- the last write of every Download ----------------

// The last write of each dialog's Download refused or left unanswered: the
// dialog's failure message, and record 17 keeps what the card has.
TEST_F(NetworkTest, EveryDialogTellsALastWriteTheCardDidNotTake) {
    struct Case {
        const char* what;
        std::string station;
        const char* frame;  // the last write's data frame
        const char* group;
        int skip;           // matching frames let through before it
        std::function<void()> run;  // opens the dialog, sets it up, adds the fault, downloads
        bool disconnects;
    };
    k6sim::Fault f;
    const auto download = [&](QDialog& d) {
        sim.addFault(f);
        click(d, "cmdDown");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dynamic_cast<ui::SettingsDialog&>(d).busy(); }, 20000));
        sim.clearFaults();
        click(d, "cmdExit");
    };
    const Case cases[] = {
        {"Setting: activate delay switch", comm("OW1", "2.04"), "D1", "00", 1,
         [&] {
             withDialog<frmComm>("cmdComm", [&](frmComm& d) {
                 click(d, "cmdUp");
                 in<QCheckBox>(d, "ChkCJC")->setChecked(true);
                 download(d);
             });
             EXPECT_EQ(rec17().Param[18], "0");
         },
         true},
        {"Ethernet: linger 4", comm("OW1", "2.04"), "D10", "00", 3,
         [&] { withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) { download(d); }); },
         true},
        {"CC-Link IE: switching delay", comm("OVRT1W", "1.00"), "D250", "50", 0,
         [&] {
             withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
                 type(d, "txbRedundant", "250");
                 download(d);
             });
             EXPECT_EQ(rec17().Param[20], "1") << "the network No. before it was taken";
             EXPECT_EQ(rec17().Param[21], "") << "the delay was not";
         },
         true},
        {"gateway: last map entry", "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n", "D9C,0x1F,DI16", "17", 0,
         [&] { withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) { download(d); }); },
         false},
    };
    for (const Case& c : cases) {
        for (const bool silent : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (silent ? " unanswered" : " refused"));
            restartWindow();
            connectTo(c.station);
            if (silent) useFakeClock();
            f = silent ? test::silence(c.frame, 0) : test::fault(c.frame, 0, k6sim::FaultAction::Reply, "CNG");
            f.group = c.group;
            f.skip = c.skip;
            c.run();
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
            EXPECT_EQ(G().Connected, !c.disconnects);
        }
    }
}

}  // namespace
