#pragma once
// The station protocol over the serial line: group, item and data frames ending
// in CR, one exchange at a time, replies ending in CR within 3000 ms, and the
// retry wrappers every screen reads and writes the station through.
#include <string>

namespace talvo {

inline constexpr int kReplyTimeoutMs = 3000;

// Reads one item; at most retries + 1 attempts. A value, "CNG", "NEEDLESS" or "" (failed).
std::string ReadItem(int retries, const std::string& group, const std::string& item);
// Writes one item; the data reply's value or "" (failed). Rejections fail the attempt.
std::string WriteItem(int retries, const std::string& group, const std::string& item, const std::string& data);
// A write that passes rejections back: "CNG", "NEEDLESS", the value or "".
std::string WriteItemChecked(int retries, const std::string& group, const std::string& item,
                             const std::string& data);

std::string ReadItemOnce(const std::string& group, const std::string& item);
std::string WriteItemOnce(const std::string& group, const std::string& item, const std::string& data);
std::string WriteItemCheckedOnce(const std::string& group, const std::string& item, const std::string& data);

// One exchange: the reply without its CR, blanks trimmed; "" on time-out or port error.
std::string TransactTrim(const std::string& frame);
// The exchange itself; builds the reply in its second argument and returns it.
std::string Transact(const std::string& frame, std::string& reply);

// True while an exchange waits for its reply. A second exchange asked for meanwhile
// (from a handler run by the wait) is refused: it sends nothing and gives "".
bool ExchangeWaiting();

// "Communication error. ..." titled "Test of communication".
void ShowCommError();

// The reply time-out. Off disarms it, which also ends a waiting exchange.
void IntervalTimerOn(int intervalMs);
void IntervalTimerOff();
bool IntervalTimerCheck();
bool IntervalTimerEnabled();

}  // namespace talvo
