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
#include <functional>
#include <string>
#include <vector>

#include "core/CardDispatch.h"
#include "core/CardRecord.h"
#include "shell/CardScreens.h"

namespace talvo::screens {

// How a download takes a box's text; a text that fails is not sent and the box
// gets the stored value back.
enum class Accept { NotEmpty, Integer, Decimal, Bit };

// One setting of every channel.
struct Setting {
    std::vector<QLineEdit*> boxes;  // channel 1..N at 0..N-1
    std::string group;              // the card's settings group, "01" or "02"
    int itemPerCh = 0, itemBase = 0;    // item = itemPerCh * ch + itemBase
    int paramPerCh = 0, paramBase = 0;  // record field Param(paramPerCh * ch + paramBase)
    bool unusedFlag = false;        // the channel's Unused flag in ChOption(ch), shown red/green
    Accept accept = Accept::NotEmpty;
    // Checked before a download; `label` names the setting in "<label>:Incorrect settings".
    std::string label;
    const double* min = nullptr;
    const double* max = nullptr;
    // The screen's working copies, one per channel, when its boxes show only some
    // settings at a time: transfers and checks then use these instead of `boxes`.
    std::vector<std::string>* copies = nullptr;
    // An Unused flag that a download sends whenever its box is not empty, but that an
    // empty box gets back through ShowBitText (red/green) rather than as plain text.
    bool restoreAsBit = false;

    int channels() const { return static_cast<int>(copies ? copies->size() : boxes.size()); }
    int item(int ch) const { return itemPerCh * ch + itemBase; }
    int param(int ch) const { return paramPerCh * ch + paramBase; }
};

// Settings read and written together, channel by channel.
struct Pass {
    std::string openGroup;         // "1" goes to item "01" of this group first ("" none)
    std::vector<int> settings;     // indexes into the screen's settings, in channel order
    std::function<int(int ch)> uploadStep;    // progress bar after channel ch
    std::function<int(int ch)> downloadStep;  // the same for a download (empty: as upload)
};

// Where the live values come from and how they are shown.
struct LiveRead {
    std::vector<QLineEdit*> boxes;       // one per value
    std::vector<std::string> items;      // group "00" items, one per box
    bool removeDecimalPoint = true;
    int pauseMs = 10;                    // boxes stay empty this long before the new values
    std::vector<std::string> groups;     // each box's group when not all are "00"
    bool boxByBox = false;               // each box emptied, paused and filled as its reply comes
    std::string keepPrefix;              // a value beginning with this leaves its box as it was
    // Lamps painted after the values (not box by box): each group "00" item of
    // `lampItems` is a 16-bit word for the next 16 lamps, bit 0 first. Every lamp
    // stays neutral until all words have come; an unanswered word fails the read.
    std::vector<std::string> lampItems;
    std::vector<QLabel*> lamps;
};

class CardScreen : public QWidget, public shell::OpenableScreen {
    Q_OBJECT
public:
    // designCaption: the model frame's caption until an opener sets the card's code.
    explicit CardScreen(const std::string& designCaption, QWidget* parent = nullptr);

    // The opener's steps: model fields, timer, show, select, version, entry.
    void openCard(const std::string& typeCode, const ScreenSpec& spec) override;
    // The entry method: fill the boxes from the record and start the cycle with a tick at once.
    virtual void SetScaleMinMax(const std::string& typeCode);
    void procCycDataRead();

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
    // The clear and preset operations of counter screens.
    virtual void clearCount() {}
    virtual void presetCount() {}
    // At the end of every tick, with the timer re-armed (a click kept back while the tick ran).
    virtual void tickEnded() {}
    // The record text behind a setting of a channel that is not an Unused flag:
    // Param(param(ch)) unless the screen packs several settings into one field.
    virtual std::string storedText(const Setting& s, int ch, const CardRecord& rec) const;
    virtual void storeText(const Setting& s, int ch, CardRecord& rec, const std::string& text);

    void ShowSettings(const std::string& typeCode);
    virtual void UploadSettings();
    virtual void DownloadSettings();
    void ProcessRequest();
    void WaitForTimer_Timer();
    void raiseRequest(int& flag);

    // --- shared steps the screens' own code uses ---
    // A transfer's view of the card: the slot taken once at its start.
    class Transfer {
    public:
        Transfer(const char* failureMessage);
        ~Transfer();
        bool ok() const { return ok_; }
        int slot() const { return slot_; }
        CardRecord& record() { return *record_; }
        // The card select; false (and the transfer failed) when it is not answered.
        bool select();
        // A read whose empty answer fails the transfer; "" then.
        std::string read(const std::string& group, const std::string& item);
        // A write whose failure fails the transfer; the reply or "".
        std::string write(const std::string& group, const std::string& item, const std::string& data);
        void step(int value);
        void fail();

    private:
        const char* message_;
        int slot_;
        CardRecord* record_;
        bool ok_ = true;
        bool failed_ = false;
    };

    int channels() const;
    // The channels a pass runs over: those of its widest setting (a card may hold
    // some settings on its first channels only).
    int channels(const Pass& pass) const;
    QWidget* body() const { return body_; }  // the area inside the model frame for the screen's controls
    void placeButtons(int left, int top);     // Upload and Download, in twips

    std::vector<Setting> settings_;
    std::vector<Pass> passes_;
    LiveRead live_;
    int transferSteps_ = 12;
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

    bool event(QEvent* e) override;

private:
    bool rangeChecksPass();
    void readLiveBoxByBox();
    bool readLamps();
    void restoreBox(const Setting& s, int ch, const CardRecord& rec, bool asBit);
    bool inTick_ = false;
    int entrySlot_ = 0;  // the slot whose opener ran the entry method last
    QWidget* body_;
};

// Shows "Uploading incomplete" (title "Uploading") and disconnects, as a failed live read does.
void ReportLostLink();

}  // namespace talvo::screens
