// What a card screen does with a read the card refuses ("CNG"), says it does
// not use ("CNU") or leaves unanswered: the control keeps what it showed, drawn
// as not read, the record keeps its text, and a download sends nothing for it
// and says which settings it left as they are on the card.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <functional>

#include "core/Connection.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/analog_in/frmBW.h"
#include "screens/analog_in/frmBW16.h"
#include "screens/analog_in/frmBWT8.h"
#include "screens/analog_in/frmHG4.h"
#include "screens/analog_in/frmHG8.h"
#include "screens/base_alarm_in/frmKR4.h"
#include "screens/base_alarm_in/frmKR8.h"
#include "screens/base_alarm_in/frmZN2.h"
#include "tests/screens/ScreenFixture.h"

using namespace talvo;
using namespace talvo::screens;
using k6sim::FaultAction;
using test::fault;

namespace {

// One setting of one card screen of the default station.
struct Item {
    const char* name;
    int slot;
    std::string group;
    int item;
    std::function<QWidget*(CardScreen*)> control;
    std::string cardValue;  // what the card holds at the first upload
    std::string leftName;   // how the download's message names it
};

template <class Screen, class Member>
std::function<QWidget*(CardScreen*)> boxOf(Member member, std::size_t i) {
    return [member, i](CardScreen* s) -> QWidget* { return (dynamic_cast<Screen*>(s)->*member)[i]; };
}
template <class Screen>
std::function<QWidget*(CardScreen*)> limitOf() {
    return [](CardScreen* s) -> QWidget* { return dynamic_cast<Screen*>(s)->chkLimit; };
}

const Item kItems[] = {
    {"BW4ZeroScale", 1, "01", 42, boxOf<frmBW4>(&frmBW4::txtZScale, 0), "777", "Zero Scale Ch.1"},
    {"BW4Unused", 1, "02", 42, boxOf<frmBW4>(&frmBW4::txtEnable, 0), "1", "Unused Ch.1"},
    {"BW16ZeroScale", 3, "01", 42, boxOf<frmBW16>(&frmBW16::txtZScale, 0), "777", "Z-Scale Ch.1"},
    {"HG4Limit", 4, "00", 56, limitOf<frmHG4>(), "ENA", "Limit"},
    {"HG8ALimit", 6, "00", 56, limitOf<frmHG8>(), "ENA", "Limit"},
    {"KR4Unused", 13, "02", 42, boxOf<frmKR4>(&frmKR4::txtEnable, 0), "1", "Unused Ch.1"},
    {"KR4HoldTime", 13, "04", 9, [](CardScreen* s) -> QWidget* { return dynamic_cast<frmKR4*>(s)->txtHoldTime; },
     "5", "Hold Time"},
    {"KR8Direction", 14, "04", 15,
     [](CardScreen* s) -> QWidget* { return dynamic_cast<frmKR8*>(s)->txtAlarmLevel[0][0]; }, "1",
     "Alarm1 Cond. Dir Ch.1"},
    {"ZN2TareRatio", 10, "01", 8, boxOf<frmZN2>(&frmZN2::txtTare, 0), "2.5", "Tare ratio Ch.1"},
};

// A case is named by its name in a failure, not by its bytes.
void PrintTo(const Item& c, std::ostream* os) { *os << c.name; }

enum class Answer { Refused, Needless, Unanswered };
const char* answerName(Answer a) {
    return a == Answer::Refused ? "CNG" : a == Answer::Needless ? "CNU" : "Silence";
}

class HeldValueTest : public test::ScreenTest, public ::testing::WithParamInterface<std::tuple<Item, Answer>> {
protected:
    // The data frames written to the item on its card.
    std::vector<std::string> writesTo(const Item& c) {
        std::vector<std::string> out;
        const std::string prefix = std::to_string(c.slot) + "|" + c.group + "/" + std::to_string(c.item) + ":";
        for (const std::string& f : stamped())
            if (f.rfind(prefix, 0) == 0) out.push_back(f);
        return out;
    }
    k6sim::Fault answerTo(const Item& c, Answer a) {
        k6sim::Fault f = a == Answer::Unanswered
                             ? test::silence("I" + std::to_string(c.item), c.slot)
                             : fault("I" + std::to_string(c.item), c.slot, FaultAction::Reply,
                                     a == Answer::Refused ? "CNG" : "CNU");
        f.group = c.group;
        return f;
    }
};

// After a whole upload read the card's value, the card refuses the item, says
// it does not use it, or leaves it unanswered; then a download.
TEST_P(HeldValueTest, AnItemTheCardDidNotGiveIsNeitherShownAsReadNorSent) {
    const auto& [c, answer] = GetParam();
    sim.setValue(c.slot, c.group, c.item, c.cardValue);
    CardScreen* s = pick(c.slot);
    ASSERT_NE(s, nullptr);
    settle(s);
    upload(s);
    ASSERT_TRUE(messages.shown.empty());
    QWidget* control = c.control(s);
    EXPECT_FALSE(DrawnUnread(control));
    const CardRecord before = record(c.slot);

    if (answer == Answer::Unanswered) useFakeClock();
    sim.addFault(answerTo(c, answer));
    upload(s);
    EXPECT_EQ(record(c.slot), before) << "the record keeps what it held";
    if (answer == Answer::Unanswered) {
        // The failed-transfer path: told, disconnected, nothing drawn otherwise.
        EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
        EXPECT_FALSE(G().Connected);
        EXPECT_FALSE(DrawnUnread(control));
        return;
    }
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(G().Connected);
    EXPECT_TRUE(DrawnUnread(control));

    // Whatever the card holds now stays: nothing is sent for the item, and the
    // download goes on with the rest.
    sim.clearFaults();
    sim.setValue(c.slot, c.group, c.item, "9");
    sim.clearFrames();
    download(s);
    EXPECT_TRUE(G().Connected);
    EXPECT_TRUE(writesTo(c).empty());
    EXPECT_EQ(sim.value(c.slot, c.group, c.item), "9");
    for (const std::string& f : sim.frames()) EXPECT_EQ(f.find("CN"), std::string::npos) << f;
    EXPECT_EQ(record(c.slot).Param, before.Param);
    EXPECT_EQ(record(c.slot).ChOption, before.ChOption);
    if (answer == Answer::Needless) {
        EXPECT_TRUE(messages.shown.empty()) << "an item the card does not use is no loss";
    } else {
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].title, "Downloading");
        EXPECT_EQ(messages.shown[0].icon, platform::MsgIcon::Information);
        const std::string& text = messages.shown[0].text;
        EXPECT_NE(text.find(c.leftName), std::string::npos) << text;
    }

    // It stays without a value when the screen is entered again for its slot ...
    messages.shown.clear();
    cardList()->setCurrentIndex(c.slot == 1 ? 2 : 1);
    pick(c.slot);
    settle(s);
    control = c.control(s);
    EXPECT_TRUE(DrawnUnread(control));
    // ... and a later read that the card answers gives it its value back.
    upload(s);
    EXPECT_FALSE(DrawnUnread(control));
    sim.clearFrames();
    download(s);
    EXPECT_FALSE(writesTo(c).empty());
    EXPECT_TRUE(messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(CardScreens, HeldValueTest,
                         ::testing::Combine(::testing::ValuesIn(kItems),
                                            ::testing::Values(Answer::Refused, Answer::Needless, Answer::Unanswered)),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param).name) + "_" +
                                    answerName(std::get<1>(param.param));
                         });

class HeldValueScreenTest : public test::ScreenTest {};

// The user setting a box the card did not give gives it a value: it is sent.
TEST_F(HeldValueScreenTest, TheUserTypingIntoABoxWithoutAValueMakesItSent) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    k6sim::Fault f = fault("I42", 1, FaultAction::Reply, "CNG");
    f.group = "01";
    sim.addFault(f);
    upload(s);
    ASSERT_TRUE(DrawnUnread(s->txtZScale[0]));
    sim.clearFaults();
    s->txtZScale[0]->setFocus();
    s->txtZScale[0]->selectAll();
    QTest::keyClicks(s->txtZScale[0], "321");
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    download(s);
    EXPECT_EQ(sim.value(1, "01", 42), "321");
    EXPECT_TRUE(messages.shown.empty());
}

// File Open replaces what each setting held, whatever its text: a field the
// file fills holds a value (the text the refused read kept as much as another
// one), and an empty field holds none. (Changed on purpose: the state was tied
// to the text the read was refused with, so a file bringing the same text
// stayed not read while one differing by a digit was sent.)
TEST_F(HeldValueScreenTest, AFileOpenedGivesEachSettingWhatTheFileHolds) {
    record(1).Param.set(1, "111");  // zero scale Ch.1 and Ch.2, as downloaded before
    record(1).Param.set(5, "222");
    auto* s = pick<frmBW4>(1);
    settle(s);
    for (const char* item : {"I42", "I44"}) {
        k6sim::Fault f = fault(item, 1, FaultAction::Reply, "CNG");
        f.group = "01";
        sim.addFault(f);
    }
    upload(s);
    sim.clearFaults();
    ASSERT_TRUE(DrawnUnread(s->txtZScale[0]));
    ASSERT_TRUE(DrawnUnread(s->txtZScale[1]));
    // The file holds Ch.1's text as it was, another text for Ch.2, none for Ch.3.
    QTemporaryDir dir;
    const std::string path = dir.filePath("station.uJx").toStdString();
    record(1).Param.set(5, "432");
    record(1).Param.set(9, "");
    cardList()->setCurrentIndex(0);
    files.answers.push_back(path);
    menu("mnuFilesSave")->trigger();
    record(1).Param.set(1, "");
    files.answers.push_back(path);
    menu("mnuFilesOpen")->trigger();
    ASSERT_EQ(record(1).Param[1], "111");
    pick<frmBW4>(1);
    settle(s);
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
    EXPECT_FALSE(DrawnUnread(s->txtZScale[1]));
    EXPECT_TRUE(DrawnUnread(s->txtZScale[2]));
    messages.shown.clear();
    download(s);
    EXPECT_EQ(sim.value(1, "01", 42), "111");
    EXPECT_EQ(sim.value(1, "01", 44), "432");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("Zero Scale Ch.3"), std::string::npos) << messages.shown[0].text;
}

// A second station after a reconnect inherits nothing: what the first one's
// cards refused says nothing of the second's.
TEST_F(HeldValueScreenTest, AReconnectForgetsWhatTheCardsBeforeHeld) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    k6sim::Fault f = fault("I42", 1, FaultAction::Reply, "CNG");
    f.group = "01";
    sim.addFault(f);
    upload(s);
    sim.clearFaults();
    ASSERT_TRUE(DrawnUnread(s->txtZScale[0]));
    menu("mnuConnectDisconnect")->trigger();
    connectAndUpload();
    s = pick<frmBW4>(1);
    settle(s);
    upload(s);
    EXPECT_FALSE(DrawnUnread(s->txtZScale[0]));
}

// Texts the screens only show: a refusal shows no value, and the record keeps
// the version it held.
TEST_F(HeldValueScreenTest, ARefusalIsNeverShownAsAValue) {
    record(1).Version = "1.01";
    for (const char* refusal : {"CNG", "CNU"}) {
        SCOPED_TRACE(refusal);
        sim.clearFaults();
        sim.addFault(fault("I40", 1, FaultAction::Reply, refusal));  // the version
        k6sim::Fault live = fault("I10", 1, FaultAction::Reply, refusal);
        live.group = "00";
        sim.addFault(live);
        cardList()->setCurrentIndex(2);
        auto* s = pick<frmBW4>(1);
        settle(s);
        EXPECT_EQ(text(s->versionBox()), "");
        upload(s);
        EXPECT_EQ(record(1).Version, "1.01");
        // The live value of channel 1: no value, while channel 2's comes.
        ASSERT_TRUE(waitFor([&] { return text(s->txtParData[1]) == "+0020"; }));
        EXPECT_EQ(text(s->txtParData[0]), "");
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(HeldValueScreenTest, TheTemperatureScreensShowNoRefusedInputTypeBurnoutOrUnit) {
    sim.addFault(fault("I25", 4, FaultAction::Reply, "CNG"));
    sim.addFault(fault("I20", 4, FaultAction::Reply, "CNU"));
    sim.addFault(fault("I19", 4, FaultAction::Reply, "CNG"));
    auto* s = pick<frmHG4>(4);
    settle(s);
    EXPECT_EQ(text(s->txtInputType[0]), "");
    EXPECT_EQ(text(s->txtInputType[1]), "K");
    EXPECT_EQ(text(s->txtBurnout), "");
    EXPECT_EQ(text(s->txtUnit), "");
}

// A module the card does not name is not taken for a voltage module.
TEST_F(HeldValueScreenTest, BWT8ShowsNoInputTypeForAModuleItDidNotName) {
    sim.setValue(7, "00", 55, "UB01");
    sim.setValue(7, "00", 56, "UB01");
    auto* s = pick<frmBWT8>(7);
    settle(s);
    ASSERT_EQ(text(s->txtInputType[0]), "Pt1000");
    ASSERT_FALSE(s->txtZBase[0]->isReadOnly());
    sim.addFault(fault("I55", 7, FaultAction::Reply, "CNG"));
    useFakeClock();
    sim.addFault(test::silence("I56", 7));
    cardList()->setCurrentIndex(1);
    pick<frmBWT8>(7);
    settle(s);
    for (std::size_t i : {0u, 1u}) {
        EXPECT_EQ(text(s->txtInputType[i]), "") << i;
        EXPECT_FALSE(s->txtZBase[i]->isReadOnly()) << i;
    }
}

}  // namespace
// The Unused flag a fresh screen shows ("0" on green, no record yet) is put
// there by the program: drawn as not read, never sent, and named by the
// download, as after a first upload that the card refused. (Changed on
// purpose: the fresh screen's default used to be sent.)
TEST_F(HeldValueScreenTest, AFreshScreensDefaultIsNeverSent) {
    for (const bool refusedFirst : {false, true}) {
        SCOPED_TRACE(refusedFirst ? "refused first upload" : "fresh screen");
        sim.clearFaults();
        record(13).ChOption.clear();
        sim.setValue(13, "02", 42, "1");
        cardList()->setCurrentIndex(1);
        auto* s = pick<frmKR4>(13);
        settle(s);
        ASSERT_EQ(text(s->txtEnable[0]), "0");
        EXPECT_TRUE(DrawnUnread(s->txtEnable[0]));
        if (refusedFirst) {
            k6sim::Fault f = fault("I42", 13, FaultAction::Reply, "CNG");
            f.group = "02";
            sim.addFault(f);
            upload(s);
            sim.clearFaults();
        }
        messages.shown.clear();
        download(s);
        EXPECT_EQ(sim.value(13, "02", 42), "1");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown[0].text.find("Unused Ch.1"), std::string::npos) << messages.shown[0].text;
    }
}

// A click on a partly checked limit box gives it a value the user sees: on.
TEST_F(HeldValueScreenTest, AClickOnAPartlyCheckedBoxSetsIt) {
    sim.setValue(4, "00", 56, "DIS");
    auto* s = pick<frmHG4>(4);
    settle(s);
    sim.addFault(fault("I56", 4, FaultAction::Reply, "CNG"));
    upload(s);
    ASSERT_EQ(s->chkLimit->checkState(), Qt::PartiallyChecked);
    sim.clearFaults();
    QTest::mouseClick(s->chkLimit, Qt::LeftButton, {}, QPoint(6, s->chkLimit->height() / 2));
    EXPECT_EQ(s->chkLimit->checkState(), Qt::Checked);
    EXPECT_FALSE(s->chkLimit->isTristate());
    EXPECT_FALSE(DrawnUnread(s->chkLimit));
    download(s);
    EXPECT_EQ(sim.value(4, "00", 56), "1");
    EXPECT_TRUE(messages.shown.empty());
}

// A kept text the card refused to read is not sent, so it is not checked
// either: it cannot hold back the download of the rest.
TEST_F(HeldValueScreenTest, ARefusedSettingsTextIsNotRangeChecked) {
    auto* s = pick<frmBW4>(1);
    settle(s);
    record(1).Param.set(1, "999999");  // out of range, as a file may hold it
    cardList()->setCurrentIndex(2);
    pick<frmBW4>(1);
    settle(s);
    k6sim::Fault f = fault("I42", 1, FaultAction::Reply, "CNG");
    f.group = "01";
    sim.addFault(f);
    upload(s);
    sim.clearFaults();
    type(s->txtZScale[1], "123");
    download(s);
    EXPECT_EQ(sim.value(1, "01", 44), "123");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "Downloading");
}

// The last write of a download (or of the power monitor's reset) that the card
// refuses or leaves unanswered is told, and the record keeps what it held.
TEST_F(HeldValueScreenTest, AFailedLastWriteIsToldAndTheRecordKeepsItsText) {
    struct Case {
        const char* name;
        int slot;
        std::string group, item;  // the last write's item frame
        std::function<void(CardScreen*)> change;  // what the user changed before
        std::function<void(CardScreen*)> run;
    };
    const auto runDownload = [this](CardScreen* s) { download(s); };
    const Case cases[] = {
        {"BW4 Unused of channel 4", 1, "02", "I45",
         [](CardScreen* s) { type(dynamic_cast<frmBW4*>(s)->txtEnable[3], "1"); }, runDownload},
        {"HG4 limit", 4, "00", "I56", [](CardScreen* s) { dynamic_cast<frmHG4*>(s)->chkLimit->click(); }, runDownload},
        {"HG8A limit", 6, "00", "I56", [](CardScreen* s) { dynamic_cast<frmHG8*>(s)->chkLimit->click(); }, runDownload},
    };
    for (const bool silent : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (silent ? ", unanswered" : ", refused"));
            restartWindow();
            connectAndUpload();
            messages.shown.clear();
            CardScreen* s = pick(c.slot);
            ASSERT_NE(s, nullptr);
            settle(s);
            upload(s);
            const CardRecord before = record(c.slot);
            c.change(s);
            if (silent) useFakeClock();
            k6sim::Fault f = silent ? test::silence(c.item, c.slot) : fault(c.item, c.slot, FaultAction::Reply, "CNG");
            f.group = c.group;
            sim.addFault(f);
            c.run(s);
            EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Downloading incomplete"}));
            EXPECT_FALSE(G().Connected);
            EXPECT_EQ(record(c.slot).Param, before.Param);
            EXPECT_EQ(record(c.slot).ChOption, before.ChOption);
            sim.clearFaults();
            platform::services().clock = &steadyClock;
        }
    }
}
