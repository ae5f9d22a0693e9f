#pragma once
// The 16 channel rows of the power monitor and their binding texts, without
// widgets: the screen shows a row's state and passes the user's picks in.
//
// A binding text is "register;words;system;scale" in decimal: the item's
// register + 40000, 1 or 2 words, system 1 ("#1") or 2 ("#2"), scale 0 to 3.
// "0;0;0;0" binds nothing. Rows are bound from row 0 down without gaps; a
// two-word binding also takes the row below it, which then shows only its data
// word; the first unbound row shows only its empty item list, and the rows
// below it nothing.
#include <array>
#include <string>

namespace talvo::screens {

struct GbhChannelRow {
    int item = -1;                // item list entry; -1 nothing chosen (the blank entry is never kept)
    bool itemVisible = true;      // the item list
    bool controlsVisible = true;  // word, system and scale lists, unit and value
    int wordIndex = -1;           // 0 "1W", 1 "2W"; -1 before the first layout
    bool wordLocked = false;      // a one-word item keeps "1W"
    int systemIndex = -1;         // 0 "#1", 1 "#2"; -1 nothing chosen
    int scaleIndex = -1;          // 0 to 3
    std::string unit;             // the bound item's unit
    std::string value;            // the live value; emptied whenever the row's controls are hidden

    bool bound() const { return item >= 0; }
    bool twoWords() const { return wordIndex == 1; }
    bool operator==(const GbhChannelRow&) const = default;
};

class GbhBindingRows {
public:
    static constexpr int kRows = 16;
    static constexpr const char* kUnbound = "0;0;0;0";

    // systemCount: 2 on a two-system model, otherwise 1 (only "#1" offered).
    explicit GbhBindingRows(int systemCount = 1);
    void setSystemCount(int systemCount);
    int systemCount() const { return systemCount_; }

    // One binding text per binding, in row order (a two-word binding takes one
    // entry and two rows). The screen fills it from the card record or the card
    // and reads it back for a download.
    std::array<std::string, kRows> BindInfo;

    static bool validRow(int r) { return r >= 0 && r < kRows; }
    // Row r, 0 to 15; any other r gives row 0.
    const GbhChannelRow& row(int r) const;

    // Shows one binding text in one row. A text with other than four fields
    // or a word count other than 1 or 2 clears the row; a register that no
    // item has leaves the row unbound with its controls hidden.
    void setChSetting(int row, const std::string& setting);
    // Lays BindInfo out over the 16 rows; the first entry that binds nothing
    // ends the layout and every later entry is ignored.
    void setBinding();
    // Rebuilds BindInfo from the rows, down to the first row without an item;
    // the remaining entries become "0;0;0;0".
    void setBindInfo();

    // The user picked entry index of row's item list: the blank entry (or an
    // index outside the list) unbinds the row and every row below it; a real
    // item binds it with the row's current word, system and scale choices.
    void cbItem_Click(int row, int index);
    // The user changed row's word count to index (0 "1W", 1 "2W"): every row
    // below loses its binding. A count beyond the item's own is cut to it; a
    // locked row and an index outside the list change nothing.
    void cbWordNum_Click(int row, int index);
    // The user picked a system or a scale; no other row changes, and an index
    // outside the list selects nothing.
    void selectSystem(int row, int index);
    void selectScale(int row, int index);

    // The live read's value cell of a row.
    void setValue(int row, const std::string& text);

private:
    void clearRow(int r);               // unbound, controls hidden, first choices selected
    void hideRowEntirely(int r);        // as clearRow, and the item list hidden too
    void setControlsVisible(int r, bool visible);
    void rebuild();                     // setBindInfo, then setBinding

    std::array<GbhChannelRow, kRows> rows_{};
    int systemCount_ = 1;
};

// The binding text an upload keeps for one entry: the text after the colon
// of the card's reply. A read that failed ("", "CNG", "NEEDLESS") keeps the
// text held before; the card's own text is then unknown, so the screen writes
// none of the slot's bindings until an upload has read them all.
std::string UploadedBindingText(const std::string& reply, const std::string& previous);

}  // namespace talvo::screens
