// The wireless card settings dialog in the real main window against the
// simulator: opening from "SpecialSetting", the transfers with their exact
// frames, the checks, the key masking and the settings files.
#include "tests/screens/wireless/WirelessDialogFixture.h"

using namespace talvo;
using namespace talvo::test::wireless_dialog;
using talvo::test::silence;

namespace {

// Per model and firmware version: what the set-up makes of it and which items the upload reads.
TEST_F(WirelessDialogTest, OpeningSetsUpByVersionAndUploadsTheModelsItems) {
    struct Case {
        const char* model;
        const char* version;
        const char* dialog;
        int level, fileCode, scaleEntries;
        bool modeItem, newItems, newEnabled, modeEnabled;
    };
    const Case cases[] = {
        {"OXF1", "2.13", "frmOXF", 0, 2, 3, false, false, false, false},
        {"OXF1", "2.14", "frmOXF", 1, 3, 3, true, false, false, true},
        {"OXF1", "3.00", "frmOXF", 2, 4, 4, true, true, true, true},
        {"OXF1F", "1.00", "frmOXF1F", 0, 0, 4, true, true, true, true},
        {"OG1", "2.06", "frmOG", 0, 0, 3, false, false, false, false},
        {"OG1", "2.07", "frmOG", 0, 1, 3, false, false, false, false},
        {"OG1", "3.00", "frmOG", 1, 2, 4, false, true, true, false},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.model) + " " + c.version;
        restartWindow();
        connectTo(station(c.model, c.version));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            EXPECT_EQ(d.objectName().toStdString(), c.dialog) << what;
            EXPECT_FALSE(button("cmdSpecialSetting")->isEnabled()) << what;
            EXPECT_EQ(d.FirmwareLevel(), c.level) << what;
            EXPECT_EQ(d.FileFormatCode(), c.fileCode) << what;
            EXPECT_EQ(combo(d, "List_W_Scale")->count(), c.scaleEntries) << what;
            const Frames f = sim.frames();
            const bool og = std::string(c.model) == "OG1";
            const bool oxf1f = std::string(c.model) == "OXF1F";
            // The set-up reads the version first, except on OXF1F.
            const Frames select = {"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I01", "D1"};
            Frames setup;
            if (!oxf1f) {
                setup = select;
                setup.insert(setup.end(), {"G00", "I40"});
            }
            Frames upload = select;
            upload.insert(upload.end(), {"G00", "I40"});
            Frames expected = setup;
            expected.insert(expected.end(), upload.begin(), upload.end());
            const auto steps = wireless::UploadSteps(d.model(), d.FirmwareLevel());
            for (const auto& s : steps) {
                expected.push_back("G" + s.group);
                expected.push_back("I" + s.item);
            }
            EXPECT_EQ(f, expected) << what;
            EXPECT_EQ(count(f, "I55"), c.modeItem ? 1u : 0u) << what;
            EXPECT_EQ(count(f, "I26") + count(f, "I29"), c.newItems ? 2u : 0u) << what;
            if (og) {
                EXPECT_EQ(d.findChild<QComboBox*>("List_M_Mode"), nullptr);
                EXPECT_NE(d.findChild<QLineEdit*>("wirTimer_Send"), nullptr);
                // OG's upload: the radio side up to "45" before the Modbus timers.
                const Frames ogOrder = reads({{"17", "44"}, {"17", "45"}, {"00", "62"}, {"00", "63"}, {"17", "46"}});
                EXPECT_TRUE(framesContain(ogOrder))
                    << what;
            } else {
                EXPECT_EQ(entry(d, "List_M_DataMode"), "ASCII") << what;
                EXPECT_EQ(entry(d, "List_M_Baudrate"), "9600bps") << what;
                EXPECT_EQ(entry(d, "List_M_Parity"), "Even") << what;
                EXPECT_EQ(entry(d, "List_M_WEPort"), "Wireless") << what;
                EXPECT_EQ(enabled(d, "List_M_Mode"), c.modeEnabled) << what;
                EXPECT_EQ(entry(d, "List_M_Mode"), "SLAVE") << what;
                EXPECT_EQ(d.findChild<QLineEdit*>("wirTimer_Send") != nullptr, !oxf1f) << what;
            }
            EXPECT_EQ(text(d, "modAdd"), "12") << what;
            EXPECT_EQ(text(d, "modTimer"), "30") << what;
            EXPECT_EQ(text(d, "wirPANID"), "1A2B") << what;
            EXPECT_EQ(text(d, "wirChNo_0"), "11") << what;
            EXPECT_EQ(text(d, "wirChNo_1"), "25") << what;
            EXPECT_EQ(text(d, "wirNetWork"), "NET-1") << what;
            EXPECT_EQ(text(d, "wirPassword"), std::string(32, '*')) << what;
            EXPECT_EQ(d.KeyText(), kCardKey) << what;
            EXPECT_EQ(text(d, "MAC_Address"), "00-80-4C-AB-CD-EF") << what;
            EXPECT_EQ(entry(d, "List_W_Level"), "  20mW") << what;
            EXPECT_EQ(entry(d, "List_W_Scale"), "31 - 60") << what;
            EXPECT_EQ(entry(d, "FixNetworkFlag"), "Enable") << what;
            EXPECT_TRUE(enabled(d, "ShortAddress2")) << what;
            EXPECT_EQ(enabled(d, "NSAQuality"), c.newEnabled) << what;
            if (c.newItems) {
                EXPECT_EQ(entry(d, "NDTTSU"), "2") << what;
                EXPECT_EQ(entry(d, "NSAQuality"), "Changing frequency\uFF65delaytime middle") << what;
                EXPECT_FALSE(enabled(d, "movementMode")) << what << ": not at scale entry 3";
            } else {
                EXPECT_EQ(entry(d, "NDTTSU"), "3") << what << ": the set-up's default";
            }
            EXPECT_TRUE(messages.shown.empty()) << what;
            click(d, "cmdExit");
        });
        EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled()) << what << ": given back when the dialog closes";
    }
}

TEST_F(WirelessDialogTest, DownloadWritesTheModelsItemsInTheModelsOrder) {
    struct Case {
        const char* model;
        const char* version;
        Frames writes;  // after the card selection (and version read)
    };
    const auto w = [](std::initializer_list<std::array<const char*, 3>> items) {
        Frames f;
        for (const auto& i : items)
            f.insert(f.end(), {std::string("G") + i[0], std::string("I") + i[1], std::string("D") + i[2]});
        return f;
    };
    const Frames chTail = w({{"17", "33", "0"}, {"17", "34", "0"}, {"17", "35", "0"}, {"17", "36", "0"},
                             {"17", "37", "0"}, {"17", "38", "0"}, {"17", "39", "0"}, {"17", "40", "0"}});
    const auto join = [](std::initializer_list<Frames> parts) {
        Frames f;
        for (const Frames& p : parts) f.insert(f.end(), p.begin(), p.end());
        return f;
    };
    const Case cases[] = {
        {"OXF1", "2.14",
         join({w({{"00", "56", "12"}, {"00", "58", "1"}, {"00", "57", "2"}, {"00", "60", "2"}, {"00", "61", "3"},
                  {"00", "62", "30"}, {"00", "63", "50"}, {"00", "55", "1"}, {"17", "30", "1A2B"}, {"17", "31", "07"},
                  {"17", "32", "25"}}),
               chTail,
               w({{"17", "41", "0001"}, {"17", "42", "NET-1"}, {"17", "43", kCardKey}, {"17", "44", "360"},
                  {"17", "45", "3"}, {"17", "46", "1"}, {"17", "47", "1"}, {"17", "48", "1"}, {"17", "49", "0002"},
                  {"17", "50", "1"}})})},
        {"OXF1F", "1.00",
         join({w({{"00", "56", "12"}, {"00", "58", "1"}, {"00", "57", "2"}, {"00", "60", "2"}, {"00", "61", "9"},
                  {"00", "62", "30"}, {"00", "63", "50"}, {"00", "55", "1"}, {"17", "30", "1A2B"}, {"17", "31", "07"},
                  {"17", "32", "25"}}),
               chTail,
               w({{"17", "41", "0001"}, {"17", "42", "NET-1"}, {"17", "43", kCardKey}, {"17", "45", "3"},
                  {"17", "46", "1"}, {"17", "47", "1"}, {"17", "48", "1"}, {"17", "49", "0002"}, {"17", "50", "1"},
                  {"17", "26", "0"}, {"17", "27", "1"}, {"17", "28", "1"}, {"17", "29", "2"}})})},
        {"OG1", "3.00",
         join({w({{"00", "56", "12"}, {"17", "30", "1A2B"}, {"17", "31", "7"}, {"17", "32", "25"}}), chTail,
               w({{"17", "41", "0001"}, {"17", "42", "NET-1"}, {"17", "43", kCardKey}, {"17", "44", "360"},
                  {"17", "45", "3"}, {"00", "62", "30"}, {"00", "63", "50"}, {"17", "46", "1"}, {"17", "47", "1"},
                  {"17", "48", "1"}, {"17", "49", "0002"}, {"17", "50", "1"}, {"17", "26", "0"}, {"17", "27", "1"},
                  {"17", "28", "1"}, {"17", "29", "2"}})})},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.model) + " " + c.version;
        restartWindow();
        connectTo(station(c.model, c.version));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            type(d, "wirChNo_0", "07");  // OG sends its number, the others the text
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), std::vector<std::string>{}) << what;
            Frames expected = {"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I01", "D1"};
            if (std::string(c.model) != "OXF1F") expected.insert(expected.end(), {"G00", "I40"});
            expected.insert(expected.end(), c.writes.begin(), c.writes.end());
            EXPECT_EQ(sim.frames(), expected) << what;
            EXPECT_EQ(sim.value(0, "17", 43), kCardKey) << what << ": the key read, written back unchanged";
            click(d, "cmdExit");
        });
    }
    // OXF at level 0 writes neither the relay mode nor the new-firmware options.
    restartWindow();
    connectTo(station("OXF1", "2.13"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        const Frames f = sim.frames();
        EXPECT_EQ(count(f, "I55") + count(f, "I26") + count(f, "I29"), 0u);
        EXPECT_EQ(count(f, "I50"), 1u);
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, AFailedCheckAnywhereWritesNothing) {
    struct Case {
        const char* model;
        const char* field;
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        {"OXF1", "ShortAddress2", "FFFE", "Please enter number 0000 - FFFD"},
        {"OXF1", "wirPANID", "FFFF", "Please enter number 0000 - FFFE"},
        {"OXF1", "wirChNo_3", "43", "Please enter number 0 - 28"},
        {"OG1", "wirChNo_3", "29", "Please enter number 0 - 28"},
        {"OXF1F", "wirChNo_3", "44", "Please enter number 0 - 43"},
        {"OXF1", "modAdd", "248", "Please enter number 1 - 247"},
        {"OXF1", "wirTimer_Send", "3601", "Please enter number 10 - 3600"},
        {"OXF1", "wirNetWork", "A\"B", "Please enter less than 16 characters"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.model) + " " + c.field + "=" + c.value;
        restartWindow();
        connectTo(station(c.model, "3.00"));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            // From a box without a check, so the command itself runs the checks.
            in(d, "MAC_Address")->setFocus();
            QCoreApplication::processEvents();
            type(d, c.field, c.value);
            sim.clearFrames();
            messages.shown.clear();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), (std::vector<std::string>{c.message, "Downloading incomplete"})) << what;
            EXPECT_EQ(messages.shown.back().title, "Downloading") << what;
            EXPECT_TRUE(sim.frames().empty()) << what << ": nothing sent";
            EXPECT_TRUE(in<QPushButton>(d, "cmdDown")->isEnabled()) << what;
            click(d, "cmdExit");
        });
    }
}

TEST_F(WirelessDialogTest, PassingEdgesAndTheChannelList) {
    connectTo(station("OXF1F", "1.00"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        // The edges that pass: a download goes through.
        type(d, "wirChNo_3", "43");
        type(d, "wirPANID", "FFFE");
        type(d, "ShortAddress2", "FFFD");
        type(d, "wirNetWork", std::string(16, 'n'));
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(sim.value(0, "17", 34), "43");
        // All ten channels 0 (an empty box counts as 0): the list's own message.
        for (int ch = 0; ch < 10; ++ch) type(d, QString("wirChNo_%1").arg(ch), ch == 4 ? "" : "0");
        sim.clearFrames();
        click(d, "cmdDown");
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.front().text, "Please enter channel No.");
        EXPECT_TRUE(sim.frames().empty());
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, KeyIsTypedBehindTheMaskAndCheckedAsHex) {
    connectTo(station("OXF1", "3.00"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        QLineEdit* key = in(d, "wirPassword");
        QLineEdit* other = in(d, "wirNetWork");
        key->setFocus();
        QTRY_COMPARE(ui::text(key), std::string(kCardKey));
        // 31 characters: the message, the typing stays, the key does not change.
        ui::setText(key, std::string(31, 'A'));
        other->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter 32 characters(0-F)"});
        EXPECT_EQ(d.KeyText(), kCardKey);
        // 32 characters that are not all hex (a paste): refused as well.
        messages.shown.clear();
        key->setFocus();
        ui::setText(key, std::string(31, 'A') + "G");
        other->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter 32 characters(0-F)"});
        // 32 hex digits: kept, the box shows the mask.
        messages.shown.clear();
        key->setFocus();
        ui::setText(key, std::string(32, 'B'));
        other->setFocus();
        QTRY_COMPARE(ui::text(key), std::string(32, '*'));
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(d.KeyText(), std::string(32, 'B'));
        click(d, "cmdDown");
        EXPECT_EQ(sim.value(0, "17", 43), std::string(32, 'B'));
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, LostFocusChecksAndLeavingByExit) {
    connectTo(station("OXF1", "3.00"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        QLineEdit* modAdd = in(d, "modAdd");
        modAdd->setFocus();
        ui::setText(modAdd, "248");
        in(d, "modTimer")->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter number 1 - 247"});
        EXPECT_EQ(ui::text(modAdd), "") << "the address is emptied";
        QTRY_VERIFY(modAdd->hasFocus());
        ui::setText(modAdd, "247");
        messages.shown.clear();
        QLineEdit* pan = in(d, "wirPANID");
        pan->setFocus();
        QTRY_VERIFY(pan->hasFocus());
        ui::setText(pan, "FFF");
        in(d, "modTimer")->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter number 0000 - FFFE"});
        EXPECT_EQ(ui::text(pan), "FFF") << "kept as typed";
        QTRY_VERIFY(pan->hasFocus());
        // Leaving by Exit with an invalid entry: no message, the dialog closes.
        messages.shown.clear();
        in<QPushButton>(d, "cmdExit")->setFocus();  // the press, then the release
        QCoreApplication::processEvents();
        click(d, "cmdExit");
        QCoreApplication::processEvents();
        EXPECT_EQ(messages.texts(), std::vector<std::string>{});
    });
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled());
}

TEST_F(WirelessDialogTest, AnUnansweredReadEndsTheUploadAndKeepsTheRest) {
    connectTo(station("OXF1", "3.00"));
    useFakeClock();
    k6sim::Fault f = silence("I42", 0);
    f.group = "17";
    sim.addFault(f);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
        EXPECT_EQ(text(d, "wirShortAddress"), "0001") << "read before it";
        EXPECT_EQ(text(d, "wirNetWork"), "") << "not read: as the set-up left it";
        EXPECT_TRUE(unread(d, "wirNetWork"));
        EXPECT_FALSE(unread(d, "wirShortAddress"));
        EXPECT_EQ(d.KeyText(), wireless::kDefaultKey);
        EXPECT_TRUE(unread(d, "wirPassword"));
        EXPECT_EQ(count(sim.frames(), "I43"), 0u) << "nothing after the unanswered read";
        EXPECT_TRUE(G().Connected);
        EXPECT_TRUE(in<QPushButton>(d, "cmdUp")->isEnabled());
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, AKeyReadThatCarriesNoKeyKeepsTheKey) {
    for (const char* reply : {"CNG", "NEEDLESS", "0123"}) {
        restartWindow();
        connectTo(station("OXF1", "3.00", std::string("  set 17 43 ") + reply + "\n"));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            EXPECT_EQ(d.KeyText(), wireless::kDefaultKey) << reply;
            EXPECT_EQ(text(d, "wirNetWork"), "NET-1") << reply << ": the upload went on";
            // The default key is no value: never written over the card's (a
            // text the card holds that is no key is no answer the dialog can take).
            EXPECT_TRUE(unread(d, "wirPassword")) << reply;
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(writes(sim.frames(), "17", "43"), 0u) << reply;
            EXPECT_EQ(messages.texts(), leftOnCard("Encryption key")) << reply;
            EXPECT_EQ(sim.value(0, "17", 43), reply) << reply;
            click(d, "cmdExit");
        });
    }
}

TEST_F(WirelessDialogTest, ListRepliesAndRelayMode) {
    connectTo(station("OXF1F", "1.00", "  set 00 55 RELAY\n  set 00 61 5\n  set 17 45 1\n  set 17 46 3\n"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(entry(d, "List_M_Mode"), "RELAY");
        EXPECT_EQ(entry(d, "List_M_DataMode"), "RTU");
        EXPECT_FALSE(enabled(d, "List_M_DataMode"));
        EXPECT_EQ(entry(d, "List_M_WEPort"), "Wireless") << "RELAY forces it";
        EXPECT_FALSE(enabled(d, "List_M_WEPort"));
        EXPECT_EQ(entry(d, "List_W_Level"), "0.16mW");
        EXPECT_EQ(entry(d, "List_W_Scale"), "Fixed + Low speed moving");
        EXPECT_TRUE(enabled(d, "movementMode"));
        EXPECT_FALSE(enabled(d, "NetworkJointMode"));
        // The user picks SLAVE: both unlocked, values kept.
        combo(d, "List_M_Mode")->setCurrentIndex(0);
        EXPECT_TRUE(enabled(d, "List_M_DataMode"));
        EXPECT_EQ(entry(d, "List_M_WEPort"), "Wireless");
        combo(d, "List_W_Scale")->setCurrentIndex(0);
        EXPECT_FALSE(enabled(d, "movementMode"));
        EXPECT_EQ(entry(d, "movementMode"), "Disable");
        combo(d, "FixNetworkFlag")->setCurrentIndex(0);
        EXPECT_FALSE(enabled(d, "ShortAddress2"));
        EXPECT_FALSE(enabled(d, "SetDetour"));
        combo(d, "List_W_flag")->setCurrentIndex(0);
        EXPECT_FALSE(enabled(d, "modTimer"));
        click(d, "cmdExit");
    });
    // OXF1F's port code 5 reads back as RS-485.
    restartWindow();
    connectTo(station("OXF1F", "1.00", "  set 00 61 5\n"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(entry(d, "List_M_WEPort"), "RS-485");
        click(d, "cmdDown");
        EXPECT_EQ(sim.value(0, "00", 61), "5");
        click(d, "cmdExit");
    });
}

// A list reply that names no entry gives the list no value: it is drawn not
// read, never written back, and named at the end of a Download that writes
// the rest. (Before, it blocked the whole Download with "Downloading
// incomplete" and nothing was written.)
TEST_F(WirelessDialogTest, AListReplyThatNamesNoEntryIsLeftAndNamed) {
    connectTo(station("OXF1", "3.00", "  set 17 45 9\n"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(combo(d, "List_W_Level")->currentIndex(), -1);
        EXPECT_TRUE(unread(d, "List_W_Level"));
        EXPECT_FALSE(unread(d, "List_W_Scale"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), leftOnCard("Transmitter power output"));
        EXPECT_EQ(count(sim.frames(), "I45"), 0u);
        EXPECT_TRUE(framesContain({"G17", "I44", "D360", "G17", "I46", "D1"}));
        EXPECT_EQ(sim.value(0, "17", 45), "9");
        // The user's pick is a value.
        pick(d, "List_W_Level", 0);
        EXPECT_FALSE(unread(d, "List_W_Level"));
        messages.shown.clear();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(sim.value(0, "17", 45), "1");
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, NoStationEndsTheDownloadAtTheFirstUnansweredExchange) {
    connectTo(station("OXF1", "3.00"));
    useFakeClock();
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.addFault(silence("", -1));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{"Downloading incomplete"});
        EXPECT_EQ(messages.shown.back().title, "Downloading");
        const Frames f = sim.frames();
        EXPECT_EQ(count(f, "I01"), 0u) << "the first exchange got no answer: nothing after it";
        EXPECT_EQ(count(f, "I56"), 0u);
        EXPECT_EQ(count(f, "G00"), 4u) << "its own retries";
        // The transfers never close the link: the station may answer again.
        EXPECT_TRUE(G().Connected);
        EXPECT_EQ(labelText("lblConStatus"), "Connected");
        sim.clearFaults();
        messages.shown.clear();
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty()) << "a second try goes through";
        click(d, "cmdExit");
    });
    EXPECT_TRUE(button("cmdSpecialSetting")->isEnabled());
}

TEST_F(WirelessDialogTest, SettingsFileRoundTripWithTheScrambledKey) {
    struct Case {
        const char* model;
        const char* version;
        const char* ext;
        int lines;   // the code line and the records
        bool keyed;  // the file code holds the key
    };
    const Case cases[] = {{"OXF1", "3.00", "oxf", 34, true}, {"OXF1", "2.13", "oxf", 34, true},
                          {"OXF1F", "1.00", "oxf1f", 33, true}, {"OG1", "3.00", "og", 29, true},
                          {"OG1", "2.07", "og", 29, true},   {"OG1", "2.06", "og", 28, false}};
    for (const Case& c : cases) {
        const std::string what = std::string(c.model) + " " + c.version;
        restartWindow();
        connectTo(station(c.model, c.version, "  set 17 45 2\n"));
        const std::string path = dir.filePath(QString("w.") + c.ext).toStdString();
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            files.answers = {path};
            click(d, "CmdSaveF");
            EXPECT_TRUE(messages.shown.empty()) << what;
            EXPECT_EQ(files.filters.back().substr(0, std::string(c.ext).size() + 1), std::string(c.ext) + " ") << what;
            const std::string saved = readFile(path);
            EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), c.lines) << what;
            EXPECT_EQ(saved.find(kCardKey), std::string::npos) << what << ": the key is not in plain";
            EXPECT_NE(saved.find("\"   1mW\"\r\n"), std::string::npos) << what;
            // Edited, then read back: the file's values and key.
            type(d, "wirNetWork", "OTHER");
            type(d, "modAdd", "99");
            combo(d, "List_W_Level")->setCurrentIndex(0);
            in(d, "wirPassword")->setFocus();
            ui::setText(in(d, "wirPassword"), std::string(32, 'C'));
            in(d, "wirNetWork")->setFocus();
            QTRY_COMPARE(d.KeyText(), std::string(32, 'C'));
            files.answers = {path};
            click(d, "CmdReadF");
            EXPECT_TRUE(messages.shown.empty()) << what;
            EXPECT_EQ(text(d, "wirNetWork"), "NET-1") << what;
            EXPECT_EQ(text(d, "modAdd"), "12") << what;
            EXPECT_EQ(entry(d, "List_W_Level"), "   1mW") << what;
            EXPECT_EQ(d.KeyText(), c.keyed ? std::string(kCardKey) : std::string(32, 'C')) << what;
            // A truncated file changes nothing.
            writeFile(path, saved.substr(0, saved.size() / 2));
            type(d, "wirNetWork", "KEPT");
            files.answers = {path};
            click(d, "CmdReadF");
            EXPECT_EQ(messages.shown.size(), 1u) << what;
            EXPECT_EQ(text(d, "wirNetWork"), "KEPT") << what;
            EXPECT_EQ(d.KeyText(), c.keyed ? std::string(kCardKey) : std::string(32, 'C')) << what;
            click(d, "cmdExit");
        });
    }
}

// The dialog adds the model's extension before it asks about replacing a
// file: "w" typed over an existing "w.og" is asked about, and "No" keeps it.
TEST_F(WirelessDialogTest, ANameTypedWithoutItsExtensionOverAFileIsAskedAbout) {
    const struct {
        const char* model;
        const char* version;
        const char* ext;
    } models[] = {{"OG1", "3.00", "og"}, {"OXF1", "3.00", "oxf"}, {"OXF1F", "1.00", "oxf1f"}};
    for (const auto& [model, version, ext] : models) {
        SCOPED_TRACE(model);
        restartWindow();
        connectTo(station(model, version));
        const std::string name = std::string("w.") + ext;
        const std::string path = dir.filePath(QString::fromLatin1(name.c_str())).toStdString();
        writeFile(path, "old");
        files.replaceQuestions.clear();
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            files.answers = {dir.filePath("w").toStdString()};
            files.replaceAnswers = {platform::MsgResult::No};
            click(d, "CmdSaveF");
            EXPECT_TRUE(messages.shown.empty());
            click(d, "cmdExit");
        });
        EXPECT_EQ(files.replaceQuestions,
                  std::vector<std::string>{name + " already exists.\nDo you want to replace it?"});
        EXPECT_EQ(readFile(path), "old");
        EXPECT_FALSE(QFile::exists(dir.filePath("w")));
    }
}

TEST_F(WirelessDialogTest, ReadingARelayFileForcesRtuAndWireless) {
    connectTo(station("OXF1F", "1.00", "  set 00 55 RELAY\n"));
    const std::string path = dir.filePath("relay.oxf1f").toStdString();
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        files.answers = {path};
        click(d, "CmdSaveF");
        click(d, "cmdExit");
    });
    restartWindow();
    connectTo(station("OXF1F", "1.00", "  set 00 58 1\n  set 00 61 5\n"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(entry(d, "List_M_Mode"), "SLAVE");
        EXPECT_TRUE(enabled(d, "List_M_DataMode"));
        files.answers = {path};
        click(d, "CmdReadF");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(entry(d, "List_M_Mode"), "RELAY");
        EXPECT_EQ(entry(d, "List_M_DataMode"), "RTU");
        EXPECT_FALSE(enabled(d, "List_M_DataMode"));
        EXPECT_EQ(entry(d, "List_M_WEPort"), "Wireless");
        EXPECT_FALSE(enabled(d, "List_M_WEPort"));
        EXPECT_EQ(text(d, "wirPassword"), std::string(32, '*')) << "the key box is not touched";
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, OgRefusesAFileOfANewerCode) {
    connectTo(station("OG1", "2.07"));
    const std::string path = dir.filePath("new.og").toStdString();
    std::string bytes = "2\r\n";
    for (int i = 0; i < 28; ++i) bytes += "\"1\"\r\n";
    writeFile(path, bytes);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        files.answers = {path};
        click(d, "CmdReadF");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, "read file incomplete");
        EXPECT_EQ(messages.shown[0].title, "save file");
        EXPECT_EQ(text(d, "modAdd"), "12");
        click(d, "cmdExit");
    });
}

// Nothing is written that would not read back the same, nor under a name other than the one chosen.
TEST_F(WirelessDialogTest, ASaveRefusesWhatTheFileCannotHold) {
    const std::string good = dir.filePath("bad.oxf").toStdString();
    const struct {
        const char* what;
        const char* box;
        std::string value;
        std::string path;
        std::string message;
    } cases[] = {
        {"a quote", "wirNetWork", "A\"B", good,
         "Record 21 holds a character that cannot be saved (\" or a line break)."},
        {"256 characters", "modAdd", std::string(256, '1'), good,
         "Record 2 is longer than 255 characters and cannot be saved."},
        {"a name that is no UTF-8", "modAdd", "12", dir.filePath("bad").toStdString() + "\xFF.oxf",
         "The file name is not valid UTF-8 text, so the file was not saved."},
    };
    for (const auto& c : cases) {
        restartWindow();
        connectTo(station("OXF1", "3.00"));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            // From a box without a check, so no entry check stands in the way.
            in(d, "MAC_Address")->setFocus();
            QCoreApplication::processEvents();
            type(d, c.box, c.value);
            files.answers = {c.path};
            click(d, "CmdSaveF");
            ASSERT_EQ(messages.texts(), std::vector<std::string>{c.message}) << c.what;
            EXPECT_EQ(messages.shown[0].title, "Open Error") << c.what;
            EXPECT_TRUE(QDir(dir.path()).isEmpty()) << c.what << ": no file at all";
            click(d, "cmdExit");
        });
    }
}

// A record longer than any setting is refused whole; the longest is taken.
TEST_F(WirelessDialogTest, AReadRefusesARecordLongerThanAnySetting) {
    connectTo(station("OXF1", "3.00"));
    const std::string path = dir.filePath("long.oxf").toStdString();
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        files.answers = {path};
        click(d, "CmdSaveF");
        const std::string saved = readFile(path);
        const std::size_t name = saved.find("\"NET-1\"");
        ASSERT_NE(name, std::string::npos);
        for (const std::size_t n : {256u, 255u}) {
            std::string bytes = saved;
            bytes.replace(name, 7, "\"" + std::string(n, 'N') + "\"");
            writeFile(path, bytes);
            messages.shown.clear();
            files.answers = {path};
            click(d, "CmdReadF");
            if (n > 255) {
                EXPECT_EQ(messages.texts(), std::vector<std::string>{"Line 21 holds a value longer than 255 characters."});
                EXPECT_EQ(text(d, "wirNetWork"), "NET-1");
            } else {
                EXPECT_TRUE(messages.shown.empty());
                EXPECT_EQ(text(d, "wirNetWork"), std::string(n, 'N'));
            }
        }
        click(d, "cmdExit");
    });
}

TEST_F(WirelessDialogTest, StationFilesDescribeEachModel) {
    const struct {
        const char* file;
        const char* dialog;
        const char* caption;  // the window's and the heading's
    } cases[] = {{"wireless.k6", "frmOXF", "OXFx Settings"},
                 {"wireless_oxf1f.k6", "frmOXF1F", "OXF1F Settings"},
                 {"wireless_og.k6", "frmOG", "OGx Settings"}};
    for (const auto& c : cases) {
        restartWindow();
        connectTo(readFile(std::string(K6SIM_STATIONS_DIR) + "/" + c.file));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            EXPECT_EQ(d.objectName().toStdString(), c.dialog) << c.file;
            EXPECT_EQ(d.windowTitle().toStdString(), c.caption) << c.file;
            EXPECT_EQ(in<QLabel>(d, "Label1")->text().toStdString(), c.caption) << c.file;
            EXPECT_TRUE(messages.shown.empty()) << c.file;
            click(d, "cmdExit");
        });
    }
}

// A text item the card refuses ("CNG", or "CNU" for an item it does not use)
// carries no value: the box keeps what it held, drawn as not read, and a
// Download leaves it as it is on the card and writes the rest. A refused one
// is named at the end; one the card does not use is not. (Before, one such
// item at the opening blocked the whole Download with a range message or
// "Downloading incomplete", and one the card did not use at a later Upload
// was written back as read.)
TEST_F(WirelessDialogTest, ARefusedTextReadIsLeftAndNamedAndTheRestWritten) {
    struct Case {
        const char* item;
        const char* reply;
        const char* box;
        const char* held;     // the card's value, once it answers
        const char* caption;  // as the dialog names it; "" for an item the card does not use
    };
    const Case cases[] = {
        {"42", "CNG", "wirNetWork", "NET-1", "Network name"},
        {"42", "CNU", "wirNetWork", "NET-1", ""},
        {"41", "CNG", "wirShortAddress", "0001", "Short address"},
        {"34", "CNU", "wirChNo_3", "0", ""},
        {"34", "CNG", "wirChNo_3", "0", "Radio channel number Ch. No. 04"},
        {"44", "CNG", "wirTimer_Send", "360", "Monitoring unit time of 10% Duty (sec)"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.box) + " " + c.reply;
        const std::vector<std::string> ending = *c.caption ? leftOnCard(c.caption) : std::vector<std::string>{};
        const std::string write = std::string("I") + c.item;
        restartWindow();
        connectTo(station("OXF1", "3.00"));
        k6sim::Fault refuse = test::fault(write, 0, k6sim::FaultAction::Reply, c.reply);
        refuse.group = "17";
        sim.addFault(refuse);
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            EXPECT_TRUE(messages.shown.empty()) << what << ": the upload goes on";
            EXPECT_EQ(text(d, c.box), "") << what << ": as the set-up left it, not \"" << c.reply << "\"";
            EXPECT_TRUE(unread(d, c.box)) << what;
            EXPECT_FALSE(unread(d, "modAdd")) << what;
            EXPECT_EQ(text(d, "MAC_Address"), "00-80-4C-AB-CD-EF") << what;
            sim.clearFaults();
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), ending) << what;
            EXPECT_EQ(writes(sim.frames(), "17", c.item), 0u) << what << ": not written";
            EXPECT_TRUE(framesContain({"G00", "I56", "D12"})) << what << ": the rest is";
            EXPECT_TRUE(framesContain({"G17", "I50", "D1"})) << what;
            EXPECT_EQ(sim.value(0, "17", std::stoi(c.item)), c.held) << what;
            // Read once, then the read refused again: the box keeps the value
            // read, drawn not read, and it is not written over the card's.
            click(d, "cmdUp");
            EXPECT_EQ(text(d, c.box), c.held) << what;
            EXPECT_FALSE(unread(d, c.box)) << what;
            sim.addFault(refuse);
            click(d, "cmdUp");
            EXPECT_EQ(text(d, c.box), c.held) << what;
            EXPECT_TRUE(unread(d, c.box)) << what;
            sim.clearFaults();
            messages.shown.clear();
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), ending) << what;
            EXPECT_EQ(writes(sim.frames(), "17", c.item), 0u) << what << ": not written";
            EXPECT_TRUE(framesContain({"G00", "I56", "D12"})) << what;
            click(d, "cmdExit");
        });
    }
    // What the user types is sent, even where the card refused to say.
    restartWindow();
    connectTo(station("OXF1", "3.00"));
    k6sim::Fault refuse = test::fault("I42", 0, k6sim::FaultAction::Reply, "CNG");
    refuse.group = "17";
    sim.addFault(refuse);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.clearFaults();
        type(d, "wirNetWork", "PLANT");
        EXPECT_FALSE(unread(d, "wirNetWork"));
        click(d, "cmdDown");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(sim.value(0, "17", 42), "PLANT");
        click(d, "cmdExit");
    });
}

// Item "61": the model's port codes name their entries, any other number the
// entry of that number; a download writes the entry's code.
TEST_F(WirelessDialogTest, WritePortRepliesSelectTheirEntry) {
    const struct {
        const char* model;
        const char* reply;
        const char* shown;
        const char* written;
    } cases[] = {
        {"OXF1", "1", "RS-485", "1"},     {"OXF1", "3", "Wireless", "3"}, {"OXF1", "0", "RS-485", "1"},
        {"OXF1F", "5", "RS-485", "5"},    {"OXF1F", "9", "Wireless", "9"}, {"OXF1F", "0", "RS-485", "5"},
        {"OXF1F", "1", "Wireless", "9"},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.model) + " \"" + c.reply + "\"";
        restartWindow();
        connectTo(station(c.model, "3.00", std::string("  set 00 61 ") + c.reply + "\n"));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            EXPECT_EQ(entry(d, "List_M_WEPort"), c.shown) << what;
            click(d, "cmdDown");
            EXPECT_TRUE(messages.shown.empty()) << what << ": the download is not blocked";
            EXPECT_EQ(sim.value(0, "00", 61), c.written) << what;
            click(d, "cmdExit");
        });
    }
    // A number that names no entry leaves the list without one and without a
    // value: the port is not written, and named; the rest is. (Before, the
    // whole Download stopped with "Downloading incomplete".)
    restartWindow();
    connectTo(station("OXF1", "3.00", "  set 00 61 2\n"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        EXPECT_EQ(combo(d, "List_M_WEPort")->currentIndex(), -1);
        EXPECT_TRUE(unread(d, "List_M_WEPort"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), leftOnCard("Write enable port"));
        EXPECT_EQ(count(sim.frames(), "I61"), 0u);
        EXPECT_TRUE(framesContain({"G00", "I60", "D2", "G00", "I62", "D30"}));
        EXPECT_EQ(sim.value(0, "00", 61), "2");
        click(d, "cmdExit");
    });
}

// The relay mode goes to the card as 1 or 2 and comes back as its text, so a
// download, an upload and a download again all go through.
TEST_F(WirelessDialogTest, RelayModeSurvivesDownloadUploadDownload) {
    for (const char* model : {"OXF1", "OXF1F"}) {
        for (const int mode : {0, 1}) {
            const std::string what = std::string(model) + (mode ? " RELAY" : " SLAVE");
            restartWindow();
            connectTo(station(model, "3.00", mode ? "" : "  set 00 55 RELAY\n"));
            withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
                combo(d, "List_M_Mode")->setCurrentIndex(mode);
                click(d, "cmdDown");
                EXPECT_TRUE(framesContain({"G00", "I55", mode ? "D2" : "D1"})) << what;
                EXPECT_EQ(sim.value(0, "00", 55), mode ? "RELAY" : "SLAVE") << what;
                combo(d, "List_M_Mode")->setCurrentIndex(1 - mode);
                click(d, "cmdUp");
                EXPECT_EQ(entry(d, "List_M_Mode"), mode ? "RELAY" : "SLAVE") << what;
                EXPECT_EQ(enabled(d, "List_M_DataMode"), mode == 0) << what;
                click(d, "cmdDown");
                EXPECT_TRUE(messages.shown.empty()) << what;
                click(d, "cmdExit");
            });
        }
    }
}

// The link that goes away while the dialog is up stays gone: Exit does not
// offer "SpecialSetting" on no station.
TEST_F(WirelessDialogTest, ALostLineKeepsSpecialSettingOffAfterExit) {
    connectTo(station("OXF1", "3.00"));
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        k6sim::Fault drop = test::fault("I56", 0, k6sim::FaultAction::DropLine);
        sim.addFault(drop);
        click(d, "cmdDown");
        QTRY_VERIFY(!G().Connected);
        click(d, "cmdExit");
    });
    EXPECT_FALSE(button("cmdSpecialSetting")->isEnabled());
    EXPECT_EQ(labelText("lblConStatus"), "Disconnected");
    sim.stop();
    ASSERT_TRUE(sim.start());
    ::setenv("TALVO_COM1", sim.devicePath().c_str(), 1);
}

}  // namespace
