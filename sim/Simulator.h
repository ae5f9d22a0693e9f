#pragma once
// The K6 station simulator: a real peer on a pseudo-terminal that answers the
// station protocol ("G"/"I"/"D" frames ending in CR) from a station description,
// with fault injection and a record of every frame received. Plain C++ and POSIX.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace k6sim {

// One card: its model code and its items, group -> item -> value text.
// Item texts are kept as the station reads them: plain decimal without leading
// zeros is how the program sends them, but "01" and "1" name the same item.
struct Card {
    std::string code;       // model code the communication card reports for the slot ("BW4"); "" = empty slot
    std::string modelText;  // group "00" item "04"; for an I/O card without its "04:" tag
    std::string version;    // group "00" item "40"
    std::map<std::string, std::map<int, std::string>> groups;  // "01" -> {1: "1", ...}
};

// Qt's keyword macro "slots" would swallow the member's name where a Qt header
// came first; there, use slot(n).
#pragma push_macro("slots")
#undef slots
struct Station {
    Card comm;                  // the communication card (slot 0)
    Card slots[16];             // slots 1..16 at index 0..15

    Card& slot(int n) { return slots[n - 1]; }  // n = 1..16
    const Card& slot(int n) const { return slots[n - 1]; }
};
#pragma pop_macro("slots")

bool operator==(const Card& a, const Card& b);
bool operator==(const Station& a, const Station& b);
inline bool operator!=(const Card& a, const Card& b) { return !(a == b); }
inline bool operator!=(const Station& a, const Station& b) { return !(a == b); }

// Reads a station description (format documented in sim/README.md).
// Returns false and sets error on a malformed description.
bool parseStation(const std::string& text, Station& out, std::string& error);
bool loadStation(const std::string& path, Station& out, std::string& error);
// The station that ships with the repository: one card of every built family.
Station defaultStation();

// What the simulator does instead of (or besides) its normal answer.
enum class FaultAction {
    Silence,     // no reply at all
    Reply,       // reply `text` + CR in place of the normal reply ("CNG", "CNU", "DTMOUT",
                 // "D    invalid data", "D" (one character), "" (a bare CR), garbage...)
    Delay,       // normal reply after delayMs
    Split,       // normal reply in chunks of chunkSize bytes, gapMs apart
    ExtraLate,   // normal reply, then after delayMs a second reply `text` + CR
    DropLine,    // close the line (the terminal hangs up); the simulator stops serving
};

struct Fault {
    // Which frames it applies to: the frame text without CR ("G00", "I40", "DF");
    // "" matches every frame.
    // With card >= 0 only while that card is selected (0 = communication card).
    // With group non-empty, only while that group is the current one ("01" and "1" alike).
    // Both are judged as the frame arrives, before it takes effect.
    std::string frame;
    int card = -1;
    std::string group;
    int skip = 0;    // let this many matching frames pass first
    int count = -1;  // apply to this many matching frames; -1 = always

    FaultAction action = FaultAction::Silence;
    std::string text;
    int delayMs = 0;
    int chunkSize = 1;
    int gapMs = 0;
};

struct FrameRecord {
    std::string frame;  // without the CR
    std::chrono::steady_clock::time_point at;
};

class Simulator {
public:
    explicit Simulator(Station station = defaultStation());
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens a pseudo-terminal (or the given device) and starts answering on a thread.
    // False when it cannot, or when it is already running (stop() first).
    bool start(const std::string& device = "");
    void stop();
    // Path of the terminal end the program opens.
    std::string devicePath() const;

    // Pace every byte at 9600 bit/s 8N1 (about 1.04 ms a byte), received and sent.
    void setPaced(bool on);

    void addFault(const Fault& f);
    void clearFaults();

    // Every frame received so far, in order, without its CR.
    std::vector<FrameRecord> records() const;
    std::vector<std::string> frames() const;
    void clearFrames();
    // The records so far, cleared in the same step (for a long-running process).
    std::vector<FrameRecord> takeRecords();

    // Sends raw bytes to the program now (an unsolicited or late reply).
    void inject(const std::string& bytes);
    // Bytes written to the line so far: replies, late replies and injected bytes.
    // A byte is counted by the time the program can read it.
    std::size_t bytesSent() const;

    // Access to the station's state; the simulator thread takes the same lock.
    // value() gives "" for an item the card does not use; setValue() ignores
    // empty slots and the items the station works out itself (sim/README.md).
    Station station() const;
    void setStation(const Station& s);
    std::string value(int card, const std::string& group, int item) const;
    void setValue(int card, const std::string& group, int item, const std::string& value);
    int selectedCard() const;

    // Runs the protocol on one frame (without CR) and gives the reply without CR;
    // used by the thread, and by tests of the station logic itself.
    std::string answer(const std::string& frame);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace k6sim
