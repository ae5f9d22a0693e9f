#pragma once
// What each setting the program shows holds: a value, or none. A setting
// holds a value only when a read answered it with one, a settings file or the
// record loaded it, or the user edited it. What the program puts in a control
// itself (a default, "0", an emptied box, a text kept from an earlier read
// after a refusal) is no value: it is shown, drawn as not read, and never sent.
//
// This is the one home of that state, for card screens and dialogs alike. It
// belongs to the setting of a slot, never to the text it shows: reads, files
// and the user set it; Connect clears it; File Open replaces it (a record field
// the file filled holds a value, an empty one none); a slot whose card the
// card list finds changed starts afresh.
#include <QObject>
#include <compare>
#include <functional>
#include <map>
#include <string>

class QWidget;

namespace talvo::ui {

// What a setting holds.
enum class Held {
    Value,
    NotRead,   // nothing read, loaded or typed (what it shows the program put there)
    Refused,   // the card refused the read ("CNG")
    Needless,  // the card does not use the item ("NEEDLESS")
};

// Which setting: slot 1 to 16 a card, 17 the communication card; the setting's
// name within what that slot shows (a screen's row, a dialog's item); its
// channel, or 0.
struct ValueKey {
    int slot = 0;
    std::string setting;
    int ch = 0;
    auto operator<=>(const ValueKey&) const = default;
};

class ValueStates {
public:
    // What a read, a file or the user gave the setting; with none given since
    // the last Connect or File Open, a setting whose record field holds a text
    // (`recordText`) holds a value, and one without a field or with an empty
    // field holds none.
    Held of(const ValueKey& k, const std::string& recordText) const;
    Held of(const ValueKey& k) const;
    void set(const ValueKey& k, Held held);
    // A read's reply: a value, a refusal ("CNG"), an item the card does not
    // use ("NEEDLESS"). No answer ("") changes nothing. Returns the state.
    Held read(const ValueKey& k, const std::string& reply);
    // A setting loaded from a file of a dialog's own: a field that gave it a
    // text is a value; an empty field is none, and an item the card does not
    // use stays so (a file does not change the card).
    void loaded(const ValueKey& k, bool given);
    void loaded(const ValueKey& k, const std::string& field) { loaded(k, !field.empty()); }

    // A new link: nothing read before holds for the cards now there.
    void connected() { states_.clear(); }
    // A settings file was opened: the records say what each setting holds.
    void fileOpened() { states_.clear(); }
    // The card in a slot changed: nothing of the one before holds.
    void forgetSlot(int slot);

private:
    std::map<ValueKey, Held> states_;
};

// The program's one instance.
ValueStates& Values();

// Runs `edited` whenever the user (not the program) changes the control: types
// in a box, picks an entry of a list, clicks a check box, or an option of a
// frame of options. The box a list may be typed into counts as the list.
void OnUserEdit(QWidget* control, QObject* context, std::function<void()> edited);

// The state of a read's reply, as ValueStates::read takes it ("" gives Value:
// callers test for no answer first).
Held HeldOfReply(const std::string& reply);

}  // namespace talvo::ui
