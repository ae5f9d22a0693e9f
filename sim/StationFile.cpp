// The station description: parsing, loading, and the station that ships.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "sim/DefaultStationText.h"
#include "sim/Families.h"
#include "sim/StationState.h"

namespace k6sim {

bool operator==(const Card& a, const Card& b) {
    return a.code == b.code && a.modelText == b.modelText && a.version == b.version && a.groups == b.groups;
}

bool operator==(const Station& a, const Station& b) {
    if (a.comm != b.comm) return false;
    for (int i = 0; i < 16; ++i)
        if (a.slots[i] != b.slots[i]) return false;
    return true;
}

namespace {

const char* const kDefaultVersion = "1.00";
const char* const kEmptySlot = "UNKNOWN";

// Splits a line into words; a word in double quotes may hold blanks and "#";
// a "#" that begins a word starts a comment.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            const std::size_t end = line.find('"', i + 1);
            if (end == std::string::npos) {
                error = "unterminated quote";
                return false;
            }
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            std::size_t end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
            words.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return true;
}

class Parser {
public:
    bool line(const std::vector<std::string>& w, std::string& error) {
        const std::string& key = w[0];
        if (key == "comm") return comm(w, error);
        if (key == "slot") return slot(w, error);
        if (key == "set") return set(w, error);
        error = "unknown keyword '" + key + "' (expected comm, slot or set)";
        return false;
    }

    Station station;

private:
    bool comm(const std::vector<std::string>& w, std::string& error) {
        if (commSeen_) {
            error = "the communication card is described twice";
            return false;
        }
        if (w.size() < 2) {
            error = "expected: comm MODELTEXT [version TEXT]";
            return false;
        }
        commSeen_ = true;
        Card& c = station.comm;
        c.modelText = w[1];
        c.version = kDefaultVersion;
        if (!options(w, 2, c, false, error)) return false;
        addCommDefaults(c);
        current_ = 0;
        return true;
    }

    bool slot(const std::vector<std::string>& w, std::string& error) {
        const int n = w.size() >= 2 ? parseNumber(w[1], 16) : -1;
        if (n < 1) {
            error = "expected: slot N CODE with N from 1 to 16";
            return false;
        }
        if (w.size() < 3) {
            error = "slot " + w[1] + " has no model code";
            return false;
        }
        if (slotSeen_[n - 1]) {
            error = "slot " + std::to_string(n) + " is described twice";
            return false;
        }
        slotSeen_[n - 1] = true;
        current_ = n;
        Card& c = station.slots[n - 1];
        if (w[2] == kEmptySlot) {
            if (w.size() > 3) {
                error = "an empty slot takes no options";
                return false;
            }
            return true;
        }
        c.code = w[2];
        c.modelText = w[2];
        c.version = kDefaultVersion;
        if (!options(w, 3, c, true, error)) return false;
        addFamilyDefaults(c);
        return true;
    }

    bool set(const std::vector<std::string>& w, std::string& error) {
        if (w.size() != 4) {
            error = "expected: set GROUP ITEM VALUE (quote a value that holds blanks)";
            return false;
        }
        if (current_ < 0) {
            error = "'set' before any comm or slot line";
            return false;
        }
        const std::string group = normalGroup(w[1]);
        if (group.empty()) {
            error = "group '" + w[1] + "' is not a number from 0 to 99";
            return false;
        }
        const int item = parseNumber(w[2], 9999);
        if (item < 0) {
            error = "item '" + w[2] + "' is not a number from 0 to 9999";
            return false;
        }
        if (!storeValue(station, current_, group, item, w[3])) {
            error = current_ > 0 && station.slots[current_ - 1].code.empty()
                        ? "an empty slot holds no items"
                        : "group " + group + " item " + w[2] + " is worked out by the station and cannot be set";
            return false;
        }
        return true;
    }

    // "version TEXT" and, on a slot, "model TEXT", from word `from` on.
    static bool options(const std::vector<std::string>& w, std::size_t from, Card& c, bool slot, std::string& error) {
        for (std::size_t i = from; i < w.size(); i += 2) {
            if (i + 1 >= w.size()) {
                error = "option '" + w[i] + "' has no value";
                return false;
            }
            if (w[i] == "version") {
                c.version = w[i + 1];
            } else if (w[i] == "model" && slot) {
                c.modelText = w[i + 1];
            } else {
                error = "unknown option '" + w[i] + "'";
                return false;
            }
        }
        return true;
    }

    bool commSeen_ = false;
    bool slotSeen_[16] = {};
    int current_ = -1;  // the card that 'set' lines fill: 0 = communication card, 1..16 = slot
};

}  // namespace

bool parseStation(const std::string& text, Station& out, std::string& error) {
    Parser p;
    p.station.comm.modelText = "K6-OW1";  // unless a comm line says otherwise
    p.station.comm.version = kDefaultVersion;
    addCommDefaults(p.station.comm);
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::vector<std::string> words;
        std::string why;
        if (!splitWords(line, words, why) || (!words.empty() && !p.line(words, why))) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    out = p.station;
    return true;
}

bool loadStation(const std::string& path, Station& out, std::string& error) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << f.rdbuf();
    return parseStation(text.str(), out, error);
}

Station defaultStation() {
    Station s;
    std::string error;
    if (!parseStation(kDefaultStationText, s, error)) {
        // The text is built in from stations/default.k6; its test keeps it valid.
        std::fprintf(stderr, "k6sim: built-in station: %s\n", error.c_str());
        std::abort();
    }
    return s;
}

}  // namespace k6sim
