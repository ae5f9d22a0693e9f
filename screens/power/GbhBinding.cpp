#include "screens/power/GbhBinding.h"

#include <climits>
#include <cmath>
#include <vector>

#include "core/Protocol.h"
#include "core/TextHelpers.h"
#include "screens/power/GbhItemTable.h"

namespace talvo::screens {

namespace {

// A field's whole-number value: its leading number rounded to the nearest
// whole number (0 when it begins with none), held within int so that an
// oversized field names no item, word count, system or scale.
int FieldValue(const std::string& field) {
    const double v = std::nearbyint(LeadingNumber(field));
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(v);
}

std::vector<std::string> SplitFields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(';', start);
        fields.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

}  // namespace

GbhBindingRows::GbhBindingRows(int systemCount) {
    BindInfo.fill(kUnbound);
    setSystemCount(systemCount);
}

void GbhBindingRows::setSystemCount(int systemCount) {
    systemCount_ = systemCount == 2 ? 2 : 1;
    for (GbhChannelRow& r : rows_)
        if (r.systemIndex >= systemCount_) r.systemIndex = -1;
}

const GbhChannelRow& GbhBindingRows::row(int r) const {
    return rows_[static_cast<std::size_t>(validRow(r) ? r : 0)];
}

void GbhBindingRows::setControlsVisible(int r, bool visible) {
    GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
    row.controlsVisible = visible;
    if (!visible) row.value.clear();
}

void GbhBindingRows::clearRow(int r) {
    GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
    row.item = -1;
    row.wordIndex = 0;
    row.wordLocked = false;
    row.scaleIndex = 0;
    row.systemIndex = 0;
    row.unit.clear();
    setControlsVisible(r, false);
}

void GbhBindingRows::hideRowEntirely(int r) {
    clearRow(r);
    rows_[static_cast<std::size_t>(r)].itemVisible = false;
}

void GbhBindingRows::setChSetting(int r, const std::string& setting) {
    if (!validRow(r)) return;
    GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
    row.itemVisible = true;

    const std::vector<std::string> fields = SplitFields(setting);
    if (fields.size() != 4) return clearRow(r);
    int words = FieldValue(fields[1]);
    if (words != 1 && words != 2) return clearRow(r);

    const GbhItemTable& table = GbhItemTable::instance();
    const int item = table.findByItemRegister(FieldValue(fields[0]));
    if (item > 0) {
        row.item = item;
        row.unit = table.ItemUnit(item);
        setControlsVisible(r, true);
    } else {
        row.item = -1;
        row.unit.clear();
        words = 1;
        setControlsVisible(r, false);
    }

    row.wordIndex = words - 1;
    row.wordLocked = row.bound() && table.ItemWords(row.item) == 1;
    if (row.wordLocked) row.wordIndex = 0;

    const int scale = FieldValue(fields[3]);
    row.scaleIndex = scale >= 0 && scale <= 3 ? scale : 0;

    const int system = FieldValue(fields[2]);
    row.systemIndex = system >= 1 && system <= systemCount_ ? system - 1 : -1;
}

void GbhBindingRows::setBinding() {
    int r = 0;
    for (const std::string& entry : BindInfo) {
        if (r >= kRows) break;
        setChSetting(r, entry);
        GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
        if (row.twoWords()) {
            if (r < kRows - 1) {
                // The second word of the binding: only its data word stays.
                hideRowEntirely(r + 1);
                r += 2;
                continue;
            }
            row.wordIndex = 0;  // the last row has no row below for a second word
        }
        if (!row.bound()) {
            ++r;  // the first free row keeps its empty item list
            break;
        }
        ++r;
    }
    for (; r < kRows; ++r) hideRowEntirely(r);
}

void GbhBindingRows::setBindInfo() {
    const GbhItemTable& table = GbhItemTable::instance();
    std::size_t k = 0;
    for (int r = 0; r < kRows; ++r) {
        const GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
        if (row.wordIndex < 0) continue;
        if (!row.bound()) break;
        BindInfo[k++] = std::to_string(table.ItemRegister(row.item)) + ";" + std::to_string(row.wordIndex + 1) +
                        ";" + std::to_string(row.systemIndex + 1) + ";" + std::to_string(row.scaleIndex);
        if (row.twoWords()) ++r;
    }
    for (; k < BindInfo.size(); ++k) BindInfo[k] = kUnbound;
}

void GbhBindingRows::rebuild() {
    setBindInfo();
    setBinding();
}

void GbhBindingRows::cbItem_Click(int r, int index) {
    if (!validRow(r)) return;
    GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
    if (index >= 1 && index < GbhItemTable::kCount) {
        row.item = index;
        row.unit = GbhItemTable::instance().ItemUnit(index);
        setControlsVisible(r, true);
    } else {
        row.item = -1;
        setControlsVisible(r, false);
    }
    rebuild();
}

void GbhBindingRows::cbWordNum_Click(int r, int index) {
    if (!validRow(r) || (index != 0 && index != 1)) return;
    GbhChannelRow& row = rows_[static_cast<std::size_t>(r)];
    if (row.wordLocked || index == row.wordIndex) return;
    for (int below = r + 1; below < kRows; ++below) {
        rows_[static_cast<std::size_t>(below)].item = -1;
        setControlsVisible(below, false);
    }
    row.wordIndex = index;
    if (row.bound()) {
        const int itemWords = GbhItemTable::instance().ItemWords(row.item);
        if (row.wordIndex + 1 > itemWords) row.wordIndex = itemWords - 1;
    }
    rebuild();
}

void GbhBindingRows::selectSystem(int r, int index) {
    if (!validRow(r)) return;
    rows_[static_cast<std::size_t>(r)].systemIndex = index >= 0 && index < systemCount_ ? index : -1;
}

void GbhBindingRows::selectScale(int r, int index) {
    if (!validRow(r)) return;
    rows_[static_cast<std::size_t>(r)].scaleIndex = index >= 0 && index <= 3 ? index : -1;
}

void GbhBindingRows::setValue(int r, const std::string& text) {
    if (validRow(r)) rows_[static_cast<std::size_t>(r)].value = text;
}

std::string UploadedBindingText(const std::string& reply, const std::string& previous) {
    if (reply.empty() || IsRefusal(reply)) return previous;
    return TextAfterColon(reply);
}

}  // namespace talvo::screens
