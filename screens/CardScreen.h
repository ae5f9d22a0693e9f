#pragma once
// What every card screen shares: the model fields, the Upload and Download
// requests served by one timer, the 500 ms live read, the transfers with the
// progress window, and what happens when the card stops answering. A screen adds
// its controls and describes its settings as data: which boxes, which group and
// item on the card, which field of the record, and how a download accepts them.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/CardDispatch.h"
#include "core/CardRecord.h"
#include "screens/CardCounters.h"
#include "shell/CardScreens.h"
#include "shell/ChildForms.h"

namespace talvo::screens {

// How a download takes a box's text; a text that fails is not sent and the box
// gets the stored value back.
// Count: all digits and within the setting's `count` range, compared as numbers
// of any length.
enum class Accept { NotEmpty, Integer, Decimal, Bit, Count };

// The range of an Accept::Count setting.
struct CountRange {
    std::uint64_t min = 0, max = 0;
};

// A table value that may differ between the models one screen serves: one value
// for every variant, or one per variant in the order of the screen's `variants_`
// ("12" for the first, "04" for the second: {"12", "04"}). A variant past the
// last value takes the last one.
template <class T>
class PerVariant {
public:
    PerVariant() = default;
    template <class U>
        requires std::is_constructible_v<T, U&&>
    PerVariant(U&& value) : values_{T(std::forward<U>(value))} {}
    PerVariant(std::initializer_list<T> values) : values_(values) {}

    const T& operator[](int variant) const {
        static const T none{};
        if (values_.empty()) return none;
        const std::size_t i = variant < 0 ? 0 : static_cast<std::size_t>(variant);
        return values_[std::min(i, values_.size() - 1)];
    }

private:
    std::vector<T> values_;
};

// A settings group of the card. A variant whose group is kNotOnCard lacks the setting.
using Group = PerVariant<std::string>;
inline constexpr const char* kNotOnCard = "";

// What the transfers do with the boxes and record fields of a setting that the
// card of the variant shown lacks; either way nothing of it is read or sent.
//   Emptied: an upload empties the boxes, and both transfers empty the record fields.
//   Kept: the boxes keep their texts; an upload stores them in the record fields
//   as it stores every box, and a download leaves the fields as they are.
enum class BoxAndField { Emptied, Kept };

// A number counted by the channel: perCh * ch + base.
struct PerChannel {
    int perCh = 0, base = 0;
    int operator()(int ch) const { return perCh * ch + base; }
};

// A range checked before a download; `label` names the setting in "<label>:Incorrect settings".
struct RangeCheck {
    std::string label{};
    const double* min = nullptr;
    const double* max = nullptr;
};

// What a read sends as data and a write puts in front of the value, for a card
// that takes the channel in the data frame rather than in the item.
enum class DataFrame {
    None,     // a read asks for the item alone; a write sends the value
    Empty,    // a read sends the item and an empty data frame
    Channel,  // a read sends the channel ("01".."04") as data; a write sends it in front of the value
};

// Where the card keeps a setting when its `group` and `item` alone do not say it.
struct Address {
    // Added to item(ch) on the cards of a variant (a model that keeps the setting elsewhere).
    PerVariant<int> itemShift{};
    // The item on the cards of a variant that count it otherwise ({3, 58} on one
    // model, {2, 81} on another); {} where `item` and `itemShift` hold.
    PerVariant<PerChannel> variantItem{};
    // Each channel kept in a group of its own, channel 1 first ({"1", "2", "3",
    // "4"}, or {"3", "4"}): these instead of `group`.
    std::vector<std::string> channelGroups{};
    // Reads through an item and a data frame (WriteItemChecked), and the channel in the data.
    DataFrame data = DataFrame::None;
    // The item's text has at least this many digits ("05" rather than "5").
    int itemDigits = 1;
};

// A setting that is the channel's Unused flag: kept in ChOption(ch) rather than
// in a Param field, and shown red or green through ShowBitText.
struct UnusedFlag {
    bool unused = false;
    // A flag that a download sends whenever its box is not empty, but that an
    // empty box gets back through ShowBitText rather than as plain text.
    bool restoreAsBit = false;
    // For a flag kept as the card gives it rather than narrowed to "0" or "1":
    // shows the text a transfer read, the card answered to a write, or a
    // download gives back from ChOption(ch); the record then takes what the box
    // shows. The entry still shows the record through ShowBitText.
    std::function<void(int ch, const std::string& text)> show{};
};

// The tests a setting's text passes besides `accept`.
struct Checks {
    RangeCheck range{};  // checked before a download, when it has both limits
    CountRange count{};  // for Accept::Count
    // The screen's own test of a text a download may send; when set, it replaces `accept`.
    std::function<bool(const std::string& text)> accepts{};
};

// What a download does with a text its test refuses; nothing is sent for it.
enum class Unsent {
    Restored,  // the box gets the record's text back
    Emptied,   // the box is emptied; the record keeps its text
    Kept,      // the box and the record keep theirs
    Stored,    // the record takes what the box shows
};

// What the transfers do with the boxes and the record beyond reading and sending.
struct RecordRule {
    // Read by an upload and stored, never sent: a download leaves it, its boxes
    // and its record field as they are (a rating the card only reports).
    bool uploadOnly = false;
    // A read the card refuses ("CNG", "NEEDLESS") is no value: the box and the
    // record keep theirs. Without it the refusal is taken as the value's text.
    bool keepRefused = false;
    Unsent unsent = Unsent::Restored;
    // The boxes and record fields on a card of a variant that lacks the setting.
    BoxAndField whereLacked = BoxAndField::Emptied;
};

// A setting shown by a control other than a text box (a list, a check box), or
// by a box whose value the card codes: the screen tells the transfers how to
// read and fill it, channel by channel.
struct Control {
    int channels = 0;  // 0: the setting shows in `boxes` (or `copies`)
    // What it shows, as the record keeps it (and, without `data`, as a download sends it).
    std::function<std::string(int ch)> text{};
    // Shows a value an upload read: the record's text then, or nothing when the
    // control can show no such value (the control and the record keep theirs).
    std::function<std::optional<std::string>(int ch, const std::string& value)> show{};
    // What a download sends, "" for nothing (it may first put a default into the control).
    std::function<std::string(int ch)> data{};
    // Shows a record's text: the entry, and a download's give-back
    // (Unsent::Restored). Without it the screen shows the record itself.
    std::function<void(int ch, const std::string& stored)> restore{};
};

// One setting of every channel, as a row of the screen's table:
//   {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .accept = Accept::Integer}
// The fields most rows need come first; the rest come in small groups that a row
// names only when it needs them, in this order:
//   .at       where else the card keeps it        {.channelGroups = {"3", "4"}}
//   .flag     the channel's Unused flag           {.unused = true, .restoreAsBit = true}
//   .check    range, count, the screen's own test {.range = {"Zero Scale", &min, &max}}
//   .record   what the transfers keep             {.keepRefused = true, .unsent = Unsent::Kept}
//   .copies   the screen's working copies in place of `boxes`
//   .control  a list or check box in place of `boxes`
// (Every field has a default initializer, so that leaving one out draws no
// missing-initializer warning.)
struct Setting {
    std::vector<QLineEdit*> boxes{};  // channel 1..N at 0..N-1
    Group group{};                    // the card's settings group, "01" or "02"
    PerChannel item{};                // the card's item of channel ch: item(ch)
    PerChannel param{};               // the record field Param(param(ch))
    Accept accept = Accept::NotEmpty;
    Address at{};
    UnusedFlag flag{};
    Checks check{};
    RecordRule record{};
    // The screen's working copies, one per channel, when its boxes show only some
    // settings at a time: transfers and checks then use these instead of `boxes`.
    std::vector<std::string>* copies = nullptr;
    Control control{};

    int channels() const {
        if (control.channels > 0) return control.channels;
        return static_cast<int>(copies ? copies->size() : boxes.size());
    }
    // The item on a card of `variant`.
    int itemOn(int variant, int ch) const {
        const PerChannel& own = at.variantItem[variant];
        return own.perCh || own.base ? own(ch) : item(ch) + at.itemShift[variant];
    }
    bool onCard(int variant) const { return !at.channelGroups.empty() || !group[variant].empty(); }
    std::string groupOn(int variant, int ch) const;
    // The item's text on a card of `variant`.
    std::string itemText(int variant, int ch) const;
};

// Settings read and written together, channel by channel:
//   {.openGroup = "01", .settings = {ZScale, FScale}, .progressAfter = [](int ch) { return ch / 2; }}
struct Pass {
    Group openGroup{};                          // "1" goes to item "01" of this group first ("" none)
    std::vector<int> settings{};                // indexes into the screen's settings, in channel order
    std::function<int(int ch)> progressAfter{};  // progress bar after channel ch, upload and download
    bool downloadOnly = false;                  // an upload skips the pass (its group opening too)
    // "1" goes to item "01" of each channel's own group first (that of the pass's first setting).
    bool openChannelGroup = false;
};

// Where the live values come from and how they are shown:
//   live_ = {.boxes = txtParData, .items = ItemRange(10, 8), .pauseMs = 50};
struct LiveRead {
    std::vector<QLineEdit*> boxes{};     // one per value
    std::vector<std::string> items{};    // group "00" items, one per box
    int pauseMs = 10;                    // boxes stay empty this long before the new values
    bool removeDecimalPoint = true;
    bool boxByBox = false;               // each box emptied, paused and filled as its reply comes
    std::vector<std::string> groups{};   // each box's group when not all are "00"
    std::string keepPrefix{};            // a value beginning with this leaves its box as it was
    // Lamps painted after the values (not box by box): each group "00" item of
    // `lampItems` is a 16-bit word for the next 16 lamps, bit 0 first. Every lamp
    // stays neutral until all words have come (unless `lampsWordByWord`); an
    // unanswered word fails the read.
    std::vector<std::string> lampItems{};
    std::vector<QLabel*> lamps{};
    // The bits of each word that light lamps, in lamp order: each word then lights
    // lampBits.size() lamps ({2, 3}: bit 2, then bit 3). None: bits 0 to 15.
    std::vector<int> lampBits{};
    // Each word's lamps are painted as soon as that word has come, so a word
    // left unanswered leaves the lamps of the words before it lit.
    bool lampsWordByWord = false;
    // A second box per value (box by box only): the part of the value before
    // its first "," goes to the box, the part after it here; a value without
    // "," shows whole in both.
    std::vector<QLineEdit*> pairBoxes{};
    // A null box: its item is read (and must be answered) but not shown.
    // `blanked`: the boxes that blink empty, when not exactly those of `boxes`.
    std::vector<QLineEdit*> blanked{};
    std::vector<bool> removePoint{};     // each box's own choice, when not all are alike
    // An unanswered item leaves its box empty and the read goes on: no message, no disconnect.
    bool quiet = false;
    int retries = 3;                     // of each read and of the card select
    // A value by which the card says it has none ready yet ("TMOUT"): the item is
    // read again, at most kMaxLiveRereads times; after that it counts as unanswered.
    // The rereads stop when the screen leaves the client area.
    std::string rereadValue{};
};
inline constexpr int kMaxLiveRereads = 10;

// The item texts first, first + 1, .., count of them ("10", "11", ..).
std::vector<std::string> ItemRange(int first, int count);

// The models one screen serves, where they differ in a table value (see PerVariant).
// The card shown is of the first variant one of whose prefixes the model frame's
// caption begins with; a variant with no prefixes takes any model. Entry,
// transfers and checks look at it afresh.
struct ModelVariant {
    std::vector<std::string> models{};  // model code prefixes ("FD4A", "FW")
};

class CardScreen : public QWidget, public shell::OpenableScreen, public shell::ChildScreen {
    Q_OBJECT
public:
    // designCaption: the model frame's caption until an opener sets the card's code.
    explicit CardScreen(const std::string& designCaption, QWidget* parent = nullptr);

    // The opener's steps: model fields, timer, show, select, version, entry.
    void openCard(const std::string& typeCode, const ScreenSpec& spec) override;
    // The entry method: fill the boxes from the record and start the cycle with a tick at once.
    virtual void SetScaleMinMax(const std::string& typeCode);
    // The entry method the opener calls: SetScaleMinMax unless the screen has its own.
    virtual void enterCard(const std::string& typeCode) { SetScaleMinMax(typeCode); }
    // The live read; a screen whose values come point by point brings its own.
    virtual void procCycDataRead();

    void cmdUp_Click();
    void cmdDown_Click();

    bool cyclicRun() const { return CyclicRun; }
    bool busy() const { return inTick_; }
    QTimer& waitForTimer() { return WaitForTimer; }
    QLineEdit* cardTypeBox() const { return txtCardType; }
    QLineEdit* cardNoBox() const { return txtCardNo; }
    QLineEdit* versionBox() const { return txtVerNo; }
    QGroupBox* modelFrame() const { return fraSetModel; }
    QPushButton* uploadButton() const { return cmdUp; }
    QPushButton* downloadButton() const { return cmdDown; }
    QPushButton* clearButton() const { return cmdClear; }    // nullptr on a screen without one
    QPushButton* presetButton() const { return cmdPreset; }  // nullptr on a screen without one
    void CmdClear_Click();
    void cmdPreset_Click();
    // The variant in `variants_` of a model (0 when the screen lists none).
    int variantOf(const std::string& model) const;
    // The slot this screen was opened for: what its transfers, live reads and
    // dialogs address, whatever slot the card list shows by the time they run.
    int cardSlot() const { return cardSlot_; }
    // The variant of the model in the model frame's caption, which the opener sets
    // before the entry method runs.
    // A screen whose settings depend on something else than the model (the
    // card's version, say) tells its variant itself.
    virtual int shownVariant() const;

protected:
    // --- what a screen may add to the skeleton ---
    // Before the request flags are cleared (lock fields a variant lacks, ...).
    virtual void prepare(const std::string& typeCode);
    // Order-B openers' reads after the version (input types, modules, ...).
    virtual void openerReads(int slot);
    // Boxes of the screen that are not in the settings table.
    virtual void showSettingsExtra(const CardRecord& rec);
    class Transfer;
    // After the passes of an upload/download, with the same transfer.
    virtual void uploadExtra(Transfer& t);
    virtual void downloadExtra(Transfer& t);
    // Checks before a download; false after showing the message (nothing is sent).
    virtual bool checkEntries();
    // The clear and preset operations of counter screens: by default the ones
    // `counterClear_` and `counterPreset_` describe (CardCounters.cpp).
    virtual void clearCount();
    virtual void presetCount();
    // At the end of every tick, with the timer re-armed (a click kept back while the tick ran).
    virtual void tickEnded() {}
    // Work a screen does in every tick before the card-list check and the
    // requests, also while the card list has the focus (the actuator's
    // end-position setting); true when it took the whole tick.
    virtual bool servePriority() { return false; }
    // Before Upload or Download raises its request: false keeps the request back
    // (a box the focus left for the button failed its check and showed why).
    virtual bool entriesSettled() { return true; }
    // When Upload or Download has accepted a click, before its request is raised
    // (a screen that locks its controls until the request has run).
    virtual void requestAccepted() {}
    // The record text behind a setting of a channel that is not an Unused flag:
    // Param(param(ch)) unless the screen packs several settings into one field.
    virtual std::string storedText(const Setting& s, int ch, const CardRecord& rec) const;
    virtual void storeText(const Setting& s, int ch, CardRecord& rec, const std::string& text);

    void ShowSettings(const std::string& typeCode);
    virtual void UploadSettings();
    virtual void DownloadSettings();
    // False when the line was not free and nothing was done.
    bool ProcessRequest();
    // Serves the first raised request (download, upload, clear, preset); false when none was raised.
    bool serveRequest();
    void WaitForTimer_Timer();
    void raiseRequest(int& flag);

    // --- shared steps the screens' own code uses ---
    // A transfer's view of the card: the slot taken once at its start.
    class Transfer {
    public:
        // Every exchange makes up to transferRetries_ + 1 attempts; the card is the screen's slot.
        Transfer(const CardScreen& screen, const char* failureMessage);
        ~Transfer();
        bool ok() const { return ok_; }
        int slot() const { return cardSlot_; }
        CardRecord& record() { return *record_; }
        // The card select; false (and the transfer failed) when it is not answered.
        bool select();
        // A read whose empty answer fails the transfer; "" then.
        std::string read(const std::string& group, const std::string& item);
        // A write whose failure fails the transfer; the reply or "".
        std::string write(const std::string& group, const std::string& item, const std::string& data);
        // A read through WriteItemChecked (item and data frame): the value, "CNG" or
        // "NEEDLESS"; an empty answer fails the transfer and gives "".
        std::string readChecked(const std::string& group, const std::string& item, const std::string& data);
        void step(int value);
        void fail();

    private:
        const char* message_;
        int retries_;
        int cardSlot_;
        CardRecord* record_;
        bool ok_ = true;
        bool failed_ = false;
    };

    int channels() const;
    // The channels a pass runs over: those of its widest setting (a card may hold
    // some settings on its first channels only). A setting the card of the variant
    // shown lacks is neither read nor sent (its `whereLacked` says what becomes of
    // its boxes and record fields); a pass of such settings only moves no bar.
    int channels(const Pass& pass) const;
    QWidget* body() const { return body_; }  // the area inside the model frame for the screen's controls
    // The views' layout: the model frame at (left, top) holds "Card No.",
    // "Card Type" and "Version No." over their boxes (labels at y 360, boxes at
    // y 720), and the body is the whole frame, so that the screen places its
    // controls in the frame's own twips.
    void headerInFrame(int left, int top, int width, int height);
    void placeButtons(int left, int top);     // Upload, Download (Clear, Preset) in a row, in twips
    // Adds "Clear" (and "Preset") after Download; they raise ClearRequest and PresetRequest.
    void addCounterButtons(bool preset);
    // A counter clear within a running transfer (a download that clears the counters too).
    void runCounterClear(Transfer& t);
    // The transfer's card record, with the model and version the screen shows.
    CardRecord& stampedRecord(Transfer& t);
    // One setting of one channel as the passes read it and show it, by the row's
    // rules; a screen that reads its rows in an order of its own calls it too.
    // False when the transfer failed.
    bool uploadSetting(Transfer& t, const Setting& s, int ch, int variant);
    // One setting of one channel as the passes send it, by the row's rules. The
    // same data also goes to the groups of `alsoTo` (channels that share the
    // setting) before the record takes it. False when the transfer failed.
    bool downloadSetting(Transfer& t, const Setting& s, int ch, int variant, std::initializer_list<int> alsoTo = {});
    // The record takes what one setting of one channel shows; nothing is sent.
    void storeShown(const Setting& s, int ch, CardRecord& rec);

    std::vector<Setting> settings_;
    std::vector<Pass> passes_;
    LiveRead live_;
    std::vector<ModelVariant> variants_;  // none: one table for every model
    // The progress bar's steps of an upload and of a download.
    struct ProgressSteps {
        int upload = 12, download = 12;
    } transferSteps_;
    // Every exchange of a transfer makes up to this many attempts more than one.
    int transferRetries_ = 3;
    CounterClear counterClear_;
    CounterPreset counterPreset_;
    // The live cycle; requests are served this soon after a click.
    int cycleMs_ = 500;
    static constexpr int kRequestDelayMs = 10;
    // A request flag is cleared when its routine returns rather than before it
    // runs, so a click on the same button meanwhile asks for nothing more.
    bool requestClearedAfterRun_ = false;
    // A Download click is served by the next regular tick rather than about 10 ms later.
    bool downloadAtNextTick_ = false;
    bool stopWhenDeactivated_ = false;

    int DownloadRequest = 0;
    int UploadRequest = 0;
    int ClearRequest = 0;
    int PresetRequest = 0;
    bool CyclicRun = false;
    QTimer WaitForTimer;

    QGroupBox* fraSetModel;
    QLineEdit* txtCardType;
    QLineEdit* txtCardNo;
    QLineEdit* txtVerNo;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdPreset = nullptr;

    // Another screen of the client area took this one's place.
    void formHidden() override;
    // Serves the requests the screen's buttons raised and no tick has served yet.
    void leaving() override;
    bool hasAccepted() const override { return DownloadRequest || UploadRequest || ClearRequest || PresetRequest; }
    bool event(QEvent* e) override;

private:
    bool rangeChecksPass();
    // Whether the card of the variant shown has any setting of the pass (else the bar stays).
    bool onCard(const Pass& pass, int variant) const;
    // The own group of channel ch that a pass opens first (Pass::openChannelGroup).
    std::string channelGroupOf(const Pass& pass, int variant, int ch) const;
    // A setting the card lacks, met by an upload or a download.
    void settingLacked(const Setting& s, int ch, CardRecord& rec, bool upload);
    void readLiveBoxByBox();
    bool readLamps();
    // One live value, "" when it is not answered (see LiveRead::rereadValue);
    // `hidden` tells that the rereads stopped because the screen was hidden.
    std::string readLiveItem(const std::string& group, const std::string& item, bool& hidden);
    void restoreBox(const Setting& s, int ch, const CardRecord& rec, bool asBit);
    // What a download does with a setting whose text its test refused.
    void unsent(const Setting& s, int ch, CardRecord& rec);
    // The record text behind a setting: ChOption(ch) for an Unused flag, else storedText.
    std::string recordText(const Setting& s, int ch, const CardRecord& rec) const;
    void setRecordText(const Setting& s, int ch, CardRecord& rec, const std::string& text);
    bool inTick_ = false;
    int cardSlot_ = 0;  // the slot whose opener ran last
    QWidget* body_;
    QLabel* lblCardType_;
    QLabel* lblCardNo_;
    QLabel* lblVerNo_;
};

// Shows "Uploading incomplete" (title "Uploading") and disconnects, as a failed live read does.
void ReportLostLink();

}  // namespace talvo::screens
