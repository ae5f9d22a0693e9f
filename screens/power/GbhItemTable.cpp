#include "screens/power/GbhItemTable.h"

#include <algorithm>
#include <array>

namespace talvo::screens {

namespace {

// The unit of a quantity follows its symbol; "PF" is checked before "P".
// Direction items carry no unit.
std::string QuantityUnit(const std::string& name) {
    if (name.compare(0, 3, "DIR") == 0) return "";
    if (name.compare(0, 2, "PF") == 0) return "%/100";
    switch (name.empty() ? '\0' : name[0]) {
    case 'I': return "mA";
    case 'U': return "V/100";
    case 'P': return "W";
    case 'Q': return "var";
    case 'S': return "VA";
    case 'F': return "Hz/100";
    default: return "";
    }
}

// The per-phase quantities, in the order the card numbers them.
constexpr std::array<const char*, 25> kPhaseNames = {
    "I1",  "I2",  "I3",  "IN",  "U12", "U23", "U31", "U1N", "U2N", "U3N", "P1",   "P2",   "P3",
    "Q1",  "Q2",  "Q3",  "S1",  "S2",  "S3",  "PF1", "PF2", "PF3", "DIR1", "DIR2", "DIR3"};
// The first 22 of them (without the directions) have maxima and minima.
constexpr std::size_t kPhaseNamesWithExtremes = 22;
// The quantities with harmonic content.
constexpr std::array<const char*, 10> kHarmonicNames = {"I1",  "I2",  "I3",  "IN",  "U12",
                                                        "U23", "U31", "U1N", "U2N", "U3N"};
constexpr std::array<const char*, 7> kTotalNames = {"I", "U", "P", "Q", "S", "PF", "F"};

class Builder {
public:
    explicit Builder(std::vector<GbhItem>& items) : items_(items) {}

    void add(std::string name, int reg, std::string unit, int words = 2) {
        items_.push_back({std::move(name), reg, std::move(unit), words});
    }
    // A block of two-word items two registers apart, each unit by its quantity.
    template <typename Names>
    void byQuantity(const Names& names, int first, const std::string& suffix = "") {
        int reg = first;
        for (const std::string name : names) {
            add(name + suffix, reg, QuantityUnit(name));
            reg += 2;
        }
    }

private:
    std::vector<GbhItem>& items_;
};

void BuildItems(std::vector<GbhItem>& items) {
    Builder b(items);
    b.add(" ", 0, " ");

    b.byQuantity(std::array<const char*, 8>{"I", "U", "P", "Q", "S", "PF", "F", "DIR"}, 1);
    b.byQuantity(kPhaseNames, 33);

    const std::array<std::pair<const char*, const char*>, 10> energies = {{
        {"EP", "kWh/10"},
        {"EQ", "kvarh/10"},
        {"ES", "kVAh/10"},
        {"EP-", "kWh/10"},
        {"EQ-", "kvarh/10"},
        {"EQ+LAG", "kvarh/10"},
        {"EQ+LEAD", "kvarh/10"},
        {"EQ-LAG", "kvarh/10"},
        {"EQ-LEAD", "kvarh/10"},
        {"TIMER", "hour/10"},
    }};
    for (std::size_t n = 0; n < energies.size(); ++n)
        b.add(energies[n].first, 129 + 2 * static_cast<int>(n), energies[n].second);

    // Five groups of averages; the first has no number, the others " 1" to " 4".
    for (int g = 0; g < 5; ++g) {
        const std::string suffix = g == 0 ? "" : " " + std::to_string(g);
        b.byQuantity(std::array<const char*, 5>{"I AVG", "I1 AVG", "I2 AVG", "I3 AVG", "IN AVG"},
                     257 + 16 * g, suffix);
    }
    for (int g = 0; g < 5; ++g) {
        const std::string suffix = g == 0 ? "" : " " + std::to_string(g);
        b.byQuantity(std::array<const char*, 3>{"P AVG", "Q AVG", "S AVG"}, 513 + 16 * g, suffix);
    }

    const auto phaseExtremes = [&](int first, const char* suffix) {
        for (std::size_t n = 0; n < kPhaseNamesWithExtremes; ++n)
            b.add(std::string(kPhaseNames[n]) + suffix, first + 2 * static_cast<int>(n),
                  QuantityUnit(kPhaseNames[n]));
    };

    b.byQuantity(kTotalNames, 769, " MAX");
    phaseExtremes(801, " MAX");
    for (std::size_t n = 0; n < kHarmonicNames.size(); ++n)
        b.add(std::string("THD ") + kHarmonicNames[n] + " MAX", 865 + 2 * static_cast<int>(n), "%/10");

    const std::array<std::pair<const char*, const char*>, 10> demandMaxima = {{
        {"I MAX AVG", "mA"},
        {"I1 MAX AVG", "mA"},
        {"I2 MAX AVG", "mA"},
        {"I3 MAX AVG", "mA"},
        {"IN MAX AVG", "mA"},
        {"P MAX AVG+", "W"},
        {"P MAX AVG-", "W"},
        {"Q MAX AVG+", "var"},
        {"Q MAX AVG-", "var"},
        {"S MAX AVG", "VA"},
    }};
    for (std::size_t n = 0; n < demandMaxima.size(); ++n)
        b.add(demandMaxima[n].first, 897 + 2 * static_cast<int>(n), demandMaxima[n].second);

    b.byQuantity(kTotalNames, 929, " MIN");
    phaseExtremes(961, " MIN");
    for (std::size_t n = 0; n < kHarmonicNames.size(); ++n)
        b.add(std::string("THD ") + kHarmonicNames[n], 1281 + 2 * static_cast<int>(n), "%/10");

    // Harmonic orders 2 to 31 of each quantity, one word each, 64 registers per quantity.
    for (std::size_t q = 0; q < kHarmonicNames.size(); ++q)
        for (int h = 2; h <= 31; ++h)
            b.add(std::string("HD ") + kHarmonicNames[q] + " " + std::to_string(h),
                  1537 + 64 * static_cast<int>(q) + h - 2, "%/10", 1);
}

}  // namespace

const GbhItemTable& GbhItemTable::instance() {
    static const GbhItemTable table;
    return table;
}

GbhItemTable::GbhItemTable() {
    items_.reserve(kCount);
    BuildItems(items_);
    // Every list and lookup counts on exactly kCount items; a mismatch is a
    // programming error caught by the tests, and is padded here so that no
    // index can run past the end.
    items_.resize(kCount, GbhItem{" ", 0, " ", 2});
    names_.reserve(items_.size());
    for (const GbhItem& it : items_) names_.push_back(it.name);
}

const GbhItem& GbhItemTable::item(int k) const {
    return items_[static_cast<std::size_t>(valid(k) ? k : 0)];
}

int GbhItemTable::ItemRegister(int k) const { return valid(k) ? item(k).reg + kRegisterBase : 0; }

const std::string& GbhItemTable::ItemUnit(int k) const {
    static const std::string none;
    return valid(k) ? item(k).unit : none;
}

int GbhItemTable::ItemWords(int k) const { return valid(k) ? item(k).words : 0; }

std::string GbhItemTable::ItemTable(int k) const {
    const GbhItem& it = item(k);
    return it.name + "," + std::to_string(it.reg) + "," + it.unit + "," + std::to_string(it.words);
}

int GbhItemTable::findByItemRegister(long long itemRegister) const {
    // Registers rise with the item number, so the first item not below the
    // value is the only candidate.
    const auto first = items_.begin() + 1;
    const auto it = std::lower_bound(first, items_.end(), itemRegister,
                                     [](const GbhItem& a, long long v) { return a.reg + kRegisterBase < v; });
    if (it == items_.end() || it->reg + kRegisterBase != itemRegister) return -1;
    return static_cast<int>(it - items_.begin());
}

}  // namespace talvo::screens
