// The communication card dialogs when the card refuses an item (CNG), does not
// use it (CNU) or leaves a read unanswered: no refusal's text shown or stored,
// Download leaves the item as it is on the card and says so, and a write the
// card does not take ends with the dialog's failure message.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <QTemporaryDir>
#include <array>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/Globals.h"
#include "screens/network/frmComm.h"
#include "screens/network/frmEther.h"
#include "screens/network/frmOP.h"
#include "screens/network/frmOVRT.h"
#include "screens/network/frmQFODH.h"
#include "tests/screens/network/NetworkFixture.h"
#include "ui/DialogLayout.h"
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


// "1, 2, ... last", as a left setting's members are named.
std::string members(int first, int last) {
    std::string out;
    for (int i = first; i <= last; ++i) out += (out.empty() ? "" : ", ") + std::to_string(i);
    return out;
}

// Whether a control is drawn as holding no value: grey text, or a check box partly checked.
bool drawnWithoutValue(QWidget& d, const QString& name) {
    if (auto* box = d.findChild<QCheckBox*>(name)) return box->checkState() == Qt::PartiallyChecked;
    QWidget* w = d.findChild<QWidget*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w && ui::DrawnUnread(w);
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


const std::string kSettingStation = comm("OW1", "2.04", "  set 00 09 55\n  set 17 10 5\n  set 00 30 1\n");
const std::string kAllOfSetting =
    "Time (0.1sec); In Slot " + members(1, 16) + "; Fieldbus Activate Delay SW";

// A fresh connection: record 17 holds nothing, so no box and not the switch
// hold a value (the switch neither ticked nor unticked). Download writes none
// of them and names them all.
TEST_F(NetworkTest, SettingDialogNeverReadShowsSendsAndNamesNothingAsAValue) {
    connectTo(kSettingStation);
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        for (const char* c : {"txtTimeout", "txtOutSlot_1", "txtOutSlot_16", "ChkCJC"})
            EXPECT_TRUE(drawnWithoutValue(d, c)) << c;
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::PartiallyChecked);
        sim.clearFrames();
        click(d, "cmdDown");
        const Frames f = sim.frames();
        for (const char* item : {"I09", "I10", "I25", "I30"})
            EXPECT_EQ(std::count(f.begin(), f.end(), item), 0) << item;
        EXPECT_EQ(messages.texts(), leftMessage(kAllOfSetting));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "00", 30), "1");
    EXPECT_EQ(sim.value(0, "00", 9), "55");
    EXPECT_EQ(rec17().Param[18], "");
}

// Each kind of control (a box, a box of the table, the check box) read with a
// value, then read again refused, not used or unanswered: what it shows, that
// Download does not write it, and whether it is named. Unanswered ends the
// Upload and the link; after a new connection record 17 holds nothing, and
// nothing read before holds either.
TEST_F(NetworkTest, SettingDialogEachControlRefusedNotUsedOrUnanswered) {
    struct Control {
        const char* what;
        const char* group;
        const char* item;
        int itemNo;
        const char* widget;
        const char* caption;
        const char* cardValue;
    };
    const Control controls[] = {
        {"box", "00", "I09", 9, "txtTimeout", "Time (0.1sec)", "55"},
        {"box of the table", "17", "I10", 10, "txtOutSlot_1", "In Slot 1", "5"},
        {"check box", "00", "I30", 30, "ChkCJC", "Fieldbus Activate Delay SW", "1"},
    };
    for (const Control& c : controls) {
        for (const char* reply : {"CNG", "CNU", ""}) {
            SCOPED_TRACE(std::string(c.what) + " " + (*reply ? reply : "unanswered"));
            restartWindow();
            connectTo(kSettingStation);
            if (!*reply) useFakeClock();
            const auto download = [&](frmComm& d) {
                EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(sentTo(sim.frames(), c.group, c.item)) << "nothing sent for it";
                EXPECT_TRUE(G().Connected);
                click(d, "cmdExit");
            };
            withDialog<frmComm>("cmdComm", [&](frmComm& d) {
                click(d, "cmdUp");
                EXPECT_FALSE(drawnWithoutValue(d, c.widget)) << "read: a value";
                sim.addFault(refusalOrSilence(c.item, c.group, reply));
                click(d, "cmdUp");
                sim.clearFaults();
                if (!*reply) {
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                    EXPECT_FALSE(G().Connected);
                    click(d, "cmdExit");
                    return;
                }
                EXPECT_TRUE(messages.shown.empty());
                download(d);
                EXPECT_EQ(messages.texts(), leftAfter(reply, c.caption));
            });
            if (!*reply) {
                connectTo(kSettingStation);
                withDialog<frmComm>("cmdComm", download);
                EXPECT_EQ(messages.texts(), leftMessage(kAllOfSetting));
            }
            EXPECT_EQ(sim.value(0, c.group, c.itemNo), c.cardValue) << "the card keeps its value";
        }
    }
}

// The trials: the switch read ticked, the read lost, the link made again to a
// second station whose switch is on: the switch shows neither state, is not
// written (no 00/30 := 0 over the card's 1) and is named. And a switch read
// unticked, then refused, shows partly checked, never ticked.
TEST_F(NetworkTest, SettingDialogSwitchAfterALostReadAndAReconnectOrARefusal) {
    connectTo(kSettingStation);
    useFakeClock();
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        click(d, "cmdUp");
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::Checked);
        sim.addFault(refusalOrSilence("I30", "00", ""));
        click(d, "cmdUp");
        sim.clearFaults();
        EXPECT_FALSE(G().Connected);
        click(d, "cmdExit");
    });
    connectTo(comm("OW1", "2.04", "  set 00 30 1\n  set 00 09 77\n"));
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::PartiallyChecked);
        EXPECT_EQ(text(d, "txtTimeout"), "");
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_FALSE(sentTo(sim.frames(), "00", "I30"));
        EXPECT_EQ(messages.texts(), leftMessage(kAllOfSetting));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "00", 30), "1");
    EXPECT_EQ(sim.value(0, "00", 9), "77");

    restartWindow();
    connectTo(comm("OW1", "2.04", "  set 00 30 0\n"));
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        click(d, "cmdUp");
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::Unchecked);
        sim.addFault(refusal("I30", "00", "CNG"));
        click(d, "cmdUp");
        sim.clearFaults();
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::PartiallyChecked);
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_FALSE(sentTo(sim.frames(), "00", "I30"));
        EXPECT_EQ(messages.texts(), leftMessage("Fieldbus Activate Delay SW"));
        // The user's own click gives it a value again, and it is written.
        in<QCheckBox>(d, "ChkCJC")->click();
        EXPECT_EQ(in<QCheckBox>(d, "ChkCJC")->checkState(), Qt::Checked);
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(framesContain({"G00", "I30", "D1"}));
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[18], "1");
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
                    EXPECT_TRUE(drawnWithoutValue(d, c.box));
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


// Each kind of control (a box, an address of four boxes) refused at the
// opening on one station, then the link made to a second one that answers:
// nothing of the first holds, it is read and written with a value. Unanswered
// at the opening: the link goes, and what the read did not reach is drawn as
// never read; the next connection reads it all again.
TEST_F(NetworkTest, EthernetDialogEachControlOnASecondStationOrAfterALostRead) {
    struct Control {
        const char* item;
        const char* widget;
        const char* later;  // a box read after it
        const char* written;
    };
    const Control controls[] = {
        {"I62", "txtPort_2", "txtTimeout_1", "D503"},
        {"I60", "txtSNM_0", "txtPort_1", "D255.255.255.0"},
        {"I72", "txtTimeout_2", "txtTimeout_4", "D10"},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.item);
        restartWindow();
        connectTo(comm("OW1", "2.04"));
        sim.addFault(refusal(c.item, "00", "CNG"));
        withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
            EXPECT_TRUE(drawnWithoutValue(d, c.widget));
            click(d, "cmdExit");
        });
        sim.clearFaults();
        menu("mnuConnectDisconnect")->trigger();
        connectTo(comm("OW1", "2.04"));
        withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
            EXPECT_FALSE(drawnWithoutValue(d, c.widget));
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_TRUE(framesContain({"G00", c.item, c.written}));
            EXPECT_TRUE(messages.shown.empty());
            click(d, "cmdExit");
        });

        useFakeClock();
        sim.addFault(refusalOrSilence(c.item, "00", ""));
        withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
            EXPECT_FALSE(G().Connected);
            EXPECT_TRUE(drawnWithoutValue(d, c.widget));
            EXPECT_TRUE(drawnWithoutValue(d, c.later)) << "never read";
            EXPECT_FALSE(drawnWithoutValue(d, "txtIP_0")) << "read before it";
            EXPECT_FALSE(in<QPushButton>(d, "cmdDown")->isEnabled());
            click(d, "cmdExit");
        });
        sim.clearFaults();
        connectTo(comm("OW1", "2.04"));
        withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
            EXPECT_FALSE(drawnWithoutValue(d, c.widget));
            EXPECT_FALSE(drawnWithoutValue(d, c.later));
            click(d, "cmdExit");
        });
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


const std::string kAllOfFieldbus = "I/O Card Name " + members(1, 16) + "; Scaling I/O " + members(1, 16) +
                                   "; N2ADR I/O " + members(1, 16) + "; VND:0 /AHU:1 I/O " + members(1, 16);

// Opened on a record that holds nothing: every box and list is drawn as not
// read. With the delay typed, Download writes the delay alone and names the rest.
TEST_F(NetworkTest, FieldbusDialogNeverReadSendsOnlyWhatTheUserTyped) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        for (const char* c : {"txtTimeout", "txtCardList_1", "txtCardList_16", "cbScl_0", "cbScl_63", "txtN2ADR_0",
                              "txtVNDAHU_3"})
            EXPECT_TRUE(drawnWithoutValue(d, c)) << c;
        EXPECT_EQ(in<QComboBox>(d, "cbScl_0")->currentIndex(), -1);
        type(d, "txtTimeout", "7");
        EXPECT_FALSE(drawnWithoutValue(d, "txtTimeout"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(framesFrom("I40"), (Frames{"I40", "G00", "I1", "D1", "G00", "I55", "D7", "G17", "I1", "D1"}));
        EXPECT_EQ(messages.texts(), leftMessage(kAllOfFieldbus));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "00", 55), "7");
    EXPECT_EQ(sim.value(0, "17", 26), "IO01");
    EXPECT_EQ(rec17().Param[2], "7");
}

// Each kind of control (a box, a box of the card names, the scale lists of a
// card, a box of the page on show) read with a value, then read again refused,
// not used or unanswered: what it shows, that Download does not write it, and
// whether it is named. Unanswered ends the Upload and the link; after a new
// connection nothing read before holds.
TEST_F(NetworkTest, FieldbusDialogEachControlRefusedNotUsedOrUnanswered) {
    struct Control {
        const char* what;
        const char* group;
        const char* item;
        const char* widget;
        const char* caption;
        const char* written;  // its data frame, had it been written
        int cardKey;          // where the simulator keeps it
        const char* cardValue;
    };
    const Control controls[] = {
        {"box", "00", "I55", "txtTimeout", "Power on delay (1sec)", "D5", 55, "5"},
        {"card name", "17", "I27", "txtCardList_2", "I/O Card Name 2", "DIO02", 27, "IO02"},
        {"list", "17", "I43", "cbScl_0", "Scaling I/O 1", "D0:0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7;", 1001,
         "0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7"},
        {"box of the page", "17", "I46", "txtN2ADR_1", "N2ADR I/O 2", "DN02", 46, "N02"},
    };
    const std::string station = std::string(kOp) + "  set 17 1001 0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7\n";
    for (const Control& c : controls) {
        for (const char* reply : {"CNG", "CNU", ""}) {
            SCOPED_TRACE(std::string(c.what) + " " + (*reply ? reply : "unanswered"));
            restartWindow();
            connectTo(station);
            if (!*reply) useFakeClock();
            withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
                click(d, "cmdUp");
                EXPECT_FALSE(drawnWithoutValue(d, c.widget)) << "read: a value";
                const int index = std::string(c.what) == "list" ? in<QComboBox>(d, c.widget)->currentIndex() : 0;
                k6sim::Fault f = refusalOrSilence(c.item, c.group, reply);
                // The list's item serves every card: only card 1's read, with its retries.
                if (std::string(c.what) == "list") f.count = *reply ? 1 : 4;
                sim.addFault(f);
                click(d, "cmdUp");
                sim.clearFaults();
                if (!*reply) {
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
                    EXPECT_FALSE(G().Connected);
                    click(d, "cmdExit");
                    return;
                }
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                if (std::string(c.what) == "list") {
                    EXPECT_EQ(in<QComboBox>(d, c.widget)->currentIndex(), index) << "it keeps what it showed";
                } else {
                    EXPECT_EQ(text(d, c.widget), c.cardValue) << "it keeps what it showed";
                }
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(framesContain({c.written})) << "nothing sent for it";
                EXPECT_EQ(messages.texts(), leftAfter(reply, c.caption));
                click(d, "cmdExit");
            });
            if (!*reply) {
                connectTo(station);
                withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
                    EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                    type(d, "txtTimeout", "9");
                    sim.clearFrames();
                    click(d, "cmdDown");
                    EXPECT_FALSE(framesContain({c.written}));
                    EXPECT_EQ(messages.texts(), leftMessage(kAllOfFieldbus));
                    click(d, "cmdExit");
                });
            }
            // (Unanswered, the delay is typed anew after the reconnect.)
            if (std::string(c.what) != "box" || *reply) {
                EXPECT_EQ(sim.value(0, c.group, c.cardKey), c.cardValue) << "the card keeps its value";
            }
        }
    }
}

// The user's own edits: an emptied card name has nothing to send and is
// named; a scale list becomes a value once all 16 of its channels are picked.
TEST_F(NetworkTest, FieldbusDialogTakesTheUsersEditsOnly) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        click(d, "cmdUp");
        type(d, "txtCardList_3", "");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_FALSE(sentTo(sim.frames(), "17", "I28"));
        EXPECT_EQ(messages.texts(), leftMessage("I/O Card Name 3"));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "17", 28), "IO03");

    restartWindow();
    connectTo(kOp);
    const auto pick = [](QComboBox* cb, int index) {
        cb->setCurrentIndex(index);
        Q_EMIT cb->activated(index);
    };
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        type(d, "txtTimeout", "5");
        in<QRadioButton>(d, "OptScl2")->click();  // cards 5 to 8
        pick(in<QComboBox>(d, "cbScl_16"), 2);      // card 6, channel 1 only
        EXPECT_TRUE(drawnWithoutValue(d, "cbScl_16"));
        for (int c = 0; c < 16; ++c) pick(in<QComboBox>(d, QString("cbScl_%1").arg(c)), 3);  // card 5, all
        EXPECT_FALSE(drawnWithoutValue(d, "cbScl_15"));
        EXPECT_TRUE(drawnWithoutValue(d, "cbScl_17"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(framesContain({"G17", "I44", "D4:3,3,3,3,3,3,3,3,3,3,3,3,3,3,3,3;"}));
        EXPECT_FALSE(framesContain({"G17", "I44", "D5:2"})) << "card 6 has one channel only";
        const std::string m = messages.texts().at(0);
        EXPECT_NE(m.find("Scaling I/O 1, 2, 3, 4, 6, 7,"), std::string::npos) << m;
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[21], "3,3,3,3,3,3,3,3,3,3,3,3,3,3,3,3");
}

// Opened on an empty record (drawn as not read while the dialog's controls are
// disabled by its opening), Download, then Upload: the values are drawn in the
// colours of any box or list the user can use, not the disabled grey.
TEST_F(NetworkTest, FieldbusDialogDrawsUploadedValuesInTheirNormalColour) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter Timeout Val."});
        click(d, "cmdUp");
        QLineEdit* probeBox = ui::box(&d, "probeBox", 0, 0, 900);
        QComboBox* probeList = ui::list(&d, "probeList", 0, 0, 900);
        for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
            for (const char* b : {"txtTimeout", "txtCardList_1", "txtN2ADR_0", "txtVNDAHU_3"}) {
                EXPECT_FALSE(drawnWithoutValue(d, b)) << b;
                EXPECT_EQ(in(d, b)->palette().color(g, QPalette::Text), probeBox->palette().color(g, QPalette::Text))
                    << b;
            }
            for (const char* l : {"cbScl_0", "cbScl_63"}) {
                EXPECT_FALSE(drawnWithoutValue(d, l)) << l;
                for (const QPalette::ColorRole r : {QPalette::Text, QPalette::ButtonText})
                    EXPECT_EQ(in<QComboBox>(d, l)->palette().color(g, r), probeList->palette().color(g, r)) << l;
            }
        }
        click(d, "cmdExit");
    });
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


// Each box read refused, not used or unanswered at the opening: it keeps what
// it showed as no value (the "1" the dialog puts in the network No. box before
// its read is none either), is not written and is named unless the card does
// not use it. Record 17's text stands in place of the card's, as a value.
TEST_F(NetworkTest, CcLinkIeDialogEachBoxRefusedNotUsedOrUnanswered) {
    struct Control {
        const char* item;
        const char* widget;
        const char* shown;  // with record 17 empty
        const char* caption;
        int field;          // of record 17
        const char* recorded;
        int itemNo;
        const char* cardValue;
    };
    const Control controls[] = {
        {"I88", "txbNetWorkNo", "1", "NetWork No.", 20, "12", 88, "33"},
        {"I97", "txbRedundant", "", "Main/Sub switching delay time", 21, "250", 97, "100"},
    };
    const std::string station = comm("OVRT1W", "1.00", "  set 50 88 33\n  set 50 97 100\n");
    for (const Control& c : controls) {
        for (const char* reply : {"CNG", "CNU", ""}) {
            SCOPED_TRACE(std::string(c.widget) + " " + (*reply ? reply : "unanswered"));
            restartWindow();
            connectTo(station);
            if (!*reply) useFakeClock();
            sim.addFault(refusalOrSilence(c.item, "50", reply));
            withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
                sim.clearFaults();
                EXPECT_EQ(text(d, c.widget), c.shown);
                EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_FALSE(sentTo(sim.frames(), "50", c.item));
                EXPECT_EQ(messages.texts(), leftAfter(*reply ? reply : "CNG", c.caption));
                click(d, "cmdExit");
            });
            EXPECT_EQ(sim.value(0, "50", c.itemNo), c.cardValue);

            // What record 17 holds (a file, an earlier Download) is a value.
            rec17().Param.set(c.field, c.recorded);
            sim.addFault(refusalOrSilence(c.item, "50", reply));
            withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
                sim.clearFaults();
                EXPECT_EQ(text(d, c.widget), c.recorded);
                EXPECT_FALSE(drawnWithoutValue(d, c.widget));
                sim.clearFrames();
                click(d, "cmdDown");
                EXPECT_TRUE(framesContain({"G50", c.item, std::string("D") + c.recorded}));
                click(d, "cmdExit");
            });
        }
    }
}

// The card not reached at the opening (its select unanswered): the "1" the
// dialog shows is no value. The next connection reads the card's.
TEST_F(NetworkTest, CcLinkIeDialogNeverRead) {
    const std::string station = comm("OVRT1W", "1.00", "  set 50 88 33\n");
    connectTo(station);
    useFakeClock();
    k6sim::Fault f = test::silence("D00", 0);
    f.group = "00";
    sim.addFault(f);
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        sim.clearFaults();
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        EXPECT_EQ(text(d, "txbNetWorkNo"), "1");
        EXPECT_TRUE(drawnWithoutValue(d, "txbNetWorkNo"));
        EXPECT_FALSE(ui::HasValue(in(d, "txbNetWorkNo")));
        EXPECT_FALSE(in<QPushButton>(d, "cmdDown")->isEnabled());
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[20], "");
    connectTo(station);
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        EXPECT_EQ(text(d, "txbNetWorkNo"), "33");
        EXPECT_FALSE(drawnWithoutValue(d, "txbNetWorkNo"));
        click(d, "cmdExit");
    });
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


const char* const kGatewayStation = "comm K6-QFODH1:RUN version K6-QFODH1:2.00\n";
const std::string kAllOfGateway =
    "Pause period; IP address; Subnet mask; Default gateway; Protocol type; Processor No.; SLMP timeout; "
    "Network No.; Station No.; SLMP server IP address; SLMP server Port No.; Entry No.";

std::vector<std::string> fileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    const std::string bytes = s.str();
    std::vector<std::string> out;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        out.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return out;
}

// A file of `lines` with line `line` (from 1) holding `text` quoted.
std::string writeFileWith(const QTemporaryDir& dir, const char* name, std::vector<std::string> lines, int line,
                          const std::string& text) {
    lines[static_cast<std::size_t>(line - 1)] = "\"" + text + "\"";
    const std::string path = dir.filePath(name).toStdString();
    std::ofstream out(path, std::ios::binary);
    for (const std::string& l : lines) out << l << "\r\n";
    return path;
}

// The opening's read lost at its first item: nothing holds a value. Download
// sends nothing and checks nothing (no range message for an empty box), and
// names every field; saved and read back, the file's empty fields hold no
// value either.
TEST_F(NetworkTest, GatewayDialogNeverReadSendsNothingChecksNothingAndSavesNothingAsAValue) {
    QTemporaryDir dir;
    connectTo(kGatewayStation);
    useFakeClock();
    k6sim::Fault f = test::silence("I40", 0);
    f.group = "00";
    sim.addFault(f);
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        sim.clearFaults();
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Upload incomplete"});
        for (const char* c :
             {"pausePeriod", "txtIP_3", "List_ServerType", "PortNo", "DeviceNo", "cardType_0", "ChNo_0"})
            EXPECT_TRUE(drawnWithoutValue(d, c)) << c;
        const std::string path = dir.filePath("nothing.qfo").toStdString();
        for (int round = 0; round < 2; ++round) {
            SCOPED_TRACE(round == 0 ? "opened" : "its file read back");
            messages.shown.clear();
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(framesFrom("I40"), Frames{"I40"});
            EXPECT_EQ(messages.texts(), leftMessage(kAllOfGateway));
            files.answers = {path};
            messages.shown.clear();
            click(d, round == 0 ? "CmdSaveF" : "CmdReadF");
            EXPECT_TRUE(messages.shown.empty());
            if (round == 0) {
                const std::vector<std::string> lines = fileLines(path);
                ASSERT_EQ(lines.size(), 125u);
                for (std::size_t l = 1; l < 13; ++l) EXPECT_EQ(lines[l], "\"\"") << "line " << l + 1;
                files.answers = {path};
                click(d, "CmdReadF");
                EXPECT_TRUE(messages.shown.empty());
            }
            EXPECT_TRUE(drawnWithoutValue(d, "PortNo"));
        }
        click(d, "cmdExit");
    });
}

// Each kind of control (a box, an address, the server type list, a map row,
// the entry count) read with a value, then read again refused, not used or
// unanswered: what it shows, that Download does not write it, and what it
// names. Then the file: saved, the setting is an empty field, and read back it
// holds no value (not sent, not checked); a file with the same text the
// control showed, or another, holds a value and is written.
TEST_F(NetworkTest, GatewayDialogEachControlRefusedNotUsedOrUnansweredAndItsFile) {
    struct Control {
        const char* what;
        const char* group;
        const char* item;
        const char* widget;
        int line;  // in the file
        const char* same;
        Frames sameWritten;
        const char* other;
        Frames otherWritten;
        // Named after a refusal, a reply "not used" and no answer, before and
        // after its file went round; whether no answer ends the Upload.
        std::array<const char*, 3> names;
        std::array<const char*, 3> namesAfterFile;
        bool unansweredEnds;
    };
    // A refused server type or entry count leaves the map unread too; a row is
    // saved only with the server type that reads it; a file's empty count
    // puts no row in use.
    const Control controls[] = {
        {"box", "00", "I69", "PortNo", 12, "5000", {"G00", "I69", "D5000"}, "6000", {"G00", "I69", "D6000"},
         {"SLMP server Port No.", "", "SLMP server Port No."}, {"SLMP server Port No.", "", "SLMP server Port No."},
         false},
        {"address", "00", "I60", "txtSNM_0", 4, "255.255.255.0", {"G00", "I60", "D255.255.255.0"}, "255.255.0.0",
         {"G00", "I60", "D255.255.0.0"}, {"Subnet mask", "", "Subnet mask"}, {"Subnet mask", "", "Subnet mask"}, true},
        {"list", "00", "I63", "List_ServerType", 6, "32", {"G00", "I63", "D32"}, "16", {"G00", "I63", "D16"},
         {"Protocol type; Entry 1, 2", "Entry 1, 2", "Protocol type"},
         {"Protocol type; Entry 1, 2", "Entry 1, 2", "Protocol type; Entry 1, 2"}, true},
        {"map row", "17", "I11", "ChNo_1", 22, "16", {"G17", "I11", "D9C,0x1F,DI16"}, "8",
         {"G17", "I11", "D9C,0x1F,DI8"}, {"Entry 2", "", "Entry 2"}, {"Entry 2", "", "Entry 2"}, true},
        {"entry count", "17", "I09", "DeviceNo", 13, "2", {"G17", "I09", "D2"}, "1", {"G17", "I09", "D1"},
         {"Entry No.; Entry 1, 2", "Entry 1, 2", "Entry No.; Entry 1, 2"}, {"Entry No.", "", "Entry No."}, true},
    };
    for (const Control& c : controls) {
        for (const char* reply : {"CNG", "CNU", ""}) {
            SCOPED_TRACE(std::string(c.what) + " " + (*reply ? reply : "unanswered"));
            QTemporaryDir dir;
            restartWindow();
            connectTo(kGatewayStation);
            if (!*reply) useFakeClock();
            withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
                const std::string good = dir.filePath("good.qfo").toStdString();
                files.answers = {good};
                click(d, "CmdSaveF");
                const std::vector<std::string> goodLines = fileLines(good);
                ASSERT_EQ(goodLines.size(), 125u);
                EXPECT_FALSE(drawnWithoutValue(d, c.widget)) << "read: a value";
                const auto shownText = [&] {
                    if (auto* list = d.findChild<QComboBox*>(c.widget)) return list->currentText().toStdString();
                    return text(d, c.widget);
                };
                const std::string shown = shownText();

                sim.addFault(refusalOrSilence(c.item, c.group, reply));
                click(d, "cmdUp");
                sim.clearFaults();
                if (!*reply && c.unansweredEnds)
                    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Upload incomplete"});
                else
                    EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(G().Connected);
                EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                EXPECT_EQ(shownText(), shown) << "it keeps what it showed, never a refusal";
                const std::size_t how = !*reply ? 2 : std::string(reply) == "CNU" ? 1 : 0;
                const auto downloadLeaves = [&](const std::string& named) {
                    messages.shown.clear();
                    sim.clearFrames();
                    click(d, "cmdDown");
                    EXPECT_FALSE(framesContain(c.sameWritten)) << "nothing sent for it";
                    EXPECT_TRUE(framesContain({"G00", "I65", "D3"})) << "the rest goes";
                    if (named.empty())
                        EXPECT_TRUE(messages.shown.empty());
                    else
                        EXPECT_EQ(messages.texts(), leftMessage(named));
                };
                downloadLeaves(c.names[how]);

                // Saved: an empty field. Read back: no value, not checked,
                // not sent (an item the card does not use stays so).
                const std::string saved = dir.filePath("saved.qfo").toStdString();
                files.answers = {saved};
                messages.shown.clear();
                click(d, "CmdSaveF");
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_EQ(fileLines(saved).at(static_cast<std::size_t>(c.line - 1)), "\"\"");
                files.answers = {saved};
                click(d, "CmdReadF");
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_TRUE(drawnWithoutValue(d, c.widget));
                downloadLeaves(c.namesAfterFile[how]);

                // The same text the control showed, and another: values.
                for (const auto& [textOf, written] :
                     {std::pair{c.same, c.sameWritten}, std::pair{c.other, c.otherWritten}}) {
                    SCOPED_TRACE(textOf);
                    files.answers = {writeFileWith(dir, "edited.qfo", goodLines, c.line, textOf)};
                    messages.shown.clear();
                    click(d, "CmdReadF");
                    EXPECT_TRUE(messages.shown.empty());
                    EXPECT_FALSE(drawnWithoutValue(d, c.widget));
                    sim.clearFrames();
                    click(d, "cmdDown");
                    EXPECT_TRUE(framesContain(written));
                    EXPECT_TRUE(messages.shown.empty()) << messages.texts().at(0);
                }
                click(d, "cmdExit");
            });
        }
    }
}

// A refusal at one opening says nothing of the next connection's card.
TEST_F(NetworkTest, GatewayDialogOnASecondStation) {
    connectTo(kGatewayStation);
    sim.addFault(refusal("I69", "00", "CNG"));
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        EXPECT_TRUE(drawnWithoutValue(d, "PortNo"));
        click(d, "cmdExit");
    });
    sim.clearFaults();
    menu("mnuConnectDisconnect")->trigger();
    connectTo(std::string(kGatewayStation) + "  set 00 69 7000\n");
    withDialog<frmQFODH>("cmdSpecialSetting", [&](frmQFODH& d) {
        EXPECT_EQ(text(d, "PortNo"), "7000");
        EXPECT_FALSE(drawnWithoutValue(d, "PortNo"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(framesContain({"G00", "I69", "D7000"}));
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
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
