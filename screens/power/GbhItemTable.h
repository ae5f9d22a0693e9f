#pragma once
// The power monitor's measurement items: every channel of the card can carry
// one of these 472 quantities. The table is plain data, shared by the 16 item
// lists of the screen, the channel binding and the live read.
#include <string>
#include <vector>

namespace talvo::screens {

struct GbhItem {
    std::string name;  // as the item lists show it; item 0 is one blank
    int reg = 0;       // the card's register number, 0 to 2142
    std::string unit;  // shown beside the value, kept as it is ("" and " " included)
    int words = 2;     // 2: a 32-bit value over two channels; 1: one word
};

class GbhItemTable {
public:
    static constexpr int kCount = 472;
    // Binding texts carry an item's register with this added.
    static constexpr int kRegisterBase = 40000;

    // Built on first use and never changed afterwards.
    static const GbhItemTable& instance();

    static bool valid(int k) { return k >= 0 && k < kCount; }
    // Item k, 0 to 471; any other k gives the blank item 0.
    const GbhItem& item(int k) const;

    // Register + 40000; 0 outside the table, a value that names no item.
    int ItemRegister(int k) const;
    // The unit text; "" outside the table.
    const std::string& ItemUnit(int k) const;
    // 1 or 2; 0 outside the table.
    int ItemWords(int k) const;
    // The item's definition text, "name,register,unit,words".
    std::string ItemTable(int k) const;

    // The 472 names in item order: the one list all 16 item lists show, so
    // that list entry k is item k in every row.
    const std::vector<std::string>& names() const { return names_; }

    // The item among 1 to 471 whose ItemRegister equals itemRegister; -1
    // when none has exactly that value (item 0 never matches).
    int findByItemRegister(long long itemRegister) const;

private:
    GbhItemTable();
    std::vector<GbhItem> items_;
    std::vector<std::string> names_;
};

}  // namespace talvo::screens
