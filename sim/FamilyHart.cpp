#include "sim/FamilyHart.h"

#include <cstddef>

namespace k6sim {

namespace {

struct Block {
    int item;
    std::size_t capacity;  // characters
    std::size_t addressWidth;
};
constexpr Block kBlocks[] = {{37, 32, 2}, {38, 8, 2}, {39, 184, 2}, {40, 512, 3}, {41, 256, 2}};

const Block* blockOf(int item) {
    for (const Block& b : kBlocks)
        if (b.item == item) return &b;
    return nullptr;
}

bool isChannelGroup(const std::string& group) { return group == "01" || group == "02" || group == "03" || group == "04"; }

// A hexadecimal number of exactly `text`'s digits; -1 for anything else.
long hexNumber(const std::string& text) {
    if (text.empty()) return -1;
    long n = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return -1;
        n = n * 16 + d;
    }
    return n;
}

std::string chunkCommand(std::string& buffer, const Block& b, const std::string& data) {
    if (data == "C") {
        buffer.clear();
        return "DC";
    }
    const std::size_t head = 1 + b.addressWidth + 2;
    if (data.size() < head || (data[0] != 'W' && data[0] != 'R')) return "CNG";
    const long address = hexNumber(data.substr(1, b.addressWidth));
    const long length = hexNumber(data.substr(1 + b.addressWidth, 2));
    if (address < 0 || length <= 0 || static_cast<std::size_t>(address + length) > b.capacity) return "CNG";
    const auto at = static_cast<std::size_t>(address);
    const auto count = static_cast<std::size_t>(length);
    const std::string chars = data.substr(head);
    if (data[0] == 'R') {
        if (!chars.empty()) return "CNG";
        return "D" + data + (at < buffer.size() ? buffer.substr(at, count) : std::string());
    }
    if (chars.size() != count) return "CNG";
    if (buffer.size() < at + count) buffer.resize(at + count, '0');
    buffer.replace(at, count, chars);
    return "D" + data;
}

}  // namespace

std::optional<std::string> hartDataReply(Card& card, const std::string& group, int item, const std::string& data) {
    if (card.code.rfind("XR4", 0) != 0 || !isChannelGroup(group)) return std::nullopt;
    const Block* b = blockOf(item);
    if (!b) return std::nullopt;
    const auto g = card.groups.find(group);
    if (g == card.groups.end() || !g->second.count(item)) return std::nullopt;
    return chunkCommand(g->second[item], *b, data);
}

}  // namespace k6sim
