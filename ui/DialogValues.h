#pragma once
// What a dialog's setting holds: a value (read from the card, loaded from the
// record or a file, typed by the user) or none (ui/ValueStates.h keeps it). A
// read the card refused (or an item it does not use) is no value: the control
// keeps what it showed, drawn so it visibly was not read (grey text, a partly
// checked box), and Download leaves the item as it is on the card until the
// user sets it or a later read succeeds. At the end of a Download the user is
// told which settings were left so. A refusal's text is never shown nor stored
// as a value.
#include <QString>
#include <string>
#include <utility>
#include <vector>

#include "ui/DialogBoxes.h"
#include "ui/ValueStates.h"

class QCheckBox;
class QLineEdit;

namespace talvo::ui {

// Draws a control as holding a value, or as holding none: grey text in a box, a
// list or beside an option; a check box partly checked; pointing at it tells
// why. A null control is skipped. Drawing the state it is drawn in already
// costs nothing.
void DrawHeld(QWidget* control, Held held);

// A dialog's control bound to the setting it shows: its state is the one
// ValueStates keeps under `key`, only the user's own edits (and the reads,
// records and files the dialog hands it) give it a value, and it is drawn by
// that state now. The text the program puts in it never makes a value.
void BindSetting(QWidget* control, const ValueKey& key);
// The four boxes of an address are one setting.
void BindSetting(const DottedAddress& address, const ValueKey& key);
// The same for a dialog that keeps nothing from an earlier opening: the
// setting holds no value until a read, a file or the user gives it one.
void BindSettingUnread(QWidget* control, const ValueKey& key);
void BindSettingUnread(const DottedAddress& address, const ValueKey& key);
// Draws a bound control by the state kept for it (after the dialog filled it).
void DrawBound(QWidget* control);
// Whether a control is drawn as holding no value.
bool DrawnUnread(const QWidget* control);

// The text a reply shows in a box that only displays it: the text after its
// colon; nothing for a refusal or no answer.
std::string ShownText(const std::string& reply);
// The same with a prefix ("V" before a version); nothing for a refusal or no answer.
std::string ShownText(const std::string& prefix, const std::string& reply);

// Marks a control as holding no value. A box keeps its text, drawn grey; a
// check box shows partly checked. A bound control keeps the state until a
// read, a file or the user gives it a value. (A control not bound to a
// setting holds none: these only draw it.)
void MarkNoValue(QWidget* control, Held why = Held::NotRead);
// The four boxes of an address are one setting: all four lose their value, and
// a change in any of them gives all four their value again.
void MarkNoValue(const DottedAddress& address, Held why = Held::NotRead);
// Marks a control as holding a value (undoes MarkNoValue).
void MarkValue(QWidget* control);
void MarkValue(const DottedAddress& address);

// Whether a bound control's setting holds a value (false for a control not bound).
bool HasValue(const QWidget* control);
bool HasValue(const DottedAddress& address);
// Whether a Download has something to send for a bound box: a value, and not
// an empty text.
bool HasValueToSend(const QLineEdit* box);

// Shows a read in a box: a value's text after its colon, or, for a refusal or
// no answer, the box keeps its text as no value. True when it was a value.
bool ShowRead(QLineEdit* box, const std::string& reply);
// Shows a record field in a box: an empty field is no value; for a bound box,
// a field with a text holds a value unless a read since said otherwise.
void ShowRecorded(QLineEdit* box, const std::string& field);

// The settings a Download did not write because they hold no value, named as
// the screen or dialog captions them; members of one setting ("In Slot" of
// slots 1 and 3) are told together. An item the card does not use is not
// named: there is nothing on the card to leave.
class LeftAsTheyAre {
public:
    void add(const std::string& setting, const std::string& member = "");
    // The same, for a setting that holds `why` (Needless: not named).
    void add(Held why, const std::string& setting, const std::string& member = "");
    bool empty() const { return settings_.empty(); }
    // "Time (0.1sec); In Slot 1, 3"
    std::string list() const;
    // The message at the end of a Download that went through, when it left any.
    void tell() const;

private:
    std::vector<std::pair<std::string, std::vector<std::string>>> settings_;
};

// The message LeftAsTheyAre tells.
inline constexpr const char* kLeftAsTheyAreText = "Not written, left as they are on the card (no value to write): ";
inline constexpr const char* kLeftAsTheyAreTitle = "Downloading";

}  // namespace talvo::ui
