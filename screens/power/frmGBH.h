#pragma once
// The power-monitor card screen. Each of its 16 channel rows binds one data word
// of the card to one of 472 measurement items (one or two words, system #1 or
// #2, a scale); the card-wide wiring, VT, CT, sensor, cut-out, frequency input,
// calculation and demand settings are read and written with the bindings; the
// live read shows every channel's data word and the bound rows' values each
// second; "Reset" clears the sums, max/min or demand the list names.
//
// A card may take one, two or three slots: its main slot (sub-type 0 or 1)
// holds the card-wide settings; a further slot (sub-type 2 or 3) numbers its
// rows on from 16 or 32 and shows, read-only, the settings of the main slot one
// or two places before it.
//
// The rows are the widget-free GbhBindingRows; the widgets only show them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "screens/skeleton/CardScreen.h"
#include "screens/power/GbhBinding.h"

namespace talvo::screens {

class frmGBH : public CardScreen {
    Q_OBJECT
public:
    static constexpr int kRows = GbhBindingRows::kRows;

    explicit frmGBH(QWidget* parent = nullptr);

    void SetScaleMinMax(const std::string& typeCode) override;
    void procCycDataRead() override;

    // True on a two-system model: the 5th character of the card type is "2".
    bool IsTypeVariant2() const;
    // Locks (false) or unlocks the rows, settings and buttons, and the main
    // window's card list with them; the settings of a further slot stay locked.
    void SetControlsEnabled(bool enable);
    // The background of a setting control that is enabled or not.
    static std::uint32_t EnabledBackColor(bool enabled);

    void CmdReset_Click();

    const GbhBindingRows& bindingRows() const { return rows_; }
    bool requestPending() const { return DownloadRequest || UploadRequest || ClearRequest; }
    // Whether the bindings of the slot shown are not all known (a read refused,
    // unanswered or empty, or never read): until an upload reads them all, a
    // download leaves the card's bindings alone and names them when it ends.
    bool bindingsUnsure() const;

    // -1 while the live read may run; opening a row's item list sets it to the
    // row, which stops the live read until the next upload or download.
    int LiveReadEnabled = -1;

    // Channel rows.
    std::array<QLabel*, kRows> hexIdx{};
    std::array<QComboBox*, kRows> cbItem{}, cbWordNum{}, cbCh{}, cbScale{};
    std::array<QLabel*, kRows> txtUnit{}, txtValue{}, txtParData{};

    // Card-wide settings; index 0 system #1, index 1 system #2.
    QComboBox* cbWiring;
    QLineEdit* txtVT1;
    QLineEdit* txtVT2;
    std::array<QComboBox*, 2> cbWdra{}, cbInpSig{};
    std::array<QLineEdit*, 2> txtCur1{}, txtCur2{}, txtVCut{}, txtICut{};
    std::array<QLabel*, 2> lblSystem{};
    QLabel* lblCur2;
    QComboBox* cbPF;
    QComboBox* cbQ;
    QComboBox* cbS;
    QLineEdit* txtIIT;
    QLineEdit* txtVLTIT;
    QComboBox* cbResetVal;
    QPushButton* CmdReset;

protected:
    // Upload and Download lock the controls (and the card list) until their request has run.
    void requestAccepted() override { SetControlsEnabled(false); }
    // The screen's own order around the rows of the settings table (see frmGBHTransfers.cpp).
    void UploadSettings() override;
    void DownloadSettings() override;
    // The reset, served by the tick like the other requests.
    void clearCount() override;
    void tickEnded() override;

private:
    // The card-wide settings, the rows of settings_ in the order a download
    // writes them. A system is a row's channel: #1 in group "03", #2 in "04".
    enum Wide {
        Wiring, VtPri, VtSec, CtPri, ClampSensor, VCut, ICut, InpSignal, PfSign, QSign, SCalc, DemandI, DemandP, kWide
    };
    // The settings each system has of its own, in the order an upload reads them.
    static constexpr std::initializer_list<Wide> kSecondSystem = {ClampSensor, CtPri, VCut, ICut, InpSignal};

    void buildRows();
    void buildSettings();
    // A list the record keeps as its entry's index, as the card does.
    Control indexList(std::array<QComboBox*, 2> lists);
    // A VT rating box: shows the decimal form of the number the card sent.
    Control vtBox(QLineEdit* box);
    void InitControls(const std::string& typeCode);
    void showRows();
    void showRow(int r);
    void SetCTRatingEnabled(int index);
    void cbWdra_Click(int index);
    // Locks or unlocks; `focusUpload` as after a transfer (not on entry).
    void applyEnabled(bool enable, bool focusUpload);
    void emptySettings();
    // A card-wide setting the two systems share: one control and one state for both.
    static bool shared(int w);
    // The control of a card-wide setting for a system.
    QWidget* settingControl(int w, int system) const;
    // The record whose settings the screen shows (a further slot shows those of
    // its main slot); nullptr when there is none.
    const CardRecord* shownRecord() const;
    // Draws every card-wide setting by what it holds for the slot shown.
    void drawSettingStates();
    // The user's own changes give a setting a value (and a sensor picked, the
    // CT primary it puts in none).
    void watchUserEdits();
    // A setting both systems share takes for #2 the state it has for #1.
    void shareStates();
    // The state of binding entry i (0 to 15) of the slot shown.
    Held bindingHeld(int i) const;
    void setBindingHeld(int i, Held h);
    void showSecondSystem(bool two);

    // A list entry by index (-1 nothing); the sensor lists run their click
    // handling even when the index stays.
    void selectIndex(QComboBox* list, int index);
    // The settings of system #1 or #2, in this order; false when the transfer failed.
    bool uploadSystem(Transfer& t, std::initializer_list<Wide> rows, int system);
    // A one-system card's record holds "-1" for the settings of system #2.
    void noSecondSystem(CardRecord& rec) const;
    bool uploadAll();
    bool downloadAll();
    void ResetValues();

    // The live read of one word of channel c into `word`; false when unanswered.
    bool readWord(int c, std::string& word);
    void setCell(QLabel* cell, const std::string& text);

    GbhBindingRows rows_;
    QStringListModel itemNames_;
    int BindingBusy = 0;
    char sensorFamily_ = '\0';
    int slot_ = 0;
    bool hasOwner_ = true;
    int ownerSlot_ = 0;  // the slot whose record holds the settings shown (0: none)
    // The program, not the user, chooses a sensor: its rating in the CT box stays as the state says.
    int quietSensor_ = 0;
};

}  // namespace talvo::screens
