#pragma once
// The station protocol over the serial line: group, item and data frames ending
// in CR, one exchange at a time, replies ending in CR within 3000 ms, and the
// retry wrappers every screen reads and writes the station through.
#include <functional>
#include <string>

namespace talvo {

inline constexpr int kReplyTimeoutMs = 3000;
// Before a frame goes out after a time-out, or while input nobody asked for is
// waiting, the line must stay this long without a byte (at most kQuietBoundMs
// in all); what arrives meanwhile is dropped.
inline constexpr int kQuietGuardMs = 100;
inline constexpr int kQuietBoundMs = 1000;

// Reads one item; at most retries + 1 attempts. A value, "CNG", "NEEDLESS" or "" (failed).
std::string ReadItem(int retries, const std::string& group, const std::string& item);
// Writes one item; the data reply's value or "" (failed). Rejections fail the attempt.
std::string WriteItem(int retries, const std::string& group, const std::string& item, const std::string& data);
// A write that passes rejections back: "CNG", "NEEDLESS", the value or "".
std::string WriteItemChecked(int retries, const std::string& group, const std::string& item,
                             const std::string& data);

// A read's result that is no value: the card refused the item ("CNG") or does
// not use it ("NEEDLESS"). A value never reads so, and "" is no answer at all.
// Inline, so that code which only tells refusals apart (the file readers the
// fuzz targets build alone) needs no exchange.
inline bool IsRefusal(const std::string& result) { return result == "CNG" || result == "NEEDLESS"; }

// The one card select. A routine names the card it talks to by the hold it
// takes (LineHold), and the line selects that card itself whenever it does not
// know the station has it selected; a routine that selects in the frames the
// station expects of it calls this. The writes go out as `frames` says, each
// with retries + 1 attempts, whether the card is known selected or not:
//   Both         group "00" item "01" := "F", then item "41" := the card No.
//   ItemOnly     item "41" alone (the routine has written "F" before)
//   ItemThenF    item "41", then item "01" := "F"
//   ViaCommCard  "F", item "41" := "00", then item "41" := the card No.
// The card No. is "00" or "0" for the communication card, "1" to "16" a slot.
// It stops at the first write the card does not answer, and then the station's
// selection is unknown and the routine holding the line is stopped: nothing
// more of it is sent. True when every write was answered; the line then knows
// the card selected. A select never changes the card a hold was taken for.
enum class SelectFrames { Both, ItemOnly, ItemThenF, ViaCommCard };
bool SelectCard(const std::string& cardNo, int retries = 3, SelectFrames frames = SelectFrames::Both);
inline bool SelectCard(int slot, int retries = 3, SelectFrames frames = SelectFrames::Both) {
    return SelectCard(std::to_string(slot), retries, frames);
}

// The card the station has selected, as far as the line knows: 0 the
// communication card, 1 to 16 a slot, or kCardUnknown (nothing selected since
// the port was last opened or closed, by anyone, or a write of the select that
// was not answered, whose effect on the station is in doubt).
inline constexpr int kCardUnknown = -1;
int SelectedCard();
// The station may have lost its selection.
void ForgetSelectedCard();

// A trimmed reply that fails a write's item or data frame: "" (no reply), "CNU",
// "CNG" or the station's own time-out "DTMOUT".
bool IsRejection(const std::string& reply);

// The wrappers' loop, for a card's own kind of attempt: up to retries + 1 calls
// of `attempt`; the first result that is not empty once its blanks are trimmed,
// or "" when every attempt failed.
std::string Retried(int retries, const std::function<std::string()>& attempt);

// Single attempts, each from the group frame on. Input waiting when one starts
// (a late or extra reply) is dropped once the line has fallen quiet; it never
// passes for a reply nor blocks the line.
std::string ReadItemOnce(const std::string& group, const std::string& item);
std::string WriteItemOnce(const std::string& group, const std::string& item, const std::string& data);

// How one write attempt went: the card took the data; refused it ("CNG" or
// "CNU" to one of its frames, or a data reply without a value); or did not
// answer (no reply, the station's own time-out "DTMOUT", nothing sent).
enum class WriteOutcome { Taken, Refused, Unanswered };
struct WriteAttempt {
    WriteOutcome outcome = WriteOutcome::Unanswered;
    std::string value;  // the data reply's value when taken
};
// The attempt WriteItemOnce makes, the same frames, with its outcome told;
// WriteItemOnce gives the value of a taken one and "" otherwise.
WriteAttempt WriteItemAttempt(const std::string& group, const std::string& item, const std::string& data);
std::string WriteItemCheckedOnce(const std::string& group, const std::string& item, const std::string& data);

// One exchange: the reply without its CR, blanks trimmed; "" on time-out or port error.
std::string TransactTrim(const std::string& frame);
// The exchange itself; builds the reply in its second argument and returns it.
// Replies are taken line by line: a line that cannot be this frame's reply (a
// late or extra reply to an earlier frame) is dropped and the wait goes on
// within the same 3000 ms. A data frame is answered by its own echo, by a
// refusal, or by another value of the card's (a chunk read's characters with
// or without the echo before them, a card's own "D0"); never by "COK", by the
// exact echo of an earlier data frame of the same turn of the line (a late
// reply to that frame) or by a value tagged with another item than the one
// just named, whatever its first characters. The select's data frame is
// answered only by its echo or a refusal. The wait sleeps on the port, the
// event loop and the deadline together, so it costs no processor while the
// window stays live.
std::string Transact(const std::string& frame, std::string& reply);

// True while an exchange waits for its reply. A second exchange asked for meanwhile
// (from a handler run by the wait) is refused: it sends nothing and gives "".
bool ExchangeWaiting();

// Lets ms milliseconds pass with the window live: events run as they come and
// the processor sleeps in between. With ms <= 0 it runs the pending events once.
void PauseMs(int ms);

// Puts the exchange back in its start state: idle, time-out off, no late reply
// expected on the line. For a fresh start of the program state.
void ResetExchange();

// "Communication error. ..." titled "Test of communication".
void ShowCommError();

// The reply time-out. Off disarms it, which also ends a waiting exchange.
void IntervalTimerOn(int intervalMs);
void IntervalTimerOff();
bool IntervalTimerCheck();
bool IntervalTimerEnabled();

}  // namespace talvo
