#include "journal/journal_row.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace ornet5 {

namespace {

constexpr std::array<std::string_view, 5> kStatusNames = {"ok", "identified", "no_reply",
                                                          "bad_reply", "cancelled"};
constexpr std::size_t kFieldCount = 5;

std::optional<TCycleStatus> StatusNamed(std::string_view name) {
    for (std::size_t i = 0; i < kStatusNames.size(); ++i) {
        if (kStatusNames[i] == name) {
            return static_cast<TCycleStatus>(i);
        }
    }
    return std::nullopt;
}

void AppendDose(std::string& line, const std::optional<double>& dose) {
    if (!dose) {
        return;
    }
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), *dose);
    line.append(buffer.data(), result.ptr);
}

// RFC 4180: a field with a separator, a quote or a line break is quoted,
// its quotes doubled.
void AppendField(std::string& line, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += '"';
}

// The index just past the closing quote of the quoted field that starts
// at `at`; npos when the quote is never closed.
std::size_t QuotedFieldEnd(std::string_view line, std::size_t at) {
    std::size_t quote = at + 1;
    for (;;) {
        quote = line.find('"', quote);
        if (quote == std::string_view::npos) {
            return quote;
        }
        if (quote + 1 < line.size() && line[quote + 1] == '"') {
            quote += 2;
            continue;
        }
        return quote + 1;
    }
}

// Splits the line into exactly kFieldCount fields; false for any other
// count or a broken quote. A quoted field is given without its outer
// quotes; doubled quotes inside stay doubled (only the detector may hold
// them: UnquotedField).
bool SplitFields(std::string_view line, std::array<std::string_view, kFieldCount>& fields) {
    std::size_t at = 0;
    for (std::size_t index = 0; index < kFieldCount; ++index) {
        std::size_t end = 0;
        if (at < line.size() && line[at] == '"') {
            end = QuotedFieldEnd(line, at);
            if (end == std::string_view::npos) {
                return false;
            }
            fields[index] = line.substr(at + 1, end - at - 2);
        } else {
            end = std::min(line.find(',', at), line.size());
            fields[index] = line.substr(at, end - at);
        }
        const bool last = index + 1 == kFieldCount;
        if (last ? end != line.size() : (end >= line.size() || line[end] != ',')) {
            return false;
        }
        at = end + 1;
    }
    return true;
}

// Empty for none; else a finite, non-negative number and nothing more.
bool ParseDose(std::string_view text, double& dose) {
    if (text.empty()) {
        dose = std::nan("");
        return true;
    }
    const auto result = std::from_chars(text.data(), text.data() + text.size(), dose);
    return result.ec == std::errc{} && result.ptr == text.data() + text.size() &&
           std::isfinite(dose) && dose >= 0;
}

// A detector field as written: its doubled quotes made single again.
std::string UnquotedField(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        text += field[i];
        if (field[i] == '"' && i + 1 < field.size() && field[i + 1] == '"') {
            ++i;
        }
    }
    return text;
}

// The fields of a valid row, checked once for both readings of a line.
struct TRowFields {
    TLocalTime time;
    double dose = 0;
    TCycleStatus status = TCycleStatus::NoReply;
    std::string_view detector;
    bool alarm = false;
};

std::optional<TRowFields> ParseRowFields(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::array<std::string_view, kFieldCount> fields;
    if (line.size() > kMaxJournalLineLength || !SplitFields(line, fields)) {
        return std::nullopt;
    }
    const auto time = ParseLocalTimeText(fields[0]);
    const auto status = StatusNamed(fields[2]);
    TRowFields row;
    if (!time || !status || !ParseDose(fields[1], row.dose) ||
        (fields[4] != "0" && fields[4] != "1")) {
        return std::nullopt;
    }
    row.time = *time;
    row.status = *status;
    row.detector = fields[3];
    row.alarm = fields[4] == "1";
    return row;
}

}  // namespace

std::optional<double> WrittenDose(const TJournalRow& row) {
    if (!row.dose || !std::isfinite(*row.dose) || *row.dose < 0) {
        return std::nullopt;
    }
    return row.dose;
}

std::string_view CycleStatusName(TCycleStatus status) {
    return kStatusNames[static_cast<std::size_t>(status)];
}

std::string JournalRowText(const TJournalRow& row) {
    std::string line = LocalTimeText(row.time);
    line += ',';
    AppendDose(line, WrittenDose(row));
    line += ',';
    line += CycleStatusName(row.status);
    line += ',';
    AppendField(line, std::string_view(row.detector).substr(0, kMaxDetectorLength));
    line += row.alarm ? ",1\r\n" : ",0\r\n";
    return line;
}

std::optional<TJournalPoint> ParseJournalLine(std::string_view line) {
    const auto fields = ParseRowFields(line);
    if (!fields) {
        return std::nullopt;
    }
    TJournalPoint point;
    point.utcMs =
        std::chrono::floor<std::chrono::milliseconds>(fields->time.utc).time_since_epoch().count();
    point.dose = fields->dose;
    point.status = fields->status;
    point.alarm = fields->alarm;
    return point;
}

std::optional<TJournalRow> ParseJournalRow(std::string_view line) {
    const auto fields = ParseRowFields(line);
    if (!fields) {
        return std::nullopt;
    }
    TJournalRow row{fields->time, std::nullopt, fields->status, UnquotedField(fields->detector),
                    fields->alarm};
    if (!std::isnan(fields->dose)) {
        row.dose = fields->dose;
    }
    return row;
}

std::string JournalFileName(int year, unsigned month) {
    std::string name = "ORNET5-0000-00.csv";
    for (int i = 10, value = year; i >= 7; --i, value /= 10) {
        name[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
    }
    name[12] = static_cast<char>('0' + month / 10);
    name[13] = static_cast<char>('0' + month % 10);
    return name;
}

std::string JournalFileName(const TLocalTime& time) {
    const TCivilTime civil = CivilTime(time);
    return JournalFileName(civil.year, civil.month);
}

}  // namespace ornet5
