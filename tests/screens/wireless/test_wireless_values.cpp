// What each setting of the wireless dialogs holds, for every kind of control
// of every model: never read, refused, not used by the card ("CNU"),
// unanswered (at the opening and at a later Upload), then a Download with its
// exact frames and the settings it names by the captions the dialog shows;
// a settings file saved and opened around each (as saved, with the text the
// control shows, with another text); and the trials that once wrote what
// nobody read.
#include "tests/screens/wireless/WirelessDialogFixture.h"

#include <QGroupBox>
#include <functional>
#include <map>

#include "screens/wireless/WirelessFile.h"

using namespace talvo;
using namespace talvo::test::wireless_dialog;
using talvo::test::silence;
using C = talvo::wireless::WControl;

namespace {

// A kind of control: one setting of it, and another text it may hold.
struct Kind {
    const char* what;
    C control;
    int channel;
    const char* other;  // another valid text (a list: another entry)
    bool plusOne;       // a list sent as its entry + 1
};

const Kind kKinds[] = {
    {"a text box", C::wirNetWork, 0, "PLANT-2", false},
    {"a number box", C::modAdd, 0, "99", false},
    {"a channel box", C::wirChNo, 3, "9", false},
    {"a list", C::List_W_Level, 0, "0.16mW", true},
    {"a list with a set-up default", C::NDTTSU, 0, "1", true},
    {"the encryption key", C::wirPassword, 0, "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC", false},
    {"an RS-485 list", C::List_M_Parity, 0, "Odd", false},
    {"the relay mode, with a set-up default", C::List_M_Mode, 0, "RELAY", true},
};

enum class Cond { NeverRead, Refused, Needless, Unanswered };

struct Model {
    const char* model;
    const char* version;
    const char* ext;
};

std::string group(const Kind& k) { return wireless::Info(k.control).group; }
std::string item(const Kind& k) { return wireless::ItemOf(k.control, k.channel); }

QString widgetName(C c, int channel) {
    const QString name = QString::fromLatin1(wireless::Info(c).name);
    return c == C::wirChNo ? name + "_" + QString::number(channel) : name;
}

bool onModel(const Kind& k, WirelessModel m) { return wireless::HasControl(m, k.control); }

// The quoted records of a settings file (the code line left out).
std::vector<std::string> fileRecords(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = bytes.find("\r\n");
    while (at != std::string::npos && at + 2 < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at + 2);
        const std::string line = bytes.substr(at + 2, end - at - 2);
        out.push_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : line);
        at = end;
    }
    return out;
}

std::string withRecord(const std::string& bytes, std::size_t index, const std::string& record) {
    std::vector<std::string> records = fileRecords(bytes);
    std::string out = bytes.substr(0, bytes.find("\r\n") + 2);
    records.at(index) = record;
    for (const std::string& r : records) out += "\"" + r + "\"\r\n";
    return out;
}

class WirelessValuesTest : public WirelessDialogTest {
protected:
    // The caption a dialog shows for a setting, on one line; a channel box:
    // its frame's, the box's own as a member.
    static std::pair<std::string, std::string> caption(QWidget& d, C c, int channel) {
        if (c == C::wirChNo)
            return {in<QGroupBox>(d, "fraChannel")->title().toStdString(),
                    in<QLabel>(d, QString("lblwirChNo_%1").arg(channel))->text().toStdString()};
        std::string text = in<QLabel>(d, QString("lbl") + wireless::Info(c).name)->text().toStdString();
        std::replace(text.begin(), text.end(), '\n', ' ');
        return {text, ""};
    }

    // The message naming the download steps left, in their order, as the dialog captions them.
    static std::vector<std::string> leftMessage(frmWireless& d, const std::vector<wireless::TransferStep>& left) {
        if (left.empty()) return {};
        std::vector<std::pair<std::string, std::vector<std::string>>> named;
        for (const auto& s : left) {
            const auto [name, member] = caption(d, s.control, s.channel);
            if (named.empty() || named.back().first != name) named.push_back({name, {}});
            if (!member.empty()) named.back().second.push_back(member);
        }
        std::string list;
        for (const auto& [name, members] : named) {
            if (!list.empty()) list += "; ";
            list += name;
            for (std::size_t i = 0; i < members.size(); ++i) list += (i == 0 ? " " : ", ") + members[i];
        }
        return leftOnCard(list);
    }

    // Whether the ending message names the setting.
    static bool names(QWidget& d, const std::vector<std::string>& texts, const Kind& k) {
        const auto [name, member] = caption(d, k.control, k.channel);
        for (const std::string& t : texts) {
            if (t.rfind(ui::kLeftAsTheyAreText, 0) != 0) continue;
            std::string list = t.substr(std::string(ui::kLeftAsTheyAreText).size()) + "; ";
            for (std::size_t at = 0, end; (end = list.find("; ", at)) != std::string::npos; at = end + 2) {
                const std::string entry = list.substr(at, end - at);
                if (member.empty() ? entry == name
                                   : entry.rfind(name + " ", 0) == 0 && entry.find(member) != std::string::npos)
                    return true;
            }
        }
        return false;
    }

    // What the control shows: a box's text, a list's entry, the key the dialog holds.
    static std::string shownText(frmWireless& d, const Kind& k) {
        if (k.control == C::wirPassword) return d.KeyText();
        const QString name = widgetName(k.control, k.channel);
        if (auto* list = d.findChild<QComboBox*>(name)) return list->currentText().toStdString();
        return text(d, name);
    }

    // The data a Download writes for a text the control holds.
    static std::string wire(frmWireless& d, const Kind& k, const std::string& t) {
        auto* list = d.findChild<QComboBox*>(widgetName(k.control, k.channel));
        if (!list) return t;
        return std::to_string(list->findText(QString::fromStdString(t)) + (k.plusOne ? 1 : 0));
    }

    static std::string fileText(const Kind& k, const std::string& t) {
        return k.control == C::wirPassword ? *wireless::EncodeKey(t) : t;
    }

    // The frames of the healthy Download that write only what `kept` says.
    static Frames only(const Frames& healthy, const std::function<bool(const std::string&, const std::string&)>& kept) {
        const std::size_t prefix = healthy.size() > 10 && healthy[9] == "G00" && healthy[10] == "I40" ? 11 : 9;
        Frames out(healthy.begin(), healthy.begin() + static_cast<std::ptrdiff_t>(prefix));
        bool any = false;
        for (std::size_t i = prefix; i + 2 < healthy.size(); i += 3) {
            if (!kept(healthy[i].substr(1), healthy[i + 1].substr(1))) continue;
            out.insert(out.end(), healthy.begin() + static_cast<std::ptrdiff_t>(i),
                       healthy.begin() + static_cast<std::ptrdiff_t>(i + 3));
            any = true;
        }
        return any ? out : Frames{};
    }

    // Reads a file into the dialog and downloads: whether the kind's setting
    // was written with `data` (or not at all) and named (or not).
    void readAndDownload(frmWireless& d, const Kind& k, const std::string& path, const std::string& bytes,
                         const std::string* data, bool named, const std::string& what) {
        writeFile(path, bytes);
        messages.shown.clear();
        files.answers = {path};
        click(d, "CmdReadF");
        EXPECT_TRUE(messages.shown.empty()) << what;
        EXPECT_EQ(unread(d, widgetName(k.control, k.channel)), data == nullptr) << what;
        sim.clearFrames();
        click(d, "cmdDown");
        const Frames f = sim.frames();
        EXPECT_EQ(writes(f, group(k), item(k)), data ? 1u : 0u) << what;
        if (data) {
            EXPECT_TRUE(framesContain({"G" + group(k), "I" + item(k), "D" + *data})) << what;
        }
        EXPECT_EQ(names(d, messages.texts(), k), named) << what;
        for (const auto& m : messages.shown) EXPECT_NE(m.text, "Downloading incomplete") << what;
    }

    // A settings file saved and opened around the kind's setting: as saved,
    // with the text the control shows, and with another text.
    void aroundAFile(frmWireless& d, const Kind& k, bool holds, bool needless, const std::string& what) {
        const std::string path = dir.filePath(QString("values.") + modelUnderTest().ext).toStdString();
        const std::string shown = shownText(d, k);
        files.answers = {path};
        messages.shown.clear();
        click(d, "CmdSaveF");
        ASSERT_TRUE(messages.shown.empty()) << what;
        const std::string saved = readFile(path);
        const auto fields = wireless::FileFieldsWritten(d.model(), d.FileFormatCode());
        const auto at = std::find_if(fields.begin(), fields.end(), [&](const wireless::FileField& f) {
            return f.control == k.control && f.channel == k.channel;
        });
        ASSERT_NE(at, fields.end()) << what;
        const auto index = static_cast<std::size_t>(at - fields.begin());
        // What holds no value is saved as nothing.
        EXPECT_EQ(fileRecords(saved).at(index), holds ? fileText(k, shown) : "") << what;

        const std::string shownData = wire(d, k, shown);
        readAndDownload(d, k, path, saved, holds ? &shownData : nullptr, !holds && !needless, what + ", file as saved");
        if (!shown.empty())
            readAndDownload(d, k, path, withRecord(saved, index, fileText(k, shown)), &shownData, false,
                            what + ", file with the text shown");
        const std::string otherData = wire(d, k, k.other);
        readAndDownload(d, k, path, withRecord(saved, index, fileText(k, k.other)), &otherData, false,
                        what + ", file with another text");
    }

    // Every kind of control of the model, under every condition.
    void everyKindAndCondition(const Model& m) {
        model_ = m;
        const std::string stationText = station(m.model, m.version);
        // What a Download writes after a healthy opening.
        restartWindow();
        connectTo(stationText);
        Frames healthy;
        WirelessModel wm{};
        int level = 0;
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            wm = d.model();
            level = d.FirmwareLevel();
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_TRUE(messages.shown.empty());
            healthy = sim.frames();
            click(d, "cmdExit");
        });
        const auto uploads = wireless::UploadSteps(wm, level);
        const auto downloads = wireless::DownloadSteps(wm, level);
        const auto uploadIndex = [&](const std::string& g, const std::string& i) {
            for (std::size_t n = 0; n < uploads.size(); ++n)
                if (uploads[n].group == g && uploads[n].item == i) return n;
            ADD_FAILURE() << g << "/" << i << " is not read";
            return uploads.size();
        };

        // Never read: the opening's upload gets no answer at all. Nothing is
        // sent, everything is named, the set-up's defaults included.
        restartWindow();
        connectTo(stationText);
        useFakeClock();
        k6sim::Fault first = silence("I56", 0);
        first.group = "00";
        sim.addFault(first);
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            sim.clearFaults();
            EXPECT_EQ(messages.texts(), std::vector<std::string>{"Uploading incomplete"});
            for (const Kind& k : kKinds) {
                if (!onModel(k, wm)) continue;
                EXPECT_TRUE(unread(d, widgetName(k.control, k.channel))) << k.what;
            }
            EXPECT_EQ(d.KeyText(), wireless::kDefaultKey);
            messages.shown.clear();
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_TRUE(sim.frames().empty()) << "nothing sent";
            EXPECT_EQ(messages.texts(), leftMessage(d, downloads));
            for (const Kind& k : kKinds)
                if (onModel(k, wm)) aroundAFile(d, k, false, false, std::string("never read: ") + k.what);
            click(d, "cmdExit");
        });

        const struct {
            Cond cond;
            bool later;  // at an Upload after a healthy opening
            const char* what;
        } conds[] = {
            {Cond::Refused, false, "refused at the opening"},      {Cond::Refused, true, "refused at a later Upload"},
            {Cond::Needless, false, "not used, at the opening"},   {Cond::Needless, true, "not used, at a later Upload"},
            {Cond::Unanswered, false, "unanswered at the opening"}, {Cond::Unanswered, true, "unanswered later"},
        };
        for (const Kind& k : kKinds) {
            if (!onModel(k, wm)) continue;
            for (const auto& c : conds) {
                const std::string what = std::string(k.what) + " " + c.what;
                restartWindow();
                connectTo(stationText);
                if (c.cond == Cond::Unanswered) useFakeClock();
                k6sim::Fault f = c.cond == Cond::Unanswered
                                     ? silence("I" + item(k), 0)
                                     : test::fault("I" + item(k), 0, k6sim::FaultAction::Reply,
                                                   c.cond == Cond::Refused ? "CNG" : "CNU");
                f.group = group(k);
                if (!c.later) sim.addFault(f);
                withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
                    const std::string before = shownText(d, k);
                    if (c.later) {
                        sim.addFault(f);
                        messages.shown.clear();
                        click(d, "cmdUp");
                    }
                    sim.clearFaults();
                    EXPECT_EQ(messages.texts(), c.cond == Cond::Unanswered
                                                    ? std::vector<std::string>{"Uploading incomplete"}
                                                    : std::vector<std::string>{})
                        << what;
                    // An unanswered read at a later Upload changes nothing: what
                    // was read before holds. Everything else holds no value.
                    const bool holds = c.cond == Cond::Unanswered && c.later;
                    EXPECT_EQ(unread(d, widgetName(k.control, k.channel)), !holds) << what;
                    if (c.later) {
                        EXPECT_EQ(shownText(d, k), before) << what << ": what was read stays shown";
                    }
                    const auto kept = [&](const std::string& g, const std::string& i) {
                        if (holds) return true;
                        if (c.cond == Cond::Unanswered) return uploadIndex(g, i) < uploadIndex(group(k), item(k));
                        return !(g == group(k) && i == item(k));
                    };
                    std::vector<wireless::TransferStep> left;
                    for (const auto& s : downloads)
                        if (!kept(s.group, s.item) && c.cond != Cond::Needless) left.push_back(s);
                    messages.shown.clear();
                    sim.clearFrames();
                    click(d, "cmdDown");
                    EXPECT_EQ(sim.frames(), only(healthy, kept)) << what;
                    EXPECT_EQ(messages.texts(), leftMessage(d, left)) << what;
                    aroundAFile(d, k, holds, c.cond == Cond::Needless, what);
                    click(d, "cmdExit");
                });
            }
        }
    }

    const Model& modelUnderTest() const { return model_; }

private:
    Model model_{};
};

TEST_F(WirelessValuesTest, EveryKindOfControlOfTheOxfDialog) { everyKindAndCondition({"OXF1", "3.00", "oxf"}); }

TEST_F(WirelessValuesTest, EveryKindOfControlOfTheOxf1fDialog) { everyKindAndCondition({"OXF1F", "1.00", "oxf1f"}); }

TEST_F(WirelessValuesTest, EveryKindOfControlOfTheOgDialog) { everyKindAndCondition({"OG1", "3.00", "og"}); }

// The set-up's defaults (the list entries it shows, the default key) hold no
// value: not sent, named, until the user sets them; picking the entry shown
// is setting it. Focusing the key box and leaving it untouched sets nothing.
TEST_F(WirelessDialogTest, TheSetUpsDefaultsAreSentOnlyOnceTheUserSetsThem) {
    connectTo(station("OXF1F", "1.00"));
    useFakeClock();
    k6sim::Fault first = silence("I56", 0);
    first.group = "00";
    sim.addFault(first);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.clearFaults();
        EXPECT_EQ(entry(d, "NDTTSU"), "3");
        EXPECT_EQ(entry(d, "List_M_Mode"), "SLAVE");
        EXPECT_EQ(entry(d, "movementMode"), "Disable");
        for (const char* c : {"NDTTSU", "List_M_Mode", "movementMode", "NSAQuality", "NetworkJointMode",
                              "wirPassword", "wirNetWork"})
            EXPECT_TRUE(unread(d, c)) << c;
        EXPECT_EQ(in<QWidget>(d, "NDTTSU")->toolTip().toStdString(),
                  "Not read from the card: Download leaves it as it is");
        // The key box visited and left as it was: still the default, no value.
        QLineEdit* key = in(d, "wirPassword");
        key->setFocus();
        QTRY_COMPARE(ui::text(key), std::string(wireless::kDefaultKey));
        in(d, "wirNetWork")->setFocus();
        QTRY_COMPARE(ui::text(key), std::string(32, '*'));
        EXPECT_TRUE(unread(d, "wirPassword"));

        pick(d, "NDTTSU", 2);  // "3", as shown
        EXPECT_FALSE(unread(d, "NDTTSU"));
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(sim.frames(), (Frames{"G00", "I01", "DF", "G00", "I41", "D00", "G17", "I01", "D1", "G17", "I29",
                                        "D3"}));
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, ui::kLeftAsTheyAreTitle);
        EXPECT_EQ(messages.shown[0].text.find("Retry times"), std::string::npos) << messages.shown[0].text;
        for (const char* left : {"; Slave or Relay;", "; Encryption key;", "; Temporary detour;"})
            EXPECT_NE(messages.shown[0].text.find(left), std::string::npos) << left;
        const std::string last = "; Low speed moving mode; Set network quality; Network join mode";
        EXPECT_EQ(messages.shown[0].text.substr(messages.shown[0].text.size() - last.size()), last);

        // A key the user types is the card's from then on.
        key->setFocus();
        QTRY_VERIFY(key->hasFocus());
        type(d, "wirPassword", std::string(32, 'D'));
        in(d, "wirNetWork")->setFocus();
        QTRY_COMPARE(ui::text(key), std::string(32, '*'));
        EXPECT_FALSE(unread(d, "wirPassword"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_TRUE(framesContain({"G17", "I43", "D" + std::string(32, 'D')}));
        EXPECT_EQ(sim.value(0, "17", 43), std::string(32, 'D'));
        click(d, "cmdExit");
    });
}

// What the program puts in a control itself never makes a value: the address
// emptied after a failed check, and the entries the relay mode forces on a
// list the card refused to give.
TEST_F(WirelessDialogTest, WhatTheProgramPutsInMakesNoValue) {
    connectTo(station("OXF1F", "1.00"));
    k6sim::Fault refuse = test::fault("I58", 0, k6sim::FaultAction::Reply, "CNG");
    refuse.group = "00";
    sim.addFault(refuse);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.clearFaults();
        EXPECT_TRUE(unread(d, "List_M_DataMode"));
        EXPECT_FALSE(unread(d, "modAdd"));
        QLineEdit* modAdd = in(d, "modAdd");
        modAdd->setFocus();
        QTRY_VERIFY(modAdd->hasFocus());
        type(d, "modAdd", "248");
        in(d, "modTimer")->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter number 1 - 247"});
        EXPECT_EQ(ui::text(modAdd), "");
        EXPECT_TRUE(unread(d, "modAdd"));
        // Leaving the emptied box again asks nothing: it holds nothing to check.
        QTRY_VERIFY(modAdd->hasFocus());
        messages.shown.clear();
        in(d, "modTimer")->setFocus();
        QTRY_VERIFY(in(d, "modTimer")->hasFocus());
        EXPECT_TRUE(messages.shown.empty());

        // RELAY forces "RTU" on the refused list: shown, still no value.
        pick(d, "List_M_Mode", 1);
        EXPECT_EQ(entry(d, "List_M_DataMode"), "RTU");
        EXPECT_FALSE(enabled(d, "List_M_DataMode"));
        EXPECT_TRUE(unread(d, "List_M_DataMode"));
        EXPECT_FALSE(unread(d, "List_M_WEPort")) << "forced, but read before";

        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), leftOnCard("Address; Data Mode"));
        const Frames f = sim.frames();
        EXPECT_EQ(writes(f, "00", "56"), 0u);
        EXPECT_EQ(writes(f, "00", "58"), 0u);
        EXPECT_TRUE(framesContain({"G00", "I61", "D9"})) << "the port forced from a value: sent";
        EXPECT_TRUE(framesContain({"G00", "I55", "D2"}));
        EXPECT_EQ(sim.value(0, "00", 56), "12");
        click(d, "cmdExit");
    });
}

// An empty text is never sent, typed by the user or not: it is named as
// left. (An empty write's echo cannot be told from no answer: it took eleven
// tries and ended in "Downloading incomplete".)
TEST_F(WirelessDialogTest, AnEmptyTextIsNeverSent) {
    const struct {
        const char* model;
        const char* left;  // in the model's order of writes
    } cases[] = {
        {"OXF1", "Communication timeout (100msec); Radio channel number Ch. No. 02; Network name"},
        {"OG1", "Radio channel number Ch. No. 02; Network name; Communication timeout (100msec)"},
    };
    for (const auto& [model, left] : cases) {
        restartWindow();
        connectTo(station(model, "3.00"));
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            type(d, "wirNetWork", "");
            type(d, "wirChNo_1", "");
            type(d, "wirTimer", "  ");
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), leftOnCard(left)) << model;
            const Frames f = sim.frames();
            EXPECT_EQ(writes(f, "17", "42"), 0u) << model;
            EXPECT_EQ(writes(f, "17", "32"), 0u) << model;
            EXPECT_EQ(writes(f, "00", "63"), 0u) << model;
            EXPECT_TRUE(framesContain({"G17", "I31", "D11"})) << model;
            EXPECT_EQ(sim.value(0, "17", 42), "NET-1") << model;
            click(d, "cmdExit");
        });
    }
}

// A field a file leaves empty is no value: neither sent nor checked, so it
// blocks nothing. A field the file fills is a value the user sees, checked
// as typed.
TEST_F(WirelessDialogTest, AFilesEmptyFieldIsNoValueAndBlocksNothing) {
    connectTo(station("OXF1", "3.00"));
    const std::string path = dir.filePath("empty.oxf").toStdString();
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        files.answers = {path};
        click(d, "CmdSaveF");
        std::string bytes = readFile(path);
        // modAdd, modTimer and the network name emptied.
        for (const char* value : {"\"12\"", "\"30\"", "\"NET-1\""})
            bytes.replace(bytes.find(value), std::string(value).size(), "\"\"");
        writeFile(path, bytes);
        files.answers = {path};
        click(d, "CmdReadF");
        EXPECT_TRUE(messages.shown.empty());
        for (const char* c : {"modAdd", "modTimer", "wirNetWork"}) EXPECT_TRUE(unread(d, c)) << c;
        EXPECT_FALSE(unread(d, "wirTimer"));
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), leftOnCard("Address; Filter timeout on polling (100msec); Network name"));
        EXPECT_EQ(writes(sim.frames(), "17", "42"), 0u);
        EXPECT_EQ(writes(sim.frames(), "00", "56"), 0u);
        EXPECT_EQ(sim.value(0, "17", 42), "NET-1");

        // An address out of range in the file is seen, and checked (from a
        // box without a check, so the command itself runs the checks).
        in(d, "MAC_Address")->setFocus();
        QCoreApplication::processEvents();
        bytes.replace(bytes.find("\"\""), 2, "\"999\"");
        writeFile(path, bytes);
        files.answers = {path};
        click(d, "CmdReadF");
        EXPECT_EQ(text(d, "modAdd"), "999");
        EXPECT_FALSE(unread(d, "modAdd"));
        messages.shown.clear();
        sim.clearFrames();
        click(d, "cmdDown");
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Please enter number 1 - 247", "Downloading incomplete"}));
        EXPECT_TRUE(sim.frames().empty());
        click(d, "cmdExit");
    });
}

// With the firmware version refused or unanswered, the items it decides are
// neither read nor written, and a Download names them: the card may have them.
TEST_F(WirelessDialogTest, AVersionNotKnownLeavesTheItemsItDecides) {
    const struct {
        const char* model;
        k6sim::FaultAction action;
        const char* left;
    } cases[] = {
        {"OXF1", k6sim::FaultAction::Reply,
         "Slave or Relay; Low speed moving mode; Set network quality; Network join mode; "
         "Retry times before route switching"},
        {"OG1", k6sim::FaultAction::Silence,
         "Low speed moving mode; Set network quality; Network join mode; Retry times before route switching"},
    };
    for (const auto& c : cases) {
        restartWindow();
        connectTo(station(c.model, "3.00"));
        useFakeClock();
        k6sim::Fault version = test::fault("I40", 0, c.action, "CNG");
        version.group = "00";
        sim.addFault(version);
        withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
            sim.clearFaults();
            EXPECT_FALSE(d.VersionKnown()) << c.model;
            EXPECT_EQ(d.FirmwareLevel(), 0) << c.model;
            EXPECT_TRUE(messages.shown.empty()) << c.model;
            EXPECT_TRUE(unread(d, "NDTTSU")) << c.model;
            sim.clearFrames();
            click(d, "cmdDown");
            EXPECT_EQ(messages.texts(), leftOnCard(c.left)) << c.model;
            const Frames f = sim.frames();
            for (const char* i : {"26", "27", "28", "29"}) EXPECT_EQ(writes(f, "17", i), 0u) << c.model << i;
            EXPECT_EQ(writes(f, "00", "55"), 0u) << c.model;
            EXPECT_EQ(writes(f, "17", "50"), 1u) << c.model;
            click(d, "cmdExit");
        });
    }
}

// A box the card refused to give holds nothing the user set: moving the
// focus through it asks nothing.
TEST_F(WirelessDialogTest, LeavingABoxThatHoldsNoValueAsksNothing) {
    connectTo(station("OXF1", "3.00"));
    k6sim::Fault refuse = test::fault("I41", 0, k6sim::FaultAction::Reply, "CNG");
    refuse.group = "17";
    sim.addFault(refuse);
    withDialog<frmWireless>("cmdSpecialSetting", [&](frmWireless& d) {
        sim.clearFaults();
        QLineEdit* box = in(d, "wirShortAddress");
        EXPECT_EQ(ui::text(box), "");
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        in(d, "wirNetWork")->setFocus();
        QTRY_VERIFY(in(d, "wirNetWork")->hasFocus());
        QCoreApplication::processEvents();
        EXPECT_TRUE(messages.shown.empty());
        // What the user types there is checked.
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        type(d, "wirShortAddress", "FFFE");
        in(d, "wirNetWork")->setFocus();
        QTRY_COMPARE(messages.texts(), std::vector<std::string>{"Please enter number 0000 - FFFD"});
        click(d, "cmdExit");
    });
}

}  // namespace
