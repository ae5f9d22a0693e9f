#pragma once
// The zero-offset dialog of the "HG8A" cards: per channel the card measures and
// stores the offset of its reading at 0 degrees Celsius; Clear sets all eight
// offsets to "0.00". It talks to the card at once from its buttons, on the
// settings dialog toolkit: the buttons are held while the card is talked to,
// and a close asked for meanwhile takes effect once it is over. A read or write
// the card refuses or leaves unanswered is told ("Uploading incomplete",
// "Downloading incomplete"); the link stays up and the boxes keep what they
// showed. An offset the card refuses to read at the opening is no failure: its
// box shows no value, drawn as not read. There is no Download of settings: the
// buttons are commands the card carries out, and their answers are shown.
#include <QLineEdit>
#include <QPushButton>
#include <string>
#include <vector>

#include "ui/SettingsDialog.h"

namespace talvo::screens {

class frmHG8Azero : public ui::SettingsDialog {
    Q_OBJECT
public:
    // `slot` is the card every button addresses.
    frmHG8Azero(int slot, QWidget* parent = nullptr);

    // Selects the card, opens the offset group and reads the eight offsets.
    void Upload_First_File();
    // The buttons' clicks: each runs when the line is free, and none while
    // another runs (the buttons are disabled meanwhile).
    void ch_Click(int index);
    void Clear_Click();
    // Exit, like Esc or the frame: asked for while the card is talked to, it
    // takes effect once that is over (the wait cursor says so).
    void cmdExit_Click();

    bool exchanging() const { return busy(); }

    std::vector<QPushButton*> ch;      // "Ch.1" .. "Ch.8" at 0..7
    std::vector<QLineEdit*> ch_Text;   // the offsets the card reports
    QPushButton* Clear;
    QPushButton* cmdExit;

private:
    void measure(int index);
    void clearOffsets();
    // Shows the card's answer for offset `index`: the value, or for a refusal
    // the text the box had, drawn as not read.
    void showOffset(int index, const std::string& reply);
    // Selects the card and opens its offset group.
    void selectOffsets(ui::Exchanges& x) const;

    int slot_;
};

}  // namespace talvo::screens
