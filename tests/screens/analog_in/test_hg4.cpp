// The 4-channel temperature screen: its base pair, the limit function by version,
// and what a silent limit read means.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "screens/analog_in/frmHG4.h"
#include "tests/screens/ScreenFixture.h"
#include "tests/screens/analog_in/LeftList.h"

using namespace talvo;
using namespace talvo::screens;

namespace {
class Hg4Test : public test::ScreenTest {};
}  // namespace

TEST_F(Hg4Test, UploadAndDownloadLayout) {
    for (int ch = 1; ch <= 4; ++ch) {
        sim.setValue(4, "01", 2 * ch + 40, "z" + std::to_string(ch));
        sim.setValue(4, "02", 2 * ch + 8, "zb" + std::to_string(ch));
        sim.setValue(4, "02", 2 * ch + 9, "fb" + std::to_string(ch));
    }
    sim.setValue(4, "00", 56, "ENA");
    auto* s = pick<frmHG4>(4);
    upload(s);
    for (int ch = 1; ch <= 4; ++ch) {
        const std::size_t i = static_cast<std::size_t>(ch - 1);
        EXPECT_EQ(text(s->txtZScale[i]), "z" + std::to_string(ch));
        EXPECT_EQ(text(s->txtZBase[i]), "zb" + std::to_string(ch));
        EXPECT_EQ(record(4).Param[2 * ch + 15], "zb" + std::to_string(ch));
        EXPECT_EQ(record(4).Param[2 * ch + 16], "fb" + std::to_string(ch));
    }
    EXPECT_TRUE(s->chkLimit->isChecked());
    EXPECT_EQ(record(4).Param[64], "1");
    EXPECT_EQ(window->progress(), 12);

    type(s->txtZBase[1], "-5.5");
    type(s->txtZScale[1], "12.5");  // not an integer: not sent, the stored value comes back
    s->chkLimit->setChecked(false);
    download(s);
    EXPECT_EQ(sim.value(4, "02", 12), "-5.5");
    EXPECT_EQ(sim.value(4, "01", 44), "z2");
    EXPECT_EQ(text(s->txtZScale[1]), "z2");
    EXPECT_EQ(sim.value(4, "00", 56), "0");
    EXPECT_EQ(record(4).Param[64], "0");
    // What the download did not send is named: the typed 12.5, and the card's
    // own texts that are no number ("z1", "zb1", ...).
    EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage(
                                    "Zero Scale Ch.1, Ch.2, Ch.3, Ch.4; Zero Base Ch.1, Ch.3, Ch.4; "
                                    "Full Base Ch.1, Ch.2, Ch.3, Ch.4")});
}

// An "HG4" card's version tells whether it has the limit function. An empty
// version box (the card refused the version, left it unanswered or gave an
// empty text) leaves that unknown: the limit is drawn as not read, cannot be
// set, and an upload neither reads nor empties it. (Changed on purpose: an
// empty version used to mean "no limit", so an upload emptied the stored limit.)
TEST_F(Hg4Test, LimitFunctionByVersionAndModel) {
    struct Case {
        std::string code, version;
        bool limit;
        bool known = true;  // whether the screen knows if the card has the limit
    };
    const Case cases[] = {
        {"HG4", "1.0", true},         {"HG4", "1.02", true}, {"HG4", "0.9", false},
        {"HG4", "", false, false},    {"UB4", "2.0", false}, {"HG4", "10", true},
        {"UB4", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code + " " + c.version);
        k6sim::Station st = sim.station();
        st.slot(4).code = c.code;
        st.slot(4).version = c.version;
        sim.setStation(st);
        record(4).CardType = c.code;
        record(4).Param.set(64, "1");
        cardList()->setCurrentIndex(0);
        auto* s = pick<frmHG4>(4);
        EXPECT_EQ(s->HasLimitFunction(), c.limit);
        EXPECT_EQ(s->chkLimit->isEnabled(), c.limit);
        EXPECT_EQ(s->chkLimit->checkState(), c.limit ? Qt::Checked : c.known ? Qt::Unchecked : Qt::PartiallyChecked);
        EXPECT_EQ(DrawnUnread(s->chkLimit), !c.known);
        sim.clearFrames();
        upload(s);
        EXPECT_EQ(record(4).Param[64], c.limit ? "0" : c.known ? "" : "1");
        EXPECT_EQ(static_cast<long>(countFrames("I56")), c.limit ? 1 : 0);
    }
}

TEST_F(Hg4Test, SilentLimitReadIsAFailedUploadNotLimitOff) {
    auto* s = pick<frmHG4>(4);
    ASSERT_TRUE(s->HasLimitFunction());
    record(4).Param.set(64, "1");
    useFakeClock();
    k6sim::Fault f;
    f.frame = "I56";
    f.card = 4;
    f.action = k6sim::FaultAction::Silence;
    sim.addFault(f);
    upload(s);
    EXPECT_EQ(record(4).Param[64], "1");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Uploading incomplete"}));
    EXPECT_FALSE(G().Connected);
}

TEST_F(Hg4Test, EntryWithoutANumberIsNotSent) {
    auto* s = pick<frmHG4>(4);
    upload(s);
    for (const char* t : {"-", ".", "-."}) {
        type(s->txtFScale[0], t == std::string(".") ? "-" : t);
        type(s->txtBias[0], t);
        sim.clearFrames();
        messages.shown.clear();
        download(s);
        EXPECT_EQ(sim.value(4, "01", 43), "10000") << t;
        EXPECT_EQ(sim.value(4, "01", 10), "0") << t;
        EXPECT_EQ(text(s->txtFScale[0]), "10000") << t;
        EXPECT_EQ(text(s->txtBias[0]), "0") << t;
        EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Full Scale Ch.1; Zero Adjust Ch.1")});
    }
}

TEST_F(Hg4Test, LimitReplyMustBeExactlyEna) {
    auto* s = pick<frmHG4>(4);
    ASSERT_TRUE(s->HasLimitFunction());
    for (const char* reply : {"ena", "ENAB", "DIS", "ENA"}) {
        sim.setValue(4, "00", 56, reply);
        upload(s);
        const bool on = std::string(reply) == "ENA";
        EXPECT_EQ(s->chkLimit->isChecked(), on) << reply;
        EXPECT_EQ(record(4).Param[64], on ? "1" : "0") << reply;
    }
}

TEST_F(Hg4Test, CardWithoutLimitKeepsItsStoredLimitOnDownload) {
    k6sim::Station st = sim.station();
    st.slot(4).version = "0.9";
    sim.setStation(st);
    auto* s = pick<frmHG4>(4);
    ASSERT_FALSE(s->HasLimitFunction());
    record(4).Param.set(64, "1");
    sim.clearFrames();
    download(s);
    EXPECT_EQ(record(4).Param[64], "1");
    EXPECT_EQ(countFrames("I56"), 0u);
}

TEST_F(Hg4Test, EmptyUnusedBoxIsNotSentAndShowsTheStoredFlag) {
    auto* s = pick<frmHG4>(4);
    upload(s);
    record(4).ChOption.set(3, "");
    type(s->txtEnable[2], "");
    sim.setValue(4, "02", 44, "before");
    download(s);
    EXPECT_EQ(sim.value(4, "02", 44), "before");
    EXPECT_EQ(text(s->txtEnable[2]), "0");  // "" shown as the flag "0" on green
    EXPECT_EQ(s->txtEnable[2]->palette().color(QPalette::Base), QColor(0, 128, 0));
}

// The card's version refused, needless or unanswered when the screen opens:
// whether the card has the limit function is not known. The limit the card
// gave before is neither emptied nor turned into "off" by an upload, nor sent
// by a download, which names it; it shows as not read and cannot be set. Once
// the version comes again, the limit holds what it held and is sent.
TEST_F(Hg4Test, AnUnknownVersionLeavesTheLimitAsItWas) {
    enum class Version { Refused, Needless, Unanswered };
    for (const Version v : {Version::Refused, Version::Needless, Version::Unanswered}) {
        SCOPED_TRACE(v == Version::Refused ? "refused" : v == Version::Needless ? "needless" : "unanswered");
        sim.clearFaults();
        sim.setValue(4, "00", 56, "ENA");
        cardList()->setCurrentIndex(0);
        auto* s = pick<frmHG4>(4);
        settle(s);
        upload(s);
        ASSERT_EQ(record(4).Param[64], "1");
        ASSERT_EQ(s->chkLimit->checkState(), Qt::Checked);

        k6sim::Fault f = v == Version::Unanswered
                             ? test::silence("I40", 4)
                             : test::fault("I40", 4, k6sim::FaultAction::Reply, v == Version::Refused ? "CNG" : "CNU");
        f.group = "00";
        sim.addFault(f);
        if (v == Version::Unanswered) useFakeClock();
        cardList()->setCurrentIndex(0);
        s = pick<frmHG4>(4);
        settle(s);
        ASSERT_EQ(text(s->versionBox()), "");
        EXPECT_FALSE(s->chkLimit->isEnabled());
        EXPECT_EQ(s->chkLimit->checkState(), Qt::PartiallyChecked);
        EXPECT_TRUE(DrawnUnread(s->chkLimit));
        sim.clearFrames();
        upload(s);
        EXPECT_EQ(countFrames("I56"), 0u);
        EXPECT_EQ(record(4).Param[64], "1");
        EXPECT_TRUE(DrawnUnread(s->chkLimit));
        EXPECT_TRUE(messages.shown.empty());
        sim.clearFrames();
        download(s);
        EXPECT_EQ(countFrames("I56"), 0u);
        EXPECT_EQ(sim.value(4, "00", 56), "ENA");
        EXPECT_EQ(record(4).Param[64], "1");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{test::LeftMessage("Limit")});
        messages.shown.clear();
        platform::services().clock = &steadyClock;

        // The version answered again: the limit is the one read before.
        sim.clearFaults();
        cardList()->setCurrentIndex(0);
        s = pick<frmHG4>(4);
        settle(s);
        EXPECT_TRUE(s->chkLimit->isEnabled());
        EXPECT_EQ(s->chkLimit->checkState(), Qt::Checked);
        EXPECT_FALSE(DrawnUnread(s->chkLimit));
        sim.setValue(4, "00", 56, "DIS");
        download(s);
        EXPECT_EQ(sim.value(4, "00", 56), "1");
        EXPECT_TRUE(messages.shown.empty());
    }
}

// A limit a settings file holds is a value, sent even where the card refused
// to read it before; a file without one leaves it not read, named, not sent.
TEST_F(Hg4Test, ALimitFromASettingsFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("station.uJx").toStdString();
    sim.setValue(4, "00", 56, "ENA");
    auto* s = pick<frmHG4>(4);
    settle(s);
    upload(s);
    sim.addFault(test::fault("I56", 4, k6sim::FaultAction::Reply, "CNG"));
    upload(s);
    sim.clearFaults();
    ASSERT_TRUE(DrawnUnread(s->chkLimit));
    ASSERT_EQ(record(4).Param[64], "1");
    for (const std::string field : {"1", ""}) {
        SCOPED_TRACE("file field \"" + field + "\"");
        record(4).Param.set(64, field);
        cardList()->setCurrentIndex(0);
        files.answers.push_back(path);
        menu("mnuFilesSave")->trigger();
        files.answers.push_back(path);
        menu("mnuFilesOpen")->trigger();
        s = pick<frmHG4>(4);
        settle(s);
        EXPECT_EQ(DrawnUnread(s->chkLimit), field.empty());
        sim.setValue(4, "00", 56, "DIS");
        sim.clearFrames();
        messages.shown.clear();
        download(s);
        EXPECT_EQ(sim.value(4, "00", 56), field.empty() ? "DIS" : "1");
        // The file holds what the uploads read for every other setting.
        EXPECT_EQ(messages.texts(),
                  field.empty() ? std::vector<std::string>{test::LeftMessage("Limit")} : std::vector<std::string>{});
    }
}
