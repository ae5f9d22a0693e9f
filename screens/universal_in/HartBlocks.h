#pragma once
// The HART blocks of the HART input card and how they travel. Each HART channel
// (the card's group "1" to "4") holds five long hexadecimal texts; an item
// carries one short value, so a block moves in chunks, each a small command in
// the data of an item write: "W" + address + length + characters writes a
// chunk, "R" + address + length reads one (the reply echoes the command, then
// the characters). Addresses and lengths are upper-case hexadecimal.
// No widget here: the block routines run over the serial exchange alone.
#include <array>
#include <string>
#include <vector>

namespace talvo::screens::hart {

struct Block {
    const char* item;  // the station item, "37" to "41"
    int chunkLength;   // characters a chunk carries
    int chunks;
    int addressWidth;  // hexadecimal digits of a chunk's address
    int size() const { return chunkLength * chunks; }
};

// In the dialog's order.
enum class BlockId { DeviceVariableCodes, AnalogChannelCodes, AutoCommand, DeviceSpecificCommand, ConstantData };
inline constexpr std::array<Block, 5> kBlocks{{
    {.item = "37", .chunkLength = 16, .chunks = 2, .addressWidth = 2},   // 32 characters
    {.item = "38", .chunkLength = 8, .chunks = 1, .addressWidth = 2},    // 8
    {.item = "39", .chunkLength = 8, .chunks = 23, .addressWidth = 2},   // 184
    {.item = "40", .chunkLength = 16, .chunks = 32, .addressWidth = 3},  // 512
    {.item = "41", .chunkLength = 16, .chunks = 16, .addressWidth = 2},  // 256
}};
inline const Block& blockOf(BlockId id) { return kBlocks[static_cast<std::size_t>(id)]; }

// A chunk's address: the offset in upper-case hexadecimal, "0"-padded on the
// left to the width, keeping the last `width` digits ("00", "B0", "1F0").
std::string ChunkAddress(int offset, int width);
// A chunk's length: two upper-case hexadecimal digits ("08", "10").
std::string ChunkLength(int length);

// The data frames of a block write, one per chunk the text fills: an empty text
// gives none, and a text longer than the block only its first block-size
// characters.
std::vector<std::string> WriteChunks(const Block& block, const std::string& text);
// The data frame that asks for chunk i.
std::string ReadRequest(const Block& block, int chunk);

// One item write of the dialog's own: group, item and data frame. The data
// reply "", "CNU", "DTMOUT" or one ending in "NG" fails it (""); any other data
// reply is the result without its first character. Group and item replies as
// WriteItem.
std::string HartWriteItemOnce(const std::string& group, const std::string& item, const std::string& data);
// Up to retries + 1 attempts; the first non-empty result, or "".
std::string HartWriteItem(int retries, const std::string& group, const std::string& item, const std::string& data);

// Writes a block in the group chunk by chunk (3 retries each). False at the
// first chunk the card does not take; the chunks after it are not sent.
bool WriteHartBlock(const Block& block, const std::string& group, const std::string& text);

// How a block read ended.
enum class BlockOutcome {
    Read,        // `text` holds the block
    Refused,     // the card refused a chunk ("CNG", or a data reply ending in "NG")
    Needless,    // the card does not use the item ("CNU" to the item frame)
    Damaged,     // a chunk that cannot be the block's: more characters than a chunk
                 // holds, or characters after a shorter chunk (joined, they would
                 // stand at other addresses than the card's)
    Unanswered,  // a chunk the card did not answer
};
struct BlockRead {
    BlockOutcome outcome = BlockOutcome::Unanswered;
    std::string text;
};

// Reads a block chunk by chunk (3 retries each; a refusal is the card's answer
// and is not asked again). Each reply loses the echo of its request; a reply
// without the echo is the chunk's characters as it stands. A block that is
// not read whole has no text, and no chunk after the one that ended it is
// asked for.
BlockRead ReadHartBlock(const Block& block, const std::string& group);

}  // namespace talvo::screens::hart
