// Every setting a Download of the universal and HART input card screens or of
// the HART master dialog can leave is named by the caption the screen or the
// dialog shows: walked by a Download with nothing read, which leaves (and
// names) every setting it would send.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <set>
#include <sstream>

#include "core/LineTurn.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/universal_in/frmXR4.h"
#include "screens/universal_in/frmXR_HART.h"
#include "tests/screens/universal_in/UniversalFixture.h"

using namespace talvo;
using namespace talvo::screens;

namespace {

// The captions a download's ending names, without their channels ("Zero
// Scale Ch.1, Ch.2" names "Zero Scale").
std::vector<std::string> captionsNamed(const std::string& message) {
    std::vector<std::string> captions;
    const std::string head = ui::kLeftAsTheyAreText;
    if (message.rfind(head, 0) != 0) return captions;
    std::string rest = message.substr(head.size());
    std::size_t at = 0;
    while (at <= rest.size()) {
        const std::size_t end = std::min(rest.find("; ", at), rest.size());
        std::string part = rest.substr(at, end - at);
        if (const std::size_t ch = part.find(" Ch."); ch != std::string::npos) part.erase(ch);
        captions.push_back(part);
        at = end + 2;
    }
    return captions;
}

// The words of every caption a widget shows: labels, frames and check boxes.
std::set<std::string> shownWords(const QWidget* w) {
    QStringList texts;
    for (const QLabel* l : w->findChildren<QLabel*>()) texts << l->text();
    for (const QGroupBox* g : w->findChildren<QGroupBox*>()) texts << g->title();
    for (const QCheckBox* c : w->findChildren<QCheckBox*>()) texts << c->text();
    std::set<std::string> words;
    for (const QString& t : texts) {
        std::istringstream in(t.toStdString());
        for (std::string word; in >> word;) words.insert(word);
    }
    return words;
}

void expectShownCaptions(const std::vector<std::string>& captions, const QWidget* shownBy, std::size_t count) {
    EXPECT_EQ(captions.size(), count);
    const std::set<std::string> words = shownWords(shownBy);
    for (const std::string& caption : captions) {
        SCOPED_TRACE(caption);
        EXPECT_NE(caption.rfind("Item ", 0), 0u) << "named by its item, not its caption";
        std::istringstream in(caption);
        for (std::string word; in >> word;) EXPECT_TRUE(words.count(word)) << word << " is shown nowhere";
    }
}

class UniversalCaptionsTest : public test::UniversalScreenTest {
public:
    CardScreen* open(int slot) {
        cardList()->setCurrentIndex(slot);
        waitFor([] { return !ActionsWaiting() && !ExchangeWaiting(); });
        auto* s = dynamic_cast<CardScreen*>(shell::childForms().screen(G().CurFormType));
        EXPECT_NE(s, nullptr) << slot;
        if (s) settle(s);
        return s;
    }
};

}  // namespace

TEST_F(UniversalCaptionsTest, EverySettingADownloadLeavesIsNamedByTheCaptionTheScreenShows) {
    struct Case {
        int slot;
        std::size_t settings;  // captions named; the /A card's fixed ADC speed is sent
    };
    const Case cases[] = {{1, 13}, {2, 12}, {4, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        connectAndUpload();
        messages.shown.clear();
        CardScreen* s = open(c.slot);
        ASSERT_NE(s, nullptr);
        download(s);
        ASSERT_EQ(messages.shown.size(), 1u);
        expectShownCaptions(captionsNamed(messages.shown[0].text), s, c.settings);
    }
}

TEST_F(UniversalCaptionsTest, EveryFieldTheHartDialogLeavesIsNamedByTheCaptionItShows) {
    auto* s = dynamic_cast<frmXR4*>(open(4));
    ASSERT_NE(s, nullptr);
    bool ran = false;
    onModal([&](QDialog& d) {
        auto& dlg = dynamic_cast<frmXR_HART&>(d);
        dlg.CmdDownload->click();
        EXPECT_EQ(messages.shown.size(), 1u);
        if (!messages.shown.empty()) expectShownCaptions(captionsNamed(messages.shown[0].text), &dlg, 10);
        ran = true;
        dlg.CmdExit->click();
    });
    s->SetHART[1]->click();
    EXPECT_TRUE(ran);
}
