#pragma once
// What every card screen shares: the model fields, the Upload and Download
// requests served by one timer, the 500 ms live read, the transfers with the
// progress window, and what happens when the card stops answering. A screen adds
// its controls and describes its settings as data (the rows of SettingRows.h):
// which boxes, which group and item on the card, which field of the record, and
// how a download accepts them.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/CardDispatch.h"
#include "core/CardRecord.h"
#include "screens/skeleton/CardCounters.h"
#include "screens/skeleton/SettingRows.h"
#include "ui/DialogValues.h"
#include "ui/ValueStates.h"
#include "shell/CardScreens.h"
#include "shell/ChildForms.h"

namespace talvo::screens {

using ui::DrawHeld;
using ui::DrawnUnread;
using ui::Held;

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
    // The settings as the screen's rows describe them (and a download names them).
    const std::vector<Setting>& settingRows() const { return settings_; }

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
        // A setting a download did not send because it holds no value: the card
        // keeps its own, and the user is told at the end (an item the card does
        // not use is not named). A row names its channels as members of its caption.
        void leftOnCard(const std::string& name, const std::string& member = "") { leftOnCard_.add(name, member); }
        void leftOnCard(const Setting& s, int variant, int ch, Held why);
        // Tells the user which settings a download that ran to its end left as
        // they are on the card (nothing when it sent them all).
        void tellLeftOnCard() const;

    private:
        const char* message_;
        int retries_;
        int cardSlot_;
        CardRecord* record_;
        bool ok_ = true;
        bool failed_ = false;
        ui::LeftAsTheyAre leftOnCard_;
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
    // The record takes the version the screen shows; an empty box (a version
    // the card refused or left unanswered) leaves the record's as it is.
    void stampVersion(CardRecord& rec) const;

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

    // --- what a setting shows: a value, or none (ui/ValueStates.h) ---
    // A setting the rows do not hold (a screen's own check box), by a name of
    // the screen's; `recordText` is the record's text behind it now (a field
    // with a text holds a value unless a read since said otherwise).
    Held held(const std::string& name, int ch, const std::string& recordText) const;
    // Keeps the state for this screen's slot and draws `control` by it. A value
    // coming in: call it before the control shows the value.
    void setHeld(const std::string& name, int ch, QWidget* control, Held h);
    // The user changing `control` (typing, picking an entry, clicking) gives the setting a value.
    void watchUserSets(const std::string& name, int ch, QWidget* control);
    // A setting of the rows, as those calls see it.
    Held held(const Setting& s, int ch, const CardRecord& rec) const;
    void setHeld(const Setting& s, int ch, Held h);
    // Whether the variant the screen shows is known: a screen whose settings
    // depend on the card's version does not know it while the version was
    // refused or not answered. Then a setting only some variants have is
    // neither read, emptied nor sent: it stays as it was, and a download names it.
    virtual bool variantKnown() const { return true; }

    std::vector<Setting> settings_;
    std::vector<Pass> passes_;
    LiveRead live_;
    std::vector<ModelVariant> variants_;  // none: one table for every model
    // The progress bar's steps of an upload and of a download.
    struct ProgressSteps {
        int upload = 12, download = 12;
        bool downloadBarFirst = false;  // a download's bar opens before the card is selected
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
    // The widget a setting of one channel shows in (nullptr for working copies).
    QWidget* controlOf(const Setting& s, int ch) const;
    // Draws every setting of the rows by its state, and watches the user's changes (once).
    void drawHeldStates(const CardRecord& rec);
    // The key of a setting of this screen for the slot it shows.
    ui::ValueKey valueKey(const std::string& name, int ch) const;
    std::string rowName(const Setting& s) const;
    // A setting some variants have and others lack.
    bool dependsOnVariant(const Setting& s) const;
    bool inTick_ = false;
    bool watching_ = false;
    std::string stateTag_;  // names this screen's settings in the one home of their states
    int cardSlot_ = 0;  // the slot whose opener ran last
    // The card the screen's turns of the line are for (none before an opener ran).
    int lineCard() const;
    QWidget* body_;
    QLabel* lblCardType_;
    QLabel* lblCardNo_;
    QLabel* lblVerNo_;
};

// What a read gives a box that shows it: the value after the colon, or nothing
// for a refusal ("CNG", "NEEDLESS"), which is no value to show or to keep.
std::string ShownValue(const std::string& reply);

// Shows "Uploading incomplete" (title "Uploading") and disconnects, as a failed live read does.
void ReportLostLink();

}  // namespace talvo::screens
