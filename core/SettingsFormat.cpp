#include "core/SettingsFormat.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "core/TextHelpers.h"

namespace talvo {

namespace {

std::string recordName(int n) {
    return n == CardRecordTable::kCommCard ? "Communication card" : "Slot " + std::to_string(n);
}

std::string countText(std::size_t n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The line's fields. The writer puts every field in double quotes and never
// escapes a quote, so a quoted field runs to the next quote and only blanks may
// stand between that quote and the next comma. A field without quotes (the
// reader has always taken those too, e.g. from a hand-edited file) runs to the
// next comma and loses its leading and trailing blanks, as the quoted-field
// reader did; a quote inside it is an error rather than a guess.
bool splitFields(std::string_view line, std::size_t lineNo, std::vector<std::string>& fields,
                 std::string& error) {
    const auto fail = [&](std::size_t field, const char* what) {
        error = "Line " + std::to_string(lineNo) + ", field " + std::to_string(field) + ": " + what;
        return false;
    };
    fields.clear();
    std::size_t pos = 0;
    for (;;) {
        while (pos < line.size() && isBlank(line[pos])) ++pos;
        const std::size_t fieldNo = fields.size() + 1;
        std::size_t end;  // just past the field's text, before any blanks and the comma
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) return fail(fieldNo, "the closing double quote is missing.");
            fields.emplace_back(line.substr(pos + 1, close - pos - 1));
            end = close + 1;
            while (end < line.size() && isBlank(line[end])) ++end;
            if (end < line.size() && line[end] != ',')
                return fail(fieldNo, "text follows the closing double quote.");
        } else {
            end = std::min(line.find(',', pos), line.size());
            std::string_view text = line.substr(pos, end - pos);
            if (text.find('"') != std::string_view::npos)
                return fail(fieldNo, "a double quote inside a field without quotes.");
            while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
            fields.emplace_back(text);
        }
        if (end >= line.size()) return true;
        pos = end + 1;  // past the comma; a comma at the end of the line leaves one empty field
    }
}

}  // namespace

// Lines end in LF, with or without a CR before it; the last line may lack its
// line end, and one empty line may follow the last one.
std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t nl = bytes.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

bool SplitQuotedFields(std::string_view line, std::size_t lineNo, std::vector<std::string>& fields,
                       std::string& error) {
    if (line.find('\r') != std::string_view::npos) {
        error = "Line " + std::to_string(lineNo) + " holds a carriage return inside the line.";
        return false;
    }
    return splitFields(line, lineNo, fields, error);
}

std::string FormatQuotedLine(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        out += '"';
        out += fields[i];
        out += '"';
    }
    out += "\r\n";
    return out;
}

std::string UnquotableReason(const std::string& text) {
    if (text.find_first_of("\"\r\n") != std::string::npos)
        return " holds a character that cannot be saved (\" or a line break).";
    if (HoldsControl(text)) return " holds a control character that cannot be saved.";
    return "";
}

std::string UnsavableFieldReason(const std::string& text, std::size_t maxChars) {
    if (std::string why = UnquotableReason(text); !why.empty()) return why;
    if (text.size() > maxChars) return " is longer than " + std::to_string(maxChars) + " characters and cannot be saved.";
    return "";
}

namespace {

bool sizeFits(const std::string& bytes, std::string& error) {
    if (bytes.empty()) {
        error = "The file is empty.";
        return false;
    }
    if (bytes.size() > kMaxQuotedFileBytes) {
        error = "The file is too large (over 1 MiB).";
        return false;
    }
    return true;
}

bool splitLines(const std::vector<std::string_view>& split, std::vector<std::vector<std::string>>& lines,
                std::string& error) {
    std::vector<std::vector<std::string>> read;
    for (std::size_t i = 0; i < split.size(); ++i) {
        read.emplace_back();
        if (!SplitQuotedFields(split[i], i + 1, read.back(), error)) return false;
    }
    lines = std::move(read);
    return true;
}

}  // namespace

bool ParseQuotedLines(const std::string& bytes, std::vector<std::vector<std::string>>& lines, std::string& error) {
    return sizeFits(bytes, error) && splitLines(SplitFileLines(bytes), lines, error);
}

std::string FormatValueFile(const std::string& firstLine, const std::vector<std::string>& values) {
    std::string out = firstLine + "\r\n";
    for (const std::string& v : values) out += FormatQuotedLine({v});
    return out;
}

bool ParseValueFile(const std::string& bytes, std::string& firstLine, std::vector<std::string>& values,
                    std::string& error, const ValueFileLimits& limits) {
    if (!sizeFits(bytes, error)) return false;
    std::vector<std::string_view> split = SplitFileLines(bytes);
    if (!split.empty() && split.size() - 1 > limits.maxValues) split.resize(limits.maxValues + 1);
    std::vector<std::vector<std::string>> lines;
    if (!splitLines(split, lines, error)) return false;
    if (lines.empty()) {
        error = "The file is empty.";
        return false;
    }
    std::vector<std::string> read;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string where = "Line " + std::to_string(i + 1);
        if (lines[i].size() != 1) {
            error = where + " has " + countText(lines[i].size(), "field") + "; expected 1.";
            return false;
        }
        if (HoldsControl(lines[i][0])) {
            error = where + " holds a control character.";
            return false;
        }
        if (lines[i][0].size() > limits.maxFieldChars) {
            error = where + " holds a value longer than " + std::to_string(limits.maxFieldChars) + " characters.";
            return false;
        }
        read.push_back(std::move(lines[i][0]));
    }
    firstLine = std::move(read.front());
    values.assign(std::make_move_iterator(read.begin() + 1), std::make_move_iterator(read.end()));
    return true;
}

namespace {

// No field a card could have given holds a control character or runs past the
// longest value a frame carries: such a file is damaged or not a settings file.
bool checkFieldTexts(const std::vector<std::string>& fields, std::size_t lineNo, std::string& error) {
    for (std::size_t f = 0; f < fields.size(); ++f) {
        std::string what;
        if (HoldsControl(fields[f]))
            what = "a control character inside the field.";
        else if (fields[f].size() > kMaxSettingsFieldChars)
            what = "longer than " + std::to_string(kMaxSettingsFieldChars) + " characters.";
        else
            continue;
        error = "Line " + std::to_string(lineNo) + ", field " + std::to_string(f + 1) + ": " + what;
        return false;
    }
    return true;
}

void storeFields(const std::vector<std::string>& f, CardRecord& r) {
    r.FileType = f[0];
    r.Version = f[1];
    for (int i = 1; i <= decltype(r.Param)::size; ++i) r.Param.set(i, f[static_cast<std::size_t>(1 + i)]);
    for (int i = 1; i <= decltype(r.ChOption)::size; ++i) r.ChOption.set(i, f[static_cast<std::size_t>(65 + i)]);
}

}  // namespace

std::string FormatSettingsFile(const CardRecordTable& records) {
    std::string out;
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        const CardRecord& r = *records.get(n);
        std::vector<std::string> fields{r.CardType, r.Version};
        for (int i = 1; i <= decltype(r.Param)::size; ++i) fields.push_back(r.Param[i]);
        for (int i = 1; i <= decltype(r.ChOption)::size; ++i) fields.push_back(r.ChOption[i]);
        out += FormatQuotedLine(fields);
    }
    return out;
}

std::string FindUnsavableField(const CardRecordTable& records) {
    std::string why;
    const auto bad = [&why](const std::string& value) { return !(why = UnsavableFieldReason(value)).empty(); };
    for (int n = 1; n <= CardRecordTable::kCount; ++n) {
        const CardRecord& r = *records.get(n);
        const std::string where = recordName(n) + ", ";
        if (bad(r.CardType)) return where + "CardType" + why;
        if (bad(r.Version)) return where + "Version" + why;
        for (int i = 1; i <= decltype(r.Param)::size; ++i)
            if (bad(r.Param[i])) return where + "Param(" + std::to_string(i) + ")" + why;
        for (int i = 1; i <= decltype(r.ChOption)::size; ++i)
            if (bad(r.ChOption[i])) return where + "ChOption(" + std::to_string(i) + ")" + why;
    }
    return "";
}

bool ParseSettingsFile(const std::string& bytes, SettingsRecords& out, std::string& error) {
    if (bytes.empty()) {
        error = "The file is empty.";
        return false;
    }
    if (bytes.size() > kMaxSettingsFileBytes) {
        error = "The file is too large for a settings file (over 1 MiB).";
        return false;
    }
    const std::vector<std::string_view> lines = SplitFileLines(bytes);
    if (lines.size() != static_cast<std::size_t>(CardRecordTable::kCount)) {
        error = "The file has " + countText(lines.size(), "line") + "; expected " +
                std::to_string(CardRecordTable::kCount) + ".";
        return false;
    }
    SettingsRecords read;
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!SplitQuotedFields(lines[i], i + 1, fields, error)) return false;
        if (fields.size() != static_cast<std::size_t>(kSettingsFieldsPerLine)) {
            error = "Line " + std::to_string(i + 1) + " has " + countText(fields.size(), "field") +
                    "; expected " + std::to_string(kSettingsFieldsPerLine) + ".";
            return false;
        }
        if (!checkFieldTexts(fields, i + 1, error)) return false;
        storeFields(fields, read[i]);
    }
    out = std::move(read);
    return true;
}

bool WidenSixteenChannelLayout(CardRecord& record) {
    const std::string prefix = record.FileType.substr(0, 3);
    if ((prefix != "BW1" && prefix != "BZ1") || !record.Param[33].empty() || !record.Param[34].empty())
        return false;
    auto& p = record.Param;
    // From the top down, so no channel's old pair is overwritten before it moves.
    for (int n = 16; n >= 2; --n) {
        const std::string zero = p[2 * n - 1];
        const std::string full = p[2 * n];
        p.set(4 * n - 3, zero);
        p.set(4 * n - 2, full);
        p.set(4 * n - 1, "0.00");
        p.set(4 * n, "1.0000");
    }
    p.set(3, "0.00");
    p.set(4, "1.0000");
    return true;
}

}  // namespace talvo
