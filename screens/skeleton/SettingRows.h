#pragma once
// The rows a card screen describes its settings with: for each setting, its
// boxes (or another control), its group and item on the card, its record field,
// how a download accepts it, and the few rules in which screens differ. The
// skeleton (CardScreen) reads and sends them; a screen only lists them.
#include <QLineEdit>
#include <QWidget>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

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
    // The widget that shows channel ch (a list, a check box, a frame of
    // options): drawn as holding no value when the card refused its read, and
    // given a value again when the user changes it.
    std::function<QWidget*(int ch)> widget{};
};

// One setting of every channel, as a row of the screen's table:
//   {.boxes = txtZScale, .group = "01", .item = {2, 40}, .param = {4, -3}, .accept = Accept::Integer}
// The fields most rows need come first; the rest come in small groups that a row
// names only when it needs them, in this order:
//   .at       where else the card keeps it        {.channelGroups = {"3", "4"}}
//   .flag     the channel's Unused flag           {.unused = true, .restoreAsBit = true}
//   .check    range, count, the screen's own test {.range = {"Zero Scale", &min, &max}}
//   .record   what the transfers keep             {.unsent = Unsent::Kept}
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
    // How a message names the setting ("Zero Scale"); without it the range
    // check's label, else "Unused", else the card's group and item.
    std::string name{};
    // For a row whose boxes are separate settings rather than channels: each
    // box's own caption ({"Delay Time", "Hold Time"}), which then names it
    // alone, with no channel.
    std::vector<std::string> channelNames{};

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
    // The setting of channel ch as a message names it ("Zero Scale Ch.2"): its
    // caption, and the channel of a row of several.
    std::string shownName(int variant, int ch) const;
    std::string caption(int variant, int ch) const;
    std::string channelName(int ch) const;
    // The data frame of a read (DataFrame::Empty or Channel).
    std::string readData(int ch) const;
    // What a write sends for a value.
    std::string sentData(int ch, const std::string& value) const;
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

}  // namespace talvo::screens
