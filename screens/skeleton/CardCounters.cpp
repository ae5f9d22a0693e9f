// The counter clear and preset every pulse input screen shares; what differs
// between the screens is in their CounterClear and CounterPreset tables.
#include "screens/skeleton/CardCounters.h"

#include "core/Globals.h"
#include "core/MainView.h"
#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "platform/Services.h"
#include "screens/skeleton/CardScreen.h"
#include "screens/skeleton/TextBoxes.h"

namespace talvo::screens {

namespace {

constexpr int kCounterSteps = 12;
constexpr int kClearRetries = 3;

// The attempts WriteItem makes, sent alike; the write counts as refused when
// the card said no to any attempt and took none, as unanswered when it never answered.
WriteOutcome writeMayBeRefused(const std::string& group, const std::string& item, const std::string& data) {
    bool refused = false;
    for (int i = 0; i <= kClearRetries; ++i) {
        const WriteOutcome r = WriteItemAttempt(group, item, data).outcome;
        if (r == WriteOutcome::Taken) return r;
        refused = refused || r == WriteOutcome::Refused;
    }
    return refused ? WriteOutcome::Refused : WriteOutcome::Unanswered;
}

// The messages of a preset that sent nothing, or refused a value.
constexpr const char* kPresetTitle = "Preset";
constexpr const char* kNothingToPreset = "No preset value to send";

void tellPreset(const std::string& text, platform::MsgIcon icon = platform::MsgIcon::Information) {
    if (auto* msg = platform::services().messages) msg->show(text, kPresetTitle, icon);
}

// Why a channel's preset value was refused, told as the range it may take:
// 0 up to the channel's stored "Max", and never past the screen's limit.
std::string presetRange(int ch, const std::string& storedMax, std::uint64_t limit) {
    const std::string channel = "Preset Ch." + std::to_string(ch) + ": ";
    if (!IsUnsignedText(storedMax)) return channel + "Max is not a number";
    const std::string top = CountWithin(storedMax, 0, limit) ? std::string(WithoutLeadingZeros(storedMax))
                                                             : std::to_string(limit);
    return channel + "Please enter number 0 - " + (top.empty() ? "0" : top);
}

std::string lines(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += (out.empty() ? "" : "\n") + t;
    return out;
}

}  // namespace

bool CountWithin(const std::string& text, std::uint64_t min, std::uint64_t max) {
    return IsUnsignedText(text) && CompareDigitTexts(text, std::to_string(min)) >= 0 &&
           CompareDigitTexts(text, std::to_string(max)) <= 0;
}

void CardScreen::addCounterButtons(bool preset) {
    if (!cmdClear) {
        cmdClear = new QPushButton(QStringLiteral("Clear"), this);
        connect(cmdClear, &QPushButton::clicked, this, [this] { CmdClear_Click(); });
    }
    if (preset && !cmdPreset) {
        cmdPreset = new QPushButton(QStringLiteral("Preset"), this);
        connect(cmdPreset, &QPushButton::clicked, this, [this] { cmdPreset_Click(); });
    }
    // The row of buttons ends where Download ended on its own.
    placeButtons(cmdPreset ? 3360 : 4920, 6780);
}

void CardScreen::CmdClear_Click() { raiseRequest(ClearRequest); }
void CardScreen::cmdPreset_Click() { raiseRequest(PresetRequest); }

void CardScreen::clearCount() {
    if (counterClear_.items.empty()) return;
    Transfer t(*this, "Downloading incomplete");
    if (t.ok()) runCounterClear(t);
}

void CardScreen::runCounterClear(Transfer& t) {
    const CounterClear& c = counterClear_;
    if (!t.ok()) return;
    stampedRecord(t);
    if (!t.select() || t.write(c.group, "01", "1").empty()) return;
    if (c.progress) mainView().showProgress(kCounterSteps, "Downloading");
    for (std::size_t i = 0; i < c.items.size(); ++i) {
        const bool required = c.required < 0 || static_cast<int>(i) < c.required;
        if (required) {
            if (t.write(c.group, c.items[i], c.data).empty()) return;
        } else if (writeMayBeRefused(c.group, c.items[i], c.data) == WriteOutcome::Unanswered) {
            // An item past the card's channels may be refused; a card that does
            // not answer at all is lost like anywhere else.
            t.fail();
            return;
        }
        if (c.progress) t.step(static_cast<int>(i + 2) / 2);
    }
}

void CardScreen::presetCount() {
    const CounterPreset& p = counterPreset_;
    if (p.boxes.empty()) return;
    Transfer t(*this, "Downloading incomplete");
    if (!t.ok() || !t.select() || t.write("02", "01", p.openData).empty()) return;
    const CardRecord& rec = t.record();
    mainView().showProgress(kCounterSteps, "Downloading");
    const bool hasMin = p.minPerCh != 0 || p.minBase != 0;
    bool sent = false;
    // A value out of its range stays in its box, is not sent, and is told.
    std::vector<std::string> refused;
    for (int ch = 1; ch <= static_cast<int>(p.boxes.size()); ++ch) {
        QLineEdit* box = p.boxes[static_cast<std::size_t>(ch - 1)];
        const std::string m = hasMin ? rec.Param[p.minPerCh * ch + p.minBase] : std::string();
        const std::string f = rec.Param[p.maxPerCh * ch + p.maxBase];
        const std::string value = boxText(box);
        if ((!hasMin || !m.empty()) && !f.empty() && !value.empty()) {
            // A "Max" that is no count (from a settings file, say) bounds nothing: refused.
            if (CountWithin(value, 0, p.limit) && IsUnsignedText(f) && CompareDigitTexts(f, value) >= 0) {
                const std::string reply = t.write("02", std::to_string(p.itemPerCh * ch + p.itemBase), value);
                if (!t.ok()) return;
                setBoxText(box, TextAfterColon(reply));
                sent = true;
            } else {
                refused.push_back(presetRange(ch, f, p.limit));
            }
        } else if (hasMin && m.empty() && f.empty()) {
            mainView().closeProgress();
            tellPreset("Please Upload before the Preset", platform::MsgIcon::Stop);
            if (!refused.empty()) tellPreset(lines(refused));
            return;
        }
        t.step((ch + 1) / 2);
    }
    mainView().closeProgress();
    if (!refused.empty())
        tellPreset(lines(refused));
    else if (!sent)
        tellPreset(kNothingToPreset);
}

}  // namespace talvo::screens
