#include "screens/universal_in/HartBlocks.h"

#include "core/Protocol.h"
#include "core/TextHelpers.h"

namespace talvo::screens::hart {

namespace {

constexpr int kChunkRetries = 3;

bool endsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

std::string ChunkAddress(int offset, int width) {
    std::string hex = UpperHexText(static_cast<unsigned>(offset));
    const auto w = static_cast<std::size_t>(width);
    if (hex.size() < w) hex.insert(0, w - hex.size(), '0');
    return hex.substr(hex.size() - w);
}

std::string ChunkLength(int length) { return ChunkAddress(length, 2); }

std::vector<std::string> WriteChunks(const Block& block, const std::string& text) {
    std::vector<std::string> frames;
    const auto length = static_cast<std::size_t>(block.chunkLength);
    for (int i = 0; i < block.chunks; ++i) {
        const std::size_t at = length * static_cast<std::size_t>(i);
        if (at >= text.size()) break;
        const std::string piece = text.substr(at, length);
        frames.push_back("W" + ChunkAddress(static_cast<int>(at), block.addressWidth) +
                         ChunkLength(static_cast<int>(piece.size())) + piece);
    }
    return frames;
}

std::string ReadRequest(const Block& block, int chunk) {
    return "R" + ChunkAddress(block.chunkLength * chunk, block.addressWidth) + ChunkLength(block.chunkLength);
}

std::string HartWriteItemOnce(const std::string& group, const std::string& item, const std::string& data) {
    // The write's attempt, whose rejections ("CNU", "DTMOUT" would otherwise be
    // stored in the block as their characters) fail it; so does any other
    // refusal the card words ending in "NG".
    const WriteAttempt a = WriteItemAttempt(group, item, data);
    if (a.outcome != WriteOutcome::Taken || endsWith(a.value, "NG")) return {};
    return a.value;
}

std::string HartWriteItem(int retries, const std::string& group, const std::string& item, const std::string& data) {
    return Retried(retries, [&] { return HartWriteItemOnce(group, item, data); });
}

bool WriteHartBlock(const Block& block, const std::string& group, const std::string& text) {
    for (const std::string& data : WriteChunks(block, text))
        if (HartWriteItem(kChunkRetries, group, block.item, data).empty()) return false;
    return true;
}

BlockRead ReadHartBlock(const Block& block, const std::string& group) {
    std::string text;
    bool shortChunkSeen = false;
    const auto length = static_cast<std::size_t>(block.chunkLength);
    for (int i = 0; i < block.chunks; ++i) {
        const std::string request = ReadRequest(block, i);
        // The read passes the card's refusals back ("CNG", "NEEDLESS"), and a
        // data reply it words ending in "NG" as it comes.
        std::string reply = Retried(kChunkRetries, [&] { return WriteItemCheckedOnce(group, block.item, request); });
        if (reply.empty()) return {};
        if (reply == "NEEDLESS") return {BlockOutcome::Needless, {}};
        if (reply == "CNG" || endsWith(reply, "NG")) return {BlockOutcome::Refused, {}};
        if (reply.rfind(request, 0) == 0) reply.erase(0, request.size());
        if (reply.size() > length || (shortChunkSeen && !reply.empty())) return {BlockOutcome::Damaged, {}};
        shortChunkSeen = reply.size() < length;
        text += reply;
    }
    return {BlockOutcome::Read, text};
}

}  // namespace talvo::screens::hart
