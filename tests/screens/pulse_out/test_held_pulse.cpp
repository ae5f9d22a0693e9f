// What the pulse, output and actuator screens do with a setting that holds no
// value: never read (a fresh screen after Connect), refused ("CNG"), not used
// by the card ("CNU") or left unanswered; then a Download: what the control
// shows, what is sent and what the one ending names. A box and a list are
// the kinds of control these screens show settings in (their check box and
// options are commands and the card's state, not settings). Also: every row
// carries the caption the screen shows, the actuator's list defaults are
// never written, and IY4A's dividing ratios with its version unknown.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTemporaryDir>
#include <functional>

#include "screens/skeleton/CardScreen.h"
#include "screens/pulse_out/frmEAJ2.h"
#include "screens/pulse_out/frmIY16.h"
#include "screens/pulse_out/frmIY2.h"
#include "screens/pulse_out/frmIY4.h"
#include "screens/pulse_out/frmIY4A.h"
#include "screens/pulse_out/frmIY8.h"
#include "screens/pulse_out/frmLQN8.h"
#include "screens/pulse_out/frmVU32.h"
#include "shell/ChildForms.h"
#include "tests/screens/pulse_out/PulseFixture.h"

using namespace talvo;
using namespace talvo::screens;
using namespace talvo::test;
using Frames = std::vector<std::string>;
using k6sim::FaultAction;

namespace {

// One setting of one screen of sim/stations/pulse.k6.
struct Item {
    const char* name;
    int slot;
    std::string group;  // as the screen sends it ("3": the actuator's one-digit group)
    std::string item;   // as the screen sends it ("05")
    std::function<QWidget*(CardScreen*)> control;
    int field;  // its record field: Param(field), or ChOption(-field) for an Unused flag
    std::string cardValue;    // what the card holds
    std::string shownUnread;  // what the control shows on a fresh screen
    std::string caption;      // how the download's message names it ...
    std::string member;       // ... and its channel ("" for a setting of its own)
    std::string userSets;     // what the user types or picks ...
    std::string userSends;    // ... and the data that goes out for it
};

template <class Screen, class Member>
std::function<QWidget*(CardScreen*)> at(Member member, std::size_t i) {
    return [member, i](CardScreen* s) -> QWidget* { return (dynamic_cast<Screen*>(s)->*member)[i]; };
}
template <class Screen, class Member>
std::function<QWidget*(CardScreen*)> one(Member member) {
    return [member](CardScreen* s) -> QWidget* { return dynamic_cast<Screen*>(s)->*member; };
}
std::function<QWidget*(CardScreen*)> iy2Hyst(std::size_t line, std::size_t ch) {
    return [line, ch](CardScreen* s) -> QWidget* { return dynamic_cast<frmIY2*>(s)->txtHyst[line][ch]; };
}

const Item kItems[] = {
    {"IY2DelayTime", kIY2, "01", "7", one<frmIY2>(&frmIY2::txtDelayTime), 2, "15", "", "Delay Time", "", "20", "20"},
    {"IY2Hyst21", kIY2, "01", "67", iy2Hyst(2, 1), 32, "3", "", "Hyst. 2-1", "Ch.2", "4", "4"},
    {"IY4Edge", kIY4, "01", "32", at<frmIY4>(&frmIY4::txtEdge, 2), 17, "1", "", "Edge", "Ch.3", "0", "0"},
    {"IY4AMin", kIY4A, "01", "14", at<frmIY4A>(&frmIY4A::txtMin, 0), 1, "2", "", "Min.", "Ch.1", "3", "3"},
    {"IY4ADivide", kIY4A, "01", "58", at<frmIY4A>(&frmIY4A::txtDivide, 0), 5, "4", "", "Dividing Ratio", "Ch.1", "5",
     "5"},
    {"IY8Max", kIY8, "01", "29", at<frmIY8>(&frmIY8::txtFScale, 1), 5, "60000", "", "Max", "Ch.2", "70000", "70000"},
    {"IY16Max", kIY16, "01", "27", at<frmIY16>(&frmIY16::txtFScale, 0), 1, "50000", "", "Max", "Ch.1", "40000",
     "40000"},
    {"LQN8ZeroScale", kLQN8, "01", "44", at<frmLQN8>(&frmLQN8::txtZScale, 1), 6, "100", "", "Zero Scale", "Ch.2", "200",
     "200"},
    {"LQN8Unused", kLQN8, "02", "43", at<frmLQN8>(&frmLQN8::txtEnable, 1), -2, "1", "0", "Unused", "Ch.2", "0", "0"},
    {"VU32StrobeLogic", kVU32, "01", "16", at<frmVU32>(&frmVU32::txtDataPara, 1), 2, "1", "", "Strobe Logic", "", "0",
     "0"},
    {"EAJ2LockTime", kEAJ2, "3", "07", at<frmEAJ2>(&frmEAJ2::txtMotorLockTime, 0), 1, "150", "",
     "Motor Deadlock Detecting Time", "Ch.1", "200", "200"},
    {"EAJ2Enable", kEAJ2, "02", "43", at<frmEAJ2>(&frmEAJ2::List_ChEnable, 1), 13, "1", "Enable", "Ch Enable/Disable",
     "Ch.2", "Enable", "0"},
    {"EAJ2Deadband", kEAJ2, "4", "05", at<frmEAJ2>(&frmEAJ2::List_Deadband, 1), 14, "7", "1.5", "Deadband", "Ch.2",
     "1.5", "5"},
};

void PrintTo(const Item& c, std::ostream* os) { *os << c.name; }

enum class Answer { NeverRead, Refused, Needless, Unanswered };
const char* answerName(Answer a) {
    switch (a) {
        case Answer::NeverRead: return "NeverRead";
        case Answer::Refused: return "CNG";
        case Answer::Needless: return "CNU";
        case Answer::Unanswered: return "Silence";
    }
    return "";
}

std::string shown(const QWidget* w) {
    if (const auto* box = qobject_cast<const QLineEdit*>(w)) return boxText(box);
    return qobject_cast<const QComboBox*>(w)->currentText().toStdString();
}

class HeldPulseTest : public PulseTest, public ::testing::WithParamInterface<std::tuple<Item, Answer>> {
protected:
    // The data frames written to the item on its card, as "group/item:data".
    Frames writesTo(const Item& c) const {
        Frames out;
        const std::string slot = std::to_string(c.slot) + "|";
        const std::string prefix = slot + c.group + "/" + c.item + ":";
        for (const std::string& f : stamped())
            if (f.rfind(prefix, 0) == 0) out.push_back(f.substr(slot.size()));
        return out;
    }
    k6sim::Fault answerTo(const Item& c, Answer a) const {
        k6sim::Fault f = a == Answer::Unanswered
                             ? silence("I" + c.item, c.slot)
                             : fault("I" + c.item, c.slot, FaultAction::Reply, a == Answer::Refused ? "CNG" : "CNU");
        f.group = c.group;
        return f;
    }
    std::string field(const Item& c) {
        return c.field > 0 ? record(c.slot).Param[c.field] : record(c.slot).ChOption[-c.field];
    }
    bool named(const Item& c) const {
        const Named left = leftNamed();
        const auto it = left.find(c.caption);
        if (it == left.end()) return false;
        if (c.member.empty()) return true;
        return std::find(it->second.begin(), it->second.end(), c.member) != it->second.end();
    }
    // The user's own edit: typed into a box, or an entry picked in a list.
    void userSets(const Item& c, QWidget* w) {
        if (auto* box = qobject_cast<QLineEdit*>(w))
            type(box, c.userSets);
        else
            choose(qobject_cast<QComboBox*>(w), QString::fromStdString(c.userSets));
    }
};

TEST_P(HeldPulseTest, ASettingWithoutAValueIsShownNotSentAndNamedUntilTheUserSetsIt) {
    const auto& [c, answer] = GetParam();
    sim.setValue(c.slot, c.group, std::stoi(c.item), c.cardValue);
    CardScreen* s = pick(c.slot);
    ASSERT_NE(s, nullptr);
    settle(s);
    QWidget* w = c.control(s);

    if (answer == Answer::NeverRead) {
        // A fresh screen: what the control shows the program put there.
        EXPECT_EQ(shown(w), c.shownUnread);
        EXPECT_TRUE(DrawnUnread(w));
    } else if (answer == Answer::Unanswered) {
        // The first upload: the card does not answer the item.
        useFakeClock();
        sim.addFault(answerTo(c, answer));
        upload(s);
        EXPECT_EQ(messages.texts(), (Frames{"Uploading incomplete"}));
        EXPECT_FALSE(G().Connected);
        EXPECT_EQ(shown(w), c.shownUnread);
        EXPECT_TRUE(DrawnUnread(w)) << "still not read";
        EXPECT_EQ(field(c), "");
        return;  // disconnected: nothing more goes to the card
    } else {
        upload(s);
        ASSERT_TRUE(messages.shown.empty());
        ASSERT_FALSE(DrawnUnread(w));
        const std::string read = shown(w);
        const std::string stored = field(c);
        ASSERT_NE(stored, "");
        sim.addFault(answerTo(c, answer));
        upload(s);
        sim.clearFaults();
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(shown(w), read) << "the control keeps what it showed";
        EXPECT_TRUE(DrawnUnread(w));
        EXPECT_EQ(field(c), stored) << "the record keeps what it held";
        sim.setValue(c.slot, c.group, std::stoi(c.item), c.cardValue);
    }

    // The download sends nothing for it and goes on; it names it unless the
    // card does not use it.
    const std::string stored = field(c);
    const std::string showing = shown(w);
    messages.shown.clear();
    sim.clearFrames();
    download(s);
    EXPECT_TRUE(G().Connected);
    EXPECT_EQ(writesTo(c), Frames{});
    EXPECT_EQ(sim.value(c.slot, c.group, std::stoi(c.item)), c.cardValue);
    EXPECT_EQ(field(c), stored);
    EXPECT_EQ(shown(w), showing);
    EXPECT_TRUE(DrawnUnread(w));
    EXPECT_EQ(named(c), answer != Answer::Needless) << (messages.shown.empty() ? "" : messages.shown[0].text);
    EXPECT_LE(messages.shown.size(), 1u);

    // The user's own edit gives it a value: sent, and no longer named.
    userSets(c, w);
    EXPECT_FALSE(DrawnUnread(w));
    messages.shown.clear();
    sim.clearFrames();
    download(s);
    EXPECT_EQ(writesTo(c), (Frames{c.group + "/" + c.item + ":" + c.userSends}));
    EXPECT_FALSE(named(c));
    EXPECT_FALSE(DrawnUnread(w));
}

INSTANTIATE_TEST_SUITE_P(PulseScreens, HeldPulseTest,
                         ::testing::Combine(::testing::ValuesIn(kItems),
                                            ::testing::Values(Answer::NeverRead, Answer::Refused, Answer::Needless,
                                                              Answer::Unanswered)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) + "_" +
                                    answerName(std::get<1>(param.param));
                         });

class PulseCaptionTest : public PulseTest {};

// Every row of every screen of the folder is named by a caption the screen
// shows, never by its group and item.
TEST_F(PulseCaptionTest, EveryRowOfEveryScreenHasItsCaption) {
    const char* codes[] = {"JO8", "JO16", "JO32", "JO64", "IK16", "JOV16", "UJ8", "IY8",
                           "IY2", "IY4",  "IY4A", "IY16", "LQN",  "VU32",  "EAJ2"};
    std::size_t rows = 0;
    for (const char* code : codes) {
        auto* s = dynamic_cast<CardScreen*>(shell::childForms().screen(code));
        ASSERT_NE(s, nullptr) << code;
        for (const Setting& row : s->settingRows()) {
            ++rows;
            for (int ch = 1; ch <= row.channels(); ++ch) {
                const std::string caption = row.caption(0, ch);
                EXPECT_FALSE(caption.empty()) << code;
                EXPECT_NE(caption.rfind("Item ", 0), 0u) << code << ": " << caption;
            }
        }
    }
    EXPECT_GT(rows, 0u);
}

// The rows whose boxes are separate settings name each box by its own caption.
TEST_F(PulseCaptionTest, BoxesThatAreSettingsOfTheirOwnAreNamedOneByOne) {
    auto* iy2 = dynamic_cast<CardScreen*>(shell::childForms().screen("IY2"));
    auto* vu32 = dynamic_cast<CardScreen*>(shell::childForms().screen("VU32"));
    ASSERT_TRUE(iy2 && vu32);
    const Setting& times = iy2->settingRows().front();
    EXPECT_EQ(times.caption(0, 1), "Delay Time");
    EXPECT_EQ(times.caption(0, 2), "Hold Time");
    EXPECT_EQ(times.channelName(2), "");
    const Setting& data = vu32->settingRows().front();
    EXPECT_EQ((Frames{data.caption(0, 1), data.caption(0, 2), data.caption(0, 3)}),
              (Frames{"Data Logic", "Strobe Logic", "Data Exchange"}));
    EXPECT_EQ(data.channelName(1), "");
}

// --- the actuator's lists ---

class EajListsTest : public PulseTest {
protected:
    frmEAJ2* open() {
        auto* s = pick<frmEAJ2>(kEAJ2);
        settle(s);
        return s;
    }
    std::vector<QComboBox*> lists(frmEAJ2* s) const {
        return {s->List_ChEnable[0], s->List_ChEnable[1], s->List_Deadband[0], s->List_Deadband[1]};
    }
    // Writes to the lists' items (02/42, 02/43, 3/05, 4/05).
    Frames listWrites() const {
        Frames out;
        for (const std::string& w : writes())
            if (w.rfind("02/4", 0) == 0 || w.rfind("3/05", 0) == 0 || w.rfind("4/05", 0) == 0) out.push_back(w);
        return out;
    }
};

// A Download before the screen's own Upload: the card's channel 2 is disabled
// with deadband 3.0, and stays so. (The lists' defaults, "Enable" and "1.5",
// used to be written into the record and sent.)
TEST_F(EajListsTest, ADownloadBeforeAnyUploadLeavesTheCardsListsAsTheyAre) {
    auto* s = open();
    for (QComboBox* l : lists(s)) EXPECT_TRUE(DrawnUnread(l)) << l->currentText().toStdString();
    EXPECT_EQ(s->List_ChEnable[1]->currentText(), "Enable");
    EXPECT_EQ(s->List_Deadband[1]->currentText(), "1.5");
    for (int p : {3, 4, 13, 14}) EXPECT_EQ(record(kEAJ2).Param[p], "") << p;

    sim.clearFrames();
    download(s);
    EXPECT_EQ(listWrites(), Frames{});
    EXPECT_EQ(sim.value(kEAJ2, "02", 43), "1");
    EXPECT_EQ(sim.value(kEAJ2, "04", 5), "7");
    for (int p : {3, 4, 13, 14}) EXPECT_EQ(record(kEAJ2).Param[p], "") << p;
    EXPECT_EQ(messages.texts(), (Frames{std::string(ui::kLeftAsTheyAreText) +
                                        "Motor Deadlock Detecting Time Ch.1, Ch.2; Restart Time Ch.1, Ch.2; "
                                        "Ch Enable/Disable Ch.1, Ch.2; Deadband Ch.1, Ch.2"}));

    // Entered again, still nothing read; an upload shows the card's own.
    cardList()->setCurrentIndex(0);
    open();
    for (QComboBox* l : lists(s)) EXPECT_TRUE(DrawnUnread(l));
    upload(s);
    EXPECT_EQ(s->List_ChEnable[1]->currentText(), "Disable");
    EXPECT_EQ(s->List_Deadband[1]->currentText(), "3.0");
    for (QComboBox* l : lists(s)) EXPECT_FALSE(DrawnUnread(l));
}

// A settings file gives each list what its field holds: a text the list has
// an entry for is a value and sent; an empty field, or a text the list has no
// entry for, is none: the list shows its default, not read, and it is named.
TEST_F(EajListsTest, AFileGivesEachListItsFieldAndAFieldWithoutAnEntryIsNoValue) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("station.uJx").toStdString();
    record(kEAJ2).Param.set(3, "bogus");     // Ch.1 enable: no such entry
    record(kEAJ2).Param.set(13, "Disable");  // Ch.2 enable
    record(kEAJ2).Param.set(14, "8.0");      // Ch.2 deadband; Ch.1's field empty
    files.answers.push_back(path);
    menu("mnuFilesSave")->trigger();
    record(kEAJ2).Param.set(13, "");
    files.answers.push_back(path);
    menu("mnuFilesOpen")->trigger();
    ASSERT_EQ(record(kEAJ2).Param[13], "Disable");
    messages.shown.clear();

    auto* s = open();
    EXPECT_EQ(s->List_ChEnable[0]->currentText(), "Enable");
    EXPECT_TRUE(DrawnUnread(s->List_ChEnable[0]));
    EXPECT_EQ(s->List_Deadband[0]->currentText(), "1.5");
    EXPECT_TRUE(DrawnUnread(s->List_Deadband[0]));
    EXPECT_EQ(s->List_ChEnable[1]->currentText(), "Disable");
    EXPECT_FALSE(DrawnUnread(s->List_ChEnable[1]));
    EXPECT_EQ(s->List_Deadband[1]->currentText(), "8.0");
    EXPECT_FALSE(DrawnUnread(s->List_Deadband[1]));

    sim.setValue(kEAJ2, "02", 42, "1");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(listWrites(), (Frames{"02/43:1", "4/05:9"}));
    EXPECT_EQ(sim.value(kEAJ2, "02", 42), "1");
    EXPECT_EQ(record(kEAJ2).Param[3], "bogus");
    const Named left = leftNamed();
    EXPECT_EQ(left.at("Ch Enable/Disable"), chs(1, 1));
    EXPECT_EQ(left.at("Deadband"), chs(1, 1));
}

// A deadband the list cannot show is no value read: the list keeps what it
// showed and its state, and nothing is sent for it.
TEST_F(EajListsTest, ADeadbandReplyTheListCannotShowIsNoValue) {
    auto* s = open();
    for (const char* reply : {"abc", "12"}) {
        SCOPED_TRACE(reply);
        sim.setValue(kEAJ2, "03", 5, reply);
        upload(s);
        EXPECT_EQ(s->List_Deadband[0]->currentText(), "1.5");
        EXPECT_TRUE(DrawnUnread(s->List_Deadband[0]));
        EXPECT_EQ(record(kEAJ2).Param[4], "");
        sim.clearFrames();
        download(s);
        EXPECT_EQ(countItem("3", "05"), 0u);
        EXPECT_EQ(leftNamed().at("Deadband"), chs(1, 1));
        messages.shown.clear();
    }
}

// --- IY4A with its version unknown ---

enum class VersionAnswer { Refused, Unanswered };

class Iy4aVersionTest : public PulseTest, public ::testing::WithParamInterface<VersionAnswer> {
protected:
    frmIY4A* open() {
        auto* s = pick<frmIY4A>(kIY4A);
        settle(s);
        return s;
    }
    void versionUnknown() {
        k6sim::Fault f = GetParam() == VersionAnswer::Refused
                             ? fault("I40", kIY4A, FaultAction::Reply, "CNG")
                             : silence("I40", kIY4A);
        f.group = "00";
        if (GetParam() == VersionAnswer::Unanswered) useFakeClock();
        sim.addFault(f);
    }
    std::vector<std::string> ratios(frmIY4A* s) const {
        std::vector<std::string> out;
        for (QLineEdit* b : s->txtDivide) out.push_back(boxText(b));
        return out;
    }
    std::vector<std::string> ratioFields() {
        return {record(kIY4A).Param[5], record(kIY4A).Param[10], record(kIY4A).Param[15], record(kIY4A).Param[20]};
    }
    std::size_t ratioFrames() const {
        std::size_t n = 0;
        for (const char* item : {"58", "59", "60", "61"}) n += countItem("01", item);
        return n;
    }
};

// Read with the version known, then entered with the version refused or
// unanswered: the ratios are neither "0" nor emptied, neither read nor sent,
// and named; with the version answered again they are sent as read.
TEST_P(Iy4aVersionTest, RatiosReadBeforeStayAsTheyWereWhileTheVersionIsUnknown) {
    const Frames card = {"4", "5", "6", "7"};
    for (int ch = 1; ch <= 4; ++ch) sim.setValue(kIY4A, "01", ch + 57, card[static_cast<std::size_t>(ch - 1)]);
    auto* s = open();
    ASSERT_EQ(text(s->versionBox()), "1.0");
    upload(s);
    ASSERT_EQ(ratios(s), card);
    ASSERT_EQ(ratioFields(), card);

    cardList()->setCurrentIndex(0);
    versionUnknown();
    open();
    EXPECT_EQ(text(s->versionBox()), "");
    EXPECT_EQ(ratios(s), card);
    EXPECT_EQ(ratioFields(), card);
    sim.clearFrames();
    upload(s);
    EXPECT_EQ(ratioFrames(), 0u);
    EXPECT_EQ(ratios(s), card);
    EXPECT_EQ(ratioFields(), card);
    messages.shown.clear();
    sim.clearFrames();
    download(s);
    EXPECT_EQ(ratioFrames(), 0u);
    EXPECT_EQ(sim.value(kIY4A, "01", 58), "4");
    EXPECT_EQ(ratioFields(), card);
    EXPECT_EQ(leftNamed().at("Dividing Ratio"), chs(1, 4));
    EXPECT_TRUE(G().Connected);

    // The version answered again: the ratio read before is sent as it was.
    sim.clearFaults();
    cardList()->setCurrentIndex(0);
    open();
    ASSERT_EQ(text(s->versionBox()), "1.0");
    sim.setValue(kIY4A, "01", 58, "9");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(sim.value(kIY4A, "01", 58), "4");
    EXPECT_EQ(countItem("01", "58"), 1u);
}

// A fresh screen with the version unknown: the ratios show the record's
// (nothing), not "0", and stay out of the record and off the card.
TEST_P(Iy4aVersionTest, AFreshScreenShowsNoZeroForTheRatios) {
    versionUnknown();
    auto* s = open();
    EXPECT_EQ(ratios(s), (Frames{"", "", "", ""}));
    for (QLineEdit* b : s->txtDivide) EXPECT_FALSE(b->isEnabled());
    upload(s);
    EXPECT_EQ(ratios(s), (Frames{"", "", "", ""}));
    EXPECT_EQ(ratioFields(), (Frames{"", "", "", ""}));
    messages.shown.clear();
    sim.clearFrames();
    download(s);
    EXPECT_EQ(ratioFrames(), 0u);
    EXPECT_EQ(sim.value(kIY4A, "01", 58), "4");
    EXPECT_EQ(leftNamed().at("Dividing Ratio"), chs(1, 4));
}

INSTANTIATE_TEST_SUITE_P(Iy4a, Iy4aVersionTest, ::testing::Values(VersionAnswer::Refused, VersionAnswer::Unanswered),
                         [](const auto& param) {
                             return param.param == VersionAnswer::Refused ? std::string("Refused")
                                                                          : std::string("Unanswered");
                         });

// A card known to lack the ratio (version value below 5) shows "0" for it,
// neither reads nor sends it, and does not name it: there is nothing on the
// card to leave.
TEST_F(PulseTest, Iy4aACardWithoutTheRatioShowsZeroAndNeverNamesIt) {
    sim.setValue(kIY4A, "00", 40, "0.4");
    auto* s = pick<frmIY4A>(kIY4A);
    settle(s);
    for (QLineEdit* b : s->txtDivide) EXPECT_EQ(boxText(b), "0");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(countItem("01", "58"), 0u);
    EXPECT_EQ(leftNamed().count("Dividing Ratio"), 0u);
}

// --- LQN8's output types ---

// The output types are labels the module codes give: a download never sends
// them, whatever they show or hold.
TEST_F(PulseTest, Lqn8OutputTypesAreNeverSent) {
    auto* s = pick<frmLQN8>(kLQN8);
    settle(s);
    sim.addFault(fault("I55", kLQN8, FaultAction::Reply, "CNG"));
    upload(s);
    sim.clearFaults();
    for (int ch = 1; ch <= 8; ++ch) type(s->txtZScale[static_cast<std::size_t>(ch - 1)], std::to_string(ch));
    sim.clearFrames();
    download(s);
    for (const std::string& w : writes()) {
        EXPECT_EQ(w.find("mA"), std::string::npos) << w;
        EXPECT_EQ(w.find("V DC"), std::string::npos) << w;
        EXPECT_TRUE(w.rfind("00/", 0) == 0 || w.rfind("01/", 0) == 0 || w.rfind("02/", 0) == 0) << w;
    }
}

}  // namespace
