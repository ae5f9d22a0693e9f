// The communication card dialogs against the simulator: "Setting" (general
// settings), and "SpecialSetting" for Ethernet, fieldbus and CC-Link IE cards.
#include <gtest/gtest.h>

#include <QRadioButton>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/Globals.h"
#include "core/LineTurn.h"
#include "core/Protocol.h"
#include "screens/network/frmComm.h"
#include "screens/network/frmEther.h"
#include "screens/network/frmOP.h"
#include "screens/network/frmOVRT.h"
#include "shell/CommDialogs.h"
#include "tests/screens/network/NetworkFixture.h"
#include "ui/DialogValues.h"

using namespace talvo;
using talvo::network::frmComm;
using talvo::network::frmEther;
using talvo::network::frmOP;
using talvo::network::frmOVRT;
using talvo::test::NetworkTest;
using talvo::test::silence;

namespace {

using Frames = std::vector<std::string>;

// A communication card whose model reply carries its status and whose version
// reply its model.
std::string comm(const std::string& model, const std::string& version, const std::string& more = "") {
    return "comm K6-" + model + ":RUN version K6-" + model + ":" + version + "\n" + more;
}

CardRecord& rec17() { return CommCardRecord(); }

bool contains(const Frames& frames, const Frames& run) {
    return std::search(frames.begin(), frames.end(), run.begin(), run.end()) != frames.end();
}

std::size_t count(const Frames& frames, const std::string& f) { return std::count(frames.begin(), frames.end(), f); }

// ---------------- frmComm ----------------

TEST_F(NetworkTest, CommDialogOpeningShowsTheCardAndRecord17) {
    connectTo(comm("OW1", "2.04", "  set 00 39 01,80,FF\n"));
    rec17().Param.set(1, "25");
    rec17().Param.set(2, "3");
    rec17().Param.set(18, "1");
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_EQ(text(d, "txtName"), "OW1");
        EXPECT_EQ(text(d, "txtStatus_0"), "RUN");
        EXPECT_EQ(text(d, "txtStatus_1"), "RUN");
        EXPECT_EQ(text(d, "txtVersion"), "V2.04");
        EXPECT_EQ(text(d, "txtSW"), "01,80,FF");
        EXPECT_EQ(text(d, "txtTimeout"), "25");
        EXPECT_EQ(text(d, "txtOutSlot_1"), "3");
        EXPECT_TRUE(in<QCheckBox>(d, "ChkCJC")->isChecked());
        EXPECT_TRUE(shown(d, "ChkCJC"));
        EXPECT_FALSE(shown(d, "txtVersion2"));
        EXPECT_FALSE(shown(d, "txtNP1"));
        EXPECT_FALSE(shown(d, "Label6"));
        EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D0", "G00", "I04", "G00", "I03", "G00", "I04",
                                        "G00", "I40", "G00", "I39", "G00", "I04"}));
        // Activated again (a message box or file dialog closed): no second read.
        const auto before = sim.frames().size();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&d, &activate);
        d.hide();
        d.show();
        QTest::qWait(50);
        EXPECT_EQ(sim.frames().size(), before);
        click(d, "cmdExit");
    });
}

struct Layout {
    const char* station;
    bool status, timeout, output, delay, upDown, version2;
};

TEST_F(NetworkTest, CommDialogOffersWhatTheNameAndVersionGive) {
    const Layout cases[] = {
        {"comm K6-OW1:RUN version K6-OW1:2.03\n", true, true, true, false, true, false},
        {"comm K6-OWS1:RUN version K6-OWS1:1.00\n", true, true, false, true, true, false},
        {"comm K6-OX1:RUN version K6-OX1:2.05\n", true, true, true, true, true, false},
        {"comm K6-OX4:RUN version K6-OX4:2.01\n", true, true, true, true, true, false},
        {"comm K6-OW2:RUN version K6-OW2:1.00\n", true, true, false, false, true, false},
        {"comm K6-OW2:RUN version K6-OW2:1.01\n", true, true, true, false, true, false},
        {"comm HM3EX:RUN version HM3EX:0.10\n", true, true, true, true, true, false},
        {"comm K6-QFODH1:RUN version K6-QFODH1:2.00\n", false, false, false, false, false, false},
        {"comm K6-OG1:RUN version K6-OG1:2.00\n", true, false, true, false, true, false},
        {"comm K6-OVRT1:RUN version K6-OVRT1:2.00\n", true, true, true, false, true, true},
    };
    for (const Layout& c : cases) {
        restartWindow();
        connectTo(c.station);
        withDialog<frmComm>("cmdComm", [&](frmComm& d) {
            EXPECT_EQ(shown(d, "txtStatus_0"), c.status) << c.station;
            EXPECT_EQ(shown(d, "txtTimeout"), c.timeout) << c.station;
            EXPECT_EQ(shown(d, "fraOutput"), c.output) << c.station;
            EXPECT_EQ(shown(d, "ChkCJC"), c.delay) << c.station;
            EXPECT_EQ(shown(d, "cmdUp"), c.upDown) << c.station;
            EXPECT_EQ(shown(d, "cmdDown"), c.upDown) << c.station;
            EXPECT_EQ(shown(d, "txtVersion2"), c.version2) << c.station;
            if (c.version2) {
                EXPECT_EQ(text(d, "txtVersion2"), "V1.10");
            }
            EXPECT_FALSE(text(d, "txtName").empty()) << c.station;
            EXPECT_TRUE(in<QPushButton>(d, "cmdExit")->isEnabled());
            click(d, "cmdExit");
        });
        EXPECT_TRUE(messages.shown.empty()) << c.station;
    }
}

TEST_F(NetworkTest, CommDialogOfAnOG1CardWritesItsHiddenTimeout) {
    connectTo(comm("OG1", "2.00"));
    rec17().Param.set(1, "50");
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_FALSE(shown(d, "txtTimeout"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(contains(sim.frames(), {"G0", "I01", "DF", "G0", "I09", "D50"}));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "00", 9), "50");
}

TEST_F(NetworkTest, CommDialogTakesTheNameFromTheVersionWhenTheModelIsRefused) {
    connectTo("comm CNG version K6-OW1:2.04\n");
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_EQ(text(d, "txtName"), "OW1");
        EXPECT_TRUE(shown(d, "ChkCJC")) << "the capabilities follow the name found";
        ui::setText(in(d, "txtName"), "");
        click(d, "cmdUp");
        EXPECT_EQ(text(d, "txtName"), "OW1") << "Upload takes it from the version too";
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().CardType, "OW1");
    EXPECT_TRUE(messages.shown.empty());

    restartWindow();
    connectTo("comm CNG version XX-OW1:2.04\n");
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        EXPECT_FALSE(G().Connected);
        click(d, "cmdExit");
    });
}

TEST_F(NetworkTest, CommDialogDownloadSendsPlainWholeNumbersInRange) {
    connectTo(comm("OW1", "2.04"));
    const std::pair<const char*, const char*> timeouts[] = {
        {"1", "D30"}, {"32001", "D30"}, {"2", "D2"}, {"32000", "D32000"}, {"5abc", "D5"}, {" 7", "D7"}};
    withDialog<frmComm>("cmdComm", [&](frmComm& d) {
        for (const auto& [box, frame] : timeouts) {
            type(d, "txtTimeout", box);
            sim.clearFrames();
            click(d, "cmdDown");
            const Frames f = framesFrom("I09");
            ASSERT_GE(f.size(), 2u) << box;
            EXPECT_EQ(f[1], frame) << box;
        }
        type(d, "txtOutSlot_1", "17");
        type(d, "txtOutSlot_2", "-1");
        type(d, "txtOutSlot_3", "");
        type(d, "txtOutSlot_4", "16");
        type(d, "txtOutSlot_5", "0");
        sim.clearFrames();
        click(d, "cmdDown");
        const Frames f = sim.frames();
        EXPECT_TRUE(contains(f, {"I10", "D0"}));
        EXPECT_TRUE(contains(f, {"I11", "D0"}));
        EXPECT_EQ(count(f, "I12"), 0u) << "an empty box is not sent";
        EXPECT_TRUE(contains(f, {"I13", "D16"}));
        EXPECT_TRUE(contains(f, {"I14", "D0"}));
        EXPECT_EQ(text(d, "txtOutSlot_1"), "0");
        // No failure; each Download names the slots it left as they are (the
        // empty boxes, which this dialog never read), and the switch it never
        // read either.
        for (const auto& m : messages.shown) EXPECT_EQ(m.title, ui::kLeftAsTheyAreTitle) << m.text;
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().text, std::string(ui::kLeftAsTheyAreText) +
                                                  "In Slot 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16; "
                                                  "Fieldbus Activate Delay SW");
        EXPECT_EQ(count(f, "I30"), 0u) << "the switch as the program showed it is no value";
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[1], "7");
    EXPECT_EQ(rec17().Param[2], "0");
    EXPECT_EQ(rec17().Param[5], "16");
    EXPECT_EQ(rec17().Param[18], "");
}

TEST_F(NetworkTest, CommDialogUsesGroup50ForCcLinkIeCards) {
    const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
        {"OVRT1", {"G50", "G50"}}, {"OVRT1W", {"G50", "G50"}}, {"OW1", {"G0", "G17"}}};
    for (const auto& [model, groups] : cases) {
        restartWindow();
        connectTo(comm(model, "2.04"));
        withDialog<frmComm>("cmdComm", [&](frmComm& d) {
            sim.clearFrames();
            click(d, "cmdUp");
            EXPECT_TRUE(contains(sim.frames(), {groups.first, "I01", "DF", groups.first, "I09"})) << model;
            EXPECT_TRUE(contains(sim.frames(), {groups.second, "I01", "D1", groups.second, "I10"})) << model;
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_TRUE(contains(sim.frames(), {groups.first, "I09", "D30"})) << model;
            EXPECT_TRUE(contains(sim.frames(), {groups.second, "I10", "D0"})) << model;
            click(d, "cmdExit");
        });
        EXPECT_TRUE(messages.shown.empty()) << model;
    }
}

// One unanswered step: the message, the disconnect, the buttons back, and no
// further read of the step that failed.
struct FailingStep {
    const char* what;  // "open", "up" or "down"
    const char* frame;
    const char* group;
    int skip;
    const char* station;
};

TEST_F(NetworkTest, CommDialogFailsOnceAtEachUnansweredStep) {
    const std::string ow1 = comm("OW1", "2.04");
    const std::string ovrt = comm("OVRT1", "2.04");
    const FailingStep steps[] = {
        {"open", "I04", "", 0, ow1.c_str()},   {"open", "I03", "", 0, ow1.c_str()},
        {"open", "I04", "", 1, ow1.c_str()},   {"open", "I40", "", 0, ow1.c_str()},
        {"open", "I40", "50", 0, ovrt.c_str()}, {"up", "I40", "", 0, ow1.c_str()},
        {"up", "I04", "", 0, ow1.c_str()},     {"up", "I03", "", 0, ow1.c_str()},
        {"up", "I09", "", 0, ow1.c_str()},     {"up", "I15", "", 0, ow1.c_str()},
        {"up", "I30", "", 0, ow1.c_str()},     {"down", "D1", "00", 0, ow1.c_str()},
        {"down", "D30", "", 0, ow1.c_str()},   {"down", "D0", "17", 3, ow1.c_str()},
        {"down", "D0", "00", 0, ow1.c_str()},
    };
    for (const FailingStep& s : steps) {
        const std::string what = std::string(s.what) + " " + s.frame + " " + s.group + " skip " + std::to_string(s.skip);
        restartWindow();
        connectTo(s.station);
        useFakeClock();
        k6sim::Fault f = silence(s.frame, 0);
        f.group = s.group;
        f.skip = s.skip;
        if (std::string(s.what) == "open") sim.addFault(f);
        withDialog<frmComm>("cmdComm", [&](frmComm& d) {
            if (std::string(s.what) == "up") {
                sim.addFault(f);
                click(d, "cmdUp");
            } else if (std::string(s.what) == "down") {
                click(d, "cmdUp");  // the boxes filled from the card
                sim.addFault(f);
                click(d, "cmdDown");
            }
            const char* message = std::string(s.what) == "down" ? "Downloading incomplete" : "Uploading incomplete";
            ASSERT_EQ(messages.texts(), std::vector<std::string>{message}) << what;
            EXPECT_EQ(messages.shown[0].title, std::string(s.what) == "down" ? "Downloading" : "Uploading");
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
            EXPECT_FALSE(G().Connected) << what;
            // The link is down: the transfers wait for a new connection, Exit stays.
            for (const char* b : {"cmdUp", "cmdDown"}) EXPECT_FALSE(in<QPushButton>(d, b)->isEnabled()) << what;
            EXPECT_TRUE(in<QPushButton>(d, "cmdExit")->isEnabled()) << what;
            const auto before = sim.frames().size();
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&d, &activate);
            QTest::qWait(30);
            EXPECT_EQ(sim.frames().size(), before) << what << ": nothing more is read";
            click(d, "cmdExit");
        });
        EXPECT_EQ(messages.shown.size(), 1u) << what;
    }
}

TEST_F(NetworkTest, SettingIsOffForAMasterCard) {
    connectTo("comm MASTER:RUN version MASTER:1.00\n");
    EXPECT_FALSE(button("cmdComm")->isEnabled());
}

// ---------------- frmEther ----------------

TEST_F(NetworkTest, EthernetDialogLayoutsByModel) {
    connectTo(comm("OW1", "2.04"));
    withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
        EXPECT_TRUE(shown(d, "Frame1"));
        EXPECT_FALSE(shown(d, "txtDGate_3"));
        EXPECT_FALSE(shown(d, "txtIPsel"));
        EXPECT_EQ(text(d, "txtIP_3"), "192");
        EXPECT_EQ(text(d, "txtIP_2"), "168");
        EXPECT_EQ(text(d, "txtIP_1"), "0");
        EXPECT_EQ(text(d, "txtIP_0"), "10");
        EXPECT_EQ(text(d, "txtSNM_3"), "255");
        EXPECT_EQ(in<QLabel>(d, "lblMac_0")->text(), "00-80-4C");
        EXPECT_EQ(in<QLabel>(d, "lblMac_1")->text(), "12-34-56");
        EXPECT_EQ(text(d, "txtPort_1"), "502");
        EXPECT_EQ(text(d, "txtTimeout_4"), "10");
        EXPECT_TRUE(contains(sim.frames(), {"G00", "I1", "DF", "G00", "I58", "G00", "I1", "D1"}));
        click(d, "cmdExit");
    });
    restartWindow();
    connectTo(comm("OWUB", "2.04", "  set 00 77 x:2\n"));
    withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
        EXPECT_FALSE(shown(d, "Frame1"));
        EXPECT_TRUE(shown(d, "txtDGate_3"));
        EXPECT_TRUE(shown(d, "txtIPsel"));
        EXPECT_EQ(text(d, "txtDGate_0"), "1");
        EXPECT_EQ(text(d, "txtIPsel"), "2") << "what follows the second colon";
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(framesFrom("I77"), (Frames{"I77", "D2", "G00", "I59", "D192.168.0.10", "G00", "I78", "D192.168.0.1",
                                             "G00", "I60", "D255.255.255.0"}));
        click(d, "cmdExit");
    });
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NetworkTest, EthernetOctetBoxes) {
    connectTo(comm("OW1", "2.04"));
    withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
        QLineEdit* b = in(d, "txtIP_0");
        b->clear();
        QTest::keyClicks(b, "1234");
        EXPECT_EQ(text(d, "txtIP_0"), "123") << "a fourth digit is cut";
        EXPECT_TRUE(messages.shown.empty());
        b->clear();
        QTest::keyClicks(b, "256");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter 0 to 255."});
        EXPECT_EQ(text(d, "txtIP_0"), "256") << "the text stays";
        b->clear();
        QTest::keyClicks(b, "0");
        EXPECT_EQ(messages.shown.size(), 1u) << "0 gives no message";
        type(d, "txtIP_0", "-1");
        EXPECT_EQ(messages.texts().back(), "Please enter number.");

        type(d, "txtIP_0", "256");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter 0 to 255."});
        EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D00", "G01", "I01", "D1", "G00", "I40"}))
            << "refused after the version read, before any setting is written";
        EXPECT_TRUE(G().Connected);

        type(d, "txtIP_0", "7");
        type(d, "txtSNM_1", "");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter number in Subnet Mask."});
        EXPECT_EQ(sim.frames().back(), "I40");

        type(d, "txtSNM_1", "255");
        type(d, "txtTimeout_2", "");
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(contains(sim.frames(), {"G00", "I59", "D192.168.0.7"})) << "box 3 first";
        // An empty linger box has nothing to send: the card keeps its time, and the end names it.
        EXPECT_EQ(count(sim.frames(), "I72"), 0u);
        EXPECT_TRUE(contains(sim.frames(), {"G00", "I73", "D10"}));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{std::string(ui::kLeftAsTheyAreText) + "Linger 2"});
        click(d, "cmdExit");
    });
}

TEST_F(NetworkTest, EthernetAddressWithoutThreeDotsAndUnansweredSteps) {
    connectTo(comm("OW1", "2.04", "  set 00 59 10.1\n"));
    withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
        EXPECT_EQ(text(d, "txtIP_3"), "10");
        EXPECT_EQ(text(d, "txtIP_2"), "1");
        EXPECT_EQ(text(d, "txtIP_1"), "");
        EXPECT_EQ(text(d, "txtIP_0"), "");
        click(d, "cmdExit");
    });
    restartWindow();
    connectTo(comm("OW1", "2.04"));
    useFakeClock();
    withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
        sim.addFault(silence("D192.168.0.10", 0));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(count(sim.frames(), "I60"), 0u) << "nothing after the unanswered write";
        click(d, "cmdExit");
    });
}

// ---------------- frmOP ----------------

const char* const kOp = "comm K6-OP1:RUN version K6-OP1:1.00\n"
                        "  set 17 1001 0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7\n"
                        "  set 17 1002 0,1\n"
                        "  set 17 1003 8,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\n"
                        "  set 17 1006 3,3,3,3,3,3,3,3,3,3,3,3,3,3,3,3\n";

TEST_F(NetworkTest, FieldbusDialogStartsFromRecord17) {
    connectTo(kOp);
    rec17().Param.set(2, "7");
    rec17().ChOption.set(1, "NAME1");
    rec17().Param.set(17, "1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1");
    rec17().Param.set(33, "N2");
    // The card selected last is an I/O card's slot; the opening write must
    // still reach the communication card.
    ASSERT_FALSE(WriteItem(3, "00", "41", "2").empty());
    sim.clearFrames();
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I0", "D1", "G00", "I55"}));
        EXPECT_EQ(sim.value(0, "17", 0), "1");
        EXPECT_EQ(text(d, "txtTimeout"), "7");
        EXPECT_EQ(text(d, "txtCardList_1"), "NAME1");
        EXPECT_EQ(in<QComboBox>(d, "cbScl_0")->currentText(), "10");
        EXPECT_EQ(in<QComboBox>(d, "cbScl_16")->currentIndex(), -1) << "no list yet";
        EXPECT_EQ(text(d, "txtN2ADR_0"), "N2");
        EXPECT_FALSE(button("cmdSpecialSetting")->isEnabled()) << "no second opening while this one is up";
        click(d, "cmdExit");
    });
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled());
}

TEST_F(NetworkTest, FieldbusDialogPagesAndRoundTripsTheScaleLists) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        click(d, "cmdUp");
        const char* const texts[] = {"1", "10", "100", "1000", "0.1", "0.01", "0.001", "0.0001"};
        for (int c = 0; c < 16; ++c)
            EXPECT_EQ(in<QComboBox>(d, QString("cbScl_%1").arg(c))->currentText(), texts[c % 8]) << c;
        EXPECT_EQ(in<QComboBox>(d, "cbScl_16")->currentIndex(), -1) << "card 2's list has two entries";
        EXPECT_EQ(in<QComboBox>(d, "cbScl_32")->currentIndex(), -1) << "8 is no scale";
        EXPECT_EQ(in<QComboBox>(d, "cbScl_33")->currentIndex(), 0);
        EXPECT_EQ(text(d, "txtCardList_16"), "IO16");
        EXPECT_EQ(rec17().Param[17], "0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7");
        EXPECT_EQ(rec17().ChOption[16], "IO16");
        EXPECT_EQ(rec17().CardType, "OP1");
        EXPECT_EQ(rec17().Version, "V1.00");

        in<QRadioButton>(d, "OptScl2")->click();
        EXPECT_EQ(in<QLabel>(d, "lblSclCard_0")->text(), "I/O 5");
        EXPECT_EQ(in<QLabel>(d, "lblSclCard_3")->text(), "I/O 8");
        EXPECT_EQ(in<QComboBox>(d, "cbScl_16")->currentText(), "1000") << "card 6";
        EXPECT_EQ(text(d, "txtN2ADR_1"), "N06");
        EXPECT_EQ(d.sclList(6), "3,3,3,3,3,3,3,3,3,3,3,3,3,3,3,3") << "its trailing \";\" dropped";
        in<QRadioButton>(d, "OptScl3")->click();
        type(d, "txtN2ADR_2", "X11");  // card 11 only

        sim.clearFrames();
        click(d, "cmdDown");
        const Frames f = sim.frames();
        EXPECT_TRUE(contains(f, {"G17", "I44", "D0:0,1,2,3,4,5,6,7,0,1,2,3,4,5,6,7;"}));
        EXPECT_EQ(std::count_if(f.begin(), f.end(), [](const std::string& s) { return s.rfind("D1:", 0) == 0; }), 0)
            << "card 2's damaged list is not sent";
        EXPECT_TRUE(contains(f, {"G17", "I55", "DX11"}));
        EXPECT_TRUE(contains(f, {"G17", "I54", "DN10"}));
        click(d, "cmdExit");
    });
    EXPECT_EQ(sim.value(0, "17", 55), "X11");
    EXPECT_EQ(rec17().Param[43], "X11");
    EXPECT_EQ(rec17().Param[18], "0,1") << "not written: kept as uploaded";
}

// A read the card leaves unanswered ends the Upload with its message and the
// link down; the box and record 17 keep what they held.
TEST_F(NetworkTest, FieldbusDialogEndsTheUploadAtAnUnansweredRead) {
    connectTo(kOp);
    rec17().ChOption.set(1, "OLD");
    useFakeClock();
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        k6sim::Fault f = silence("I26", 0);
        f.group = "17";
        sim.addFault(f);
        click(d, "cmdUp");
        EXPECT_EQ(text(d, "txtCardList_1"), "OLD");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        EXPECT_EQ(messages.shown.at(0).title, "Uploading");
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(count(sim.frames(), "I27"), 0u) << "nothing read after it";
        EXPECT_FALSE(in<QPushButton>(d, "cmdDown")->isEnabled());
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().ChOption[1], "OLD");
}

TEST_F(NetworkTest, FieldbusDialogAsksForAnEmptyPowerOnDelay) {
    connectTo(kOp);
    withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
        click(d, "cmdUp");
        type(d, "txtTimeout", "");
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter Timeout Val."});
        EXPECT_EQ(sim.frames().back(), "I40");
        EXPECT_TRUE(in<QPushButton>(d, "cmdDown")->isEnabled());
        click(d, "cmdExit");
    });
}

// ---------------- frmOVRT ----------------

TEST_F(NetworkTest, CcLinkIeDialogShowsTheCardAndTheRecordsValues) {
    connectTo(comm("OVRT1W", "1.00"));
    rec17().Param.set(20, "12");
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        EXPECT_EQ(text(d, "txbNetWorkNo"), "12") << "the record's value takes precedence";
        EXPECT_EQ(text(d, "txbStationID"), "5");
        EXPECT_EQ(text(d, "txbMACAdd"), "00-80-4C-12-34-56");
        EXPECT_EQ(text(d, "txbLinkStatus"), "Data link");
        // The old fault: drawn as disabled text, at about 1.7 : 1.
        for (const char* b : {"txbStationID", "txbMACAdd", "txbLinkStatus"}) expectDisplayOnly(in(d, b));
        EXPECT_EQ(text(d, "txbRedundant"), "0");
        EXPECT_TRUE(in(d, "txbRedundant")->isEnabled());
        EXPECT_FALSE(button("cmdSpecialSetting")->isEnabled());
        click(d, "cmdExit");
    });
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled()) << "given back when the dialog closes";
}

TEST_F(NetworkTest, CcLinkIeChecksBothValuesBeforeWritingEither) {
    struct Case {
        const char* net;
        const char* delay;
        const char* message;  // "" none
    };
    const Case cases[] = {
        {"239", "5000", ""},
        {"1", "0", ""},
        {"240", "0", "Please enter number 1 - 239"},
        {"0", "0", "Please enter number 1 - 239"},
        {"", "0", "Please enter number 1 - 239"},
        {"12", "5001", "Please enter number 0 - 5000"},
    };
    connectTo(comm("OVRT1W", "1.00"));
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        for (const Case& c : cases) {
            type(d, "txbNetWorkNo", c.net);
            type(d, "txbRedundant", c.delay);
            messages.shown.clear();
            sim.clearFrames();
            click(d, "cmdDown");
            const Frames f = sim.frames();
            if (*c.message) {
                // The box with the focus is checked before anything is sent;
                // the other one after the select writes, before any setting.
                EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message}) << c.net << " " << c.delay;
                EXPECT_EQ(count(f, "I88") + count(f, "I97"), 0u) << c.net << " " << c.delay;
            } else {
                EXPECT_TRUE(messages.shown.empty()) << c.net;
                EXPECT_TRUE(contains(f, {"G50", "I88", std::string("D") + c.net, "G50", "I97", std::string("D") + c.delay}));
            }
            EXPECT_TRUE(in<QPushButton>(d, "cmdDown")->isEnabled());
        }
        click(d, "cmdExit");
    });
    EXPECT_EQ(rec17().Param[20], "12") << "a network No. that passed its check";
    EXPECT_EQ(rec17().Param[21], "0");
}

TEST_F(NetworkTest, CcLinkIeWriteTheCardDoesNotAnswerFailsTheDownloadAndKeepsRecord17) {
    struct Case {
        const char* what;
        const char* silentFrame;  // in group "50" of the communication card
        const char* netWorkNo;    // record 17's Param(20) afterwards
    };
    const Case cases[] = {{"network No.", "D12", "7"}, {"switching delay", "D250", "12"}};
    const auto writes = [](const std::string& item, const std::string& data, int times) {
        Frames f;
        for (int i = 0; i < times; ++i) f.insert(f.end(), {"G50", "I" + item, "D" + data});
        return f;
    };
    useFakeClock();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        connectTo(comm("OVRT1W", "1.00"));
        rec17().Param.set(20, "7");
        rec17().Param.set(21, "100");
        withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
            type(d, "txbNetWorkNo", "12");
            type(d, "txbRedundant", "250");
            k6sim::Fault f = silence(c.silentFrame, 0);
            f.group = "50";
            sim.addFault(f);
            sim.clearFrames();
            click(d, "cmdDown");
            ASSERT_TRUE(QTest::qWaitFor([&] { return !d.busy(); }, 20000));
            sim.clearFaults();
            // Eleven attempts at the write that gets no answer, and nothing after it.
            Frames expected = {"G00", "I01", "DF", "G00", "I41", "D00", "G50", "I01", "DF"};
            const Frames net = writes("88", "12", std::string(c.silentFrame) == "D12" ? 11 : 1);
            expected.insert(expected.end(), net.begin(), net.end());
            if (std::string(c.silentFrame) == "D250") {
                const Frames delay = writes("97", "250", 11);
                expected.insert(expected.end(), delay.begin(), delay.end());
            }
            EXPECT_EQ(sim.frames(), expected);
            ASSERT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
            EXPECT_EQ(messages.shown[0].title, "Downloading");
            EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Stop);
            EXPECT_FALSE(G().Connected);
            EXPECT_FALSE(in<QPushButton>(d, "cmdDown")->isEnabled());
            EXPECT_TRUE(in<QPushButton>(d, "cmdExit")->isEnabled());
            click(d, "cmdExit");
        });
        // Only what the card took: the network No. when the delay was the write that failed.
        EXPECT_EQ(rec17().Param[20], c.netWorkNo);
        EXPECT_EQ(rec17().Param[21], "100");
    }
}

TEST_F(NetworkTest, CcLinkIeWithoutRedundancyNeitherChecksNorWritesTheDelay) {
    connectTo(comm("OVRT1", "1.00"));
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        EXPECT_FALSE(in(d, "txbRedundant")->isEnabled());
        type(d, "txbRedundant", "9999");
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_TRUE(contains(sim.frames(), {"G50", "I88", "D1"}));
        EXPECT_EQ(count(sim.frames(), "I97"), 0u);
        click(d, "cmdExit");
    });
}

TEST_F(NetworkTest, CcLinkIeLostFocusChecksAndExit) {
    connectTo(comm("OVRT1W", "1.00"));
    withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        QLineEdit* net = in(d, "txbNetWorkNo");
        net->setFocus(Qt::TabFocusReason);
        net->clear();
        QTest::keyClicks(net, "3a00");
        EXPECT_EQ(text(d, "txbNetWorkNo"), "300") << "digits only";
        in(d, "txbRedundant")->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Please enter number 1 - 239"});
        EXPECT_EQ(QApplication::focusWidget(), net);
        // Leaving it for Exit: no check.
        messages.shown.clear();
        in<QPushButton>(d, "cmdExit")->setFocus(Qt::TabFocusReason);
        QTest::qWait(50);
        EXPECT_TRUE(messages.shown.empty());
        click(d, "cmdExit");
    });
    EXPECT_TRUE(messages.shown.empty());
}

// ---------------- the stations that ship ----------------

std::string stationFile(const std::string& name) {
    std::ifstream in(std::string(K6SIM_STATIONS_DIR) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Each station file of a communication card model: "Setting" reads the card,
// and "SpecialSetting" opens the model's own dialog, which reads it too.
TEST_F(NetworkTest, StationFilesOpenTheirCardsDialogs) {
    struct Case {
        const char* file;
        const char* name;  // frmComm's txtName
        std::function<void(NetworkTest&)> special;
    };
    const Case cases[] = {
        {"ethernet_owub.k6", "OWUB",
         [](NetworkTest& t) {
             t.withDialog<frmEther>("cmdSpecialSetting", [&](frmEther& d) {
                 EXPECT_TRUE(shown(d, "txtIPsel"));
                 EXPECT_EQ(text(d, "txtIPsel"), "1");
                 EXPECT_EQ(text(d, "txtDGate_3"), "192");
                 EXPECT_EQ(text(d, "txtIP_0"), "10");
                 click(d, "cmdExit");
             });
         }},
        {"fieldbus_op1.k6", "OP1",
         [](NetworkTest& t) {
             t.withDialog<frmOP>("cmdSpecialSetting", [&](frmOP& d) {
                 click(d, "cmdUp");
                 EXPECT_EQ(text(d, "txtCardList_1"), "IO01");
                 EXPECT_EQ(in<QComboBox>(d, "cbScl_1")->currentText(), "10");
                 EXPECT_EQ(in<QComboBox>(d, "cbScl_16")->currentText(), "0.1");
                 EXPECT_EQ(text(d, "txtTimeout"), "10");
                 click(d, "cmdExit");
             });
         }},
        {"cclink_ovrt1.k6", "OVRT1",
         [](NetworkTest& t) {
             t.withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
                 EXPECT_EQ(text(d, "txbStationID"), "7");
                 EXPECT_EQ(text(d, "txbMACAdd"), "00-80-4C-12-34-56");
                 EXPECT_FALSE(in(d, "txbRedundant")->isEnabled());
                 click(d, "cmdExit");
             });
         }},
        {"cclink_ovrt1w.k6", "OVRT1W",
         [](NetworkTest& t) {
             t.withDialog<frmOVRT>("cmdSpecialSetting", [&](frmOVRT& d) {
                 EXPECT_EQ(text(d, "txbRedundant"), "200");
                 EXPECT_TRUE(in(d, "txbRedundant")->isEnabled());
                 EXPECT_EQ(text(d, "txbLinkStatus"), "Data link");
                 click(d, "cmdExit");
             });
         }},
        {"comm_cng.k6", "OW1",
         [](NetworkTest& t) {
             EXPECT_FALSE(t.button("cmdSpecialSetting")->isVisibleTo(t.window.get())) << "no dialog of its own";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        restartWindow();
        connectTo(stationFile(c.file));
        withDialog<frmComm>("cmdComm", [&](frmComm& d) {
            EXPECT_EQ(text(d, "txtName"), c.name);
            EXPECT_EQ(text(d, "txtStatus_0"), "RUN");
            click(d, "cmdUp");
            click(d, "cmdExit");
        });
        c.special(*this);
        EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? "" : messages.shown[0].text);
        EXPECT_TRUE(G().Connected);
    }
}

}  // namespace

namespace {

TEST(SpecialSetting, PicksTheDialogByModel) {
    using shell::CommDialog;
    struct Case {
        const char* model;
        bool master;
        bool any;
        CommDialog kind;
    };
    const Case cases[] = {
        {"K6-OW1:RUN", false, true, CommDialog::Ether},  {"K6-OWUB:RUN", false, true, CommDialog::Ether},
        {"K6-QA1", false, true, CommDialog::Ether},      {"HM3EX:RUN", false, true, CommDialog::Ether},
        {"K6-OWHD:RUN", false, false, CommDialog::Comm}, {"K6-OW1:RUN", true, false, CommDialog::Comm},
        {"K6-OP1:RUN", false, true, CommDialog::OP},     {"K6-OP2", false, true, CommDialog::OP},
        {"K6-OXF1F", false, true, CommDialog::OXF1F},    {"K6-OXF2", false, true, CommDialog::OXF},
        {"K6-OG1", false, true, CommDialog::OG},         {"K6-OVRT1W", false, true, CommDialog::OVRT},
        {"K6-QFODH1", false, true, CommDialog::QFODH},   {"K6-ZZ9", false, false, CommDialog::Comm},
        {"", false, false, CommDialog::Comm},            {"K6-OP1", true, false, CommDialog::Comm},
    };
    for (const Case& c : cases) {
        CommDialog kind = CommDialog::Comm;
        EXPECT_EQ(shell::SpecialDialogOf(c.model, c.master, kind), c.any) << c.model;
        EXPECT_EQ(kind, c.kind) << c.model;
    }
}

}  // namespace

TEST_F(NetworkTest, SpecialSettingWithoutADialogYetOpensNothingAndStaysUsable) {
    shell::RegisterCommDialog(shell::CommDialog::OG, {});
    connectTo("comm K6-OG1:RUN version K6-OG1:1.00\n");
    bool shownAny = false;
    onModal([&](QDialog&) { shownAny = true; });
    button("cmdSpecialSetting")->click();
    platform::setModalHandler({});
    EXPECT_FALSE(shownAny);
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled());
    EXPECT_TRUE(sim.frames().empty());
}
