#pragma once
#include <array>
#include <string>

namespace talvo {

// A fixed list of texts indexed from 1, as the screens and the settings file
// number them. An index outside 1..N reads "" and writes nowhere, so a bad index
// can never touch another field or another record.
template <int N>
class TextList {
public:
    static constexpr int size = N;

    const std::string& operator[](int i) const {
        if (!valid(i)) return empty();
        return items_[static_cast<std::size_t>(i - 1)];
    }
    void set(int i, const std::string& v) {
        if (valid(i)) items_[static_cast<std::size_t>(i - 1)] = v;
    }
    static bool valid(int i) { return i >= 1 && i <= N; }
    void clear() {
        for (auto& s : items_) s.clear();
    }
    bool operator==(const TextList& o) const { return items_ == o.items_; }

private:
    static const std::string& empty() {
        static const std::string e;
        return e;
    }
    std::array<std::string, N> items_{};
};

// What the program knows of one slot. Every field is text exactly as read from
// the station, typed by the user or read from a settings file.
struct CardRecord {
    std::string CardType;  // model code ("NONE" for an empty slot, "" not uploaded)
    std::string Version;   // firmware version text
    std::string FileType;  // card type read from a settings file
    TextList<64> Param;    // the card's settings; each screen fixes the layout
    TextList<16> ChOption; // per channel: the Unused flag ("1"/"0") or a scale choice

    bool operator==(const CardRecord& o) const {
        return CardType == o.CardType && Version == o.Version && FileType == o.FileType &&
               Param == o.Param && ChOption == o.ChOption;
    }
};

// Records 1..16 for the slots (index = card No.) and 17 for the communication card.
class CardRecordTable {
public:
    static constexpr int kCount = 17;
    static constexpr int kCommCard = 17;

    static bool valid(int n) { return n >= 1 && n <= kCount; }
    // nullptr outside 1..17: callers must not guess a record for a bad index.
    CardRecord* get(int n) { return valid(n) ? &records_[static_cast<std::size_t>(n - 1)] : nullptr; }
    const CardRecord* get(int n) const {
        return valid(n) ? &records_[static_cast<std::size_t>(n - 1)] : nullptr;
    }

private:
    std::array<CardRecord, kCount> records_{};
};

}  // namespace talvo
