#include "screens/network/GatewayFile.h"

#include <string_view>
#include <vector>

#include "core/SettingsFormat.h"
#include "core/TextHelpers.h"

namespace talvo::gateway {

namespace {

constexpr int kHeadValues = 12;  // lines 2 to 13
constexpr int kRowValues = 7;

std::vector<const std::string*> headOf(const QfoFile& f) {
    return {&f.pausePeriod, &f.ip,        &f.snm,       &f.dgate,  &f.serverType, &f.cpuNo,
            &f.timeOut,     &f.nwNo,      &f.stationNo, &f.slmpIp, &f.portNo,     &f.deviceNo};
}

std::vector<std::string*> headOf(QfoFile& f) {
    return {&f.pausePeriod, &f.ip,        &f.snm,       &f.dgate,  &f.serverType, &f.cpuNo,
            &f.timeOut,     &f.nwNo,      &f.stationNo, &f.slmpIp, &f.portNo,     &f.deviceNo};
}

// A value line, or an empty line for a value never set.
std::string line(const std::optional<std::string>& v) { return v ? FormatQuotedLine({*v}) : std::string("\r\n"); }

bool inTable(const std::string& name, int kind) {
    for (const DeviceRow& d : DeviceTable(kind))
        if (name == d.name) return true;
    return false;
}

}  // namespace

std::string FormatQfo(const QfoFile& f) {
    std::string out = std::to_string(f.fileCode) + "\r\n";
    for (const std::string* v : headOf(f)) out += FormatQuotedLine({*v});
    for (const QfoRow& r : f.rows) {
        out += FormatQuotedLine({r.cardType});
        out += FormatQuotedLine({r.ChNo});
        out += FormatQuotedLine({r.devName});
        out += line(r.code);
        out += line(r.radix);
        out += FormatQuotedLine({r.DevAdd16});
        out += FormatQuotedLine({r.DevAdd10});
    }
    return out;
}

std::string UnsavableQfo(const QfoFile& f) {
    std::vector<std::string> values;
    for (const std::string* v : headOf(f)) values.push_back(*v);
    for (const QfoRow& r : f.rows)
        for (const std::string* v : {&r.cardType, &r.ChNo, &r.devName, &r.DevAdd16, &r.DevAdd10}) values.push_back(*v);
    for (const QfoRow& r : f.rows)
        for (const auto* v : {&r.code, &r.radix})
            if (*v) values.push_back(**v);
    for (const std::string& v : values)
        if (std::string why = UnsavableFieldReason(v); !why.empty()) return "\"" + v + "\"" + why;
    return "";
}

bool ParseQfo(const std::string& bytes, QfoFile& out, std::string& error) {
    std::string first;
    std::vector<std::string> values;
    if (!ParseValueFile(bytes, first, values, error, {.maxFieldChars = kMaxSettingsFieldChars})) return false;
    if (values.size() + 1 != static_cast<std::size_t>(kQfoLines)) {
        error = "The file has " + std::to_string(values.size() + 1) + " lines; expected " + std::to_string(kQfoLines) + ".";
        return false;
    }
    // Which value lines were empty, not "": a device code or numbering never set.
    const std::vector<std::string_view> lines = SplitFileLines(bytes);
    // At most nine digits, so the code fits an int.
    const std::optional<std::int64_t> code = SignedDigitsValue(first, 9);
    if (!code) {
        error = "Line 1 is not a number.";
        return false;
    }
    QfoFile f;
    f.fileCode = static_cast<int>(*code);
    std::vector<std::string*> head = headOf(f);
    for (int i = 0; i < kHeadValues; ++i) *head[static_cast<std::size_t>(i)] = values[static_cast<std::size_t>(i)];
    for (int r = 0; r < kMapRows; ++r) {
        const std::size_t at = static_cast<std::size_t>(kHeadValues + r * kRowValues);
        QfoRow& row = f.rows[static_cast<std::size_t>(r)];
        row.cardType = values[at];
        row.ChNo = values[at + 1];
        row.devName = values[at + 2];
        // values[k] stands on line k + 2.
        if (!lines[at + 3 + 1].empty()) row.code = values[at + 3];
        if (!lines[at + 4 + 1].empty()) row.radix = values[at + 4];
        row.DevAdd16 = values[at + 5];
        row.DevAdd10 = values[at + 6];
    }

    // An empty field holds no value: it is taken as such, not refused.
    const std::pair<int, const std::string*> addresses[] = {{3, &f.ip}, {4, &f.snm}, {5, &f.dgate}, {11, &f.slmpIp}};
    for (const auto& [lineNo, a] : addresses)
        if (!a->empty() && !HasFourParts(*a)) {
            error = "Line " + std::to_string(lineNo) + " is not an address of four parts.";
            return false;
        }
    if (!f.serverType.empty() && f.serverType != "16" && f.serverType != "32") {
        error = "Line 6: the server type is neither 16 nor 32.";
        return false;
    }
    const std::optional<int> n = f.deviceNo.empty() ? std::optional<int>(0) : EntryCount(f.deviceNo);
    if (!n) {
        error = "Line 13: the entry count is not a number from 0 to 16.";
        return false;
    }
    for (int r = 0; r < *n; ++r) {
        const QfoRow& row = f.rows[static_cast<std::size_t>(r)];
        if (!HasValue(row)) continue;
        const std::string where = "Entry " + std::to_string(r + 1) + ": ";
        if (!IsIoType(row.cardType)) {
            error = where + "the I/O type is not one of AI, AO, DI and DO.";
            return false;
        }
        if (!inTable(row.devName, TableKind(row.cardType, f.serverType))) {
            error = where + "the device " + row.devName + " is not one of the devices of its I/O type and server type.";
            return false;
        }
    }
    out = std::move(f);
    return true;
}

bool HasValue(const QfoRow& row) { return !row.cardType.empty(); }

QfoRow ToQfoRow(const MapRow& row) {
    QfoRow r;
    r.cardType = row.cardType;
    r.ChNo = row.ChNo;
    r.devName = DevTypeText(row);
    if (row.EntryDevCodeSet) r.code = row.EntryDevCode;
    if (row.EntryRadixSet) r.radix = row.EntryRadix;
    r.DevAdd16 = row.DevAdd16;
    r.DevAdd10 = row.DevAdd10;
    return r;
}

}  // namespace talvo::gateway
