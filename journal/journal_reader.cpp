#include "journal/journal_reader.h"

#include <algorithm>
#include <fstream>

namespace ornet5 {

namespace {

using std::chrono::days;
using std::chrono::milliseconds;

constexpr std::size_t kChunkBytes = 1 << 20;
// The shortest row: time, four separators, "ok", the alarm, CRLF.
constexpr std::size_t kShortestRowBytes = 38;
// Room for more rows than two months of 3 s cycles hold, so that a
// foreign giant file cannot make the reservation fail.
constexpr std::size_t kMostReservedRows = 4'000'000;

// The rows of one file that fall in [fromMs, toMs], with the count of
// lines that are not rows.
class TSpanCollector {
  public:
    TSpanCollector(std::int64_t fromMs, std::int64_t toMs, TJournalSpan& span)
        : fromMs_(fromMs), toMs_(toMs), span_(span) {}

    // Splits a file's bytes, given chunk by chunk, into lines.
    void Take(std::string_view bytes) {
        while (!bytes.empty()) {
            const std::size_t lineFeed = bytes.find('\n');
            if (lineFeed == std::string_view::npos) {
                Carry(bytes);
                return;
            }
            if (carry_.empty() && !overLong_) {
                Line(bytes.substr(0, lineFeed));
            } else {
                Carry(bytes.substr(0, lineFeed));
                EndCarried();
            }
            bytes.remove_prefix(lineFeed + 1);
        }
    }

    // The file's last line, when it has no line end.
    void Finish() {
        if (!carry_.empty() || overLong_) {
            EndCarried();
        }
    }

  private:
    // A line split across chunks is gathered, but never beyond the longest
    // row: an endless line costs no memory.
    void Carry(std::string_view part) {
        if (overLong_ || carry_.size() + part.size() > kMaxJournalLineLength) {
            overLong_ = true;
            carry_.clear();
            return;
        }
        carry_ += part;
    }

    void EndCarried() {
        if (overLong_) {
            ++span_.skippedLines;
        } else {
            Line(carry_);
        }
        carry_.clear();
        overLong_ = false;
    }

    void Line(std::string_view line) {
        const bool first = firstLine_;
        firstLine_ = false;
        if (first && line.size() + 1 == kJournalHeader.size() &&
            line == kJournalHeader.substr(0, line.size())) {
            return;
        }
        if (OutsideSpan(line)) {
            return;
        }
        const auto point = ParseJournalLine(line);
        if (!point) {
            ++span_.skippedLines;
        } else if (point->utcMs >= fromMs_ && point->utcMs <= toMs_) {
            span_.points.push_back(*point);
        }
    }

    // A row's time comes first; a row of another time needs no more
    // reading. Most of the month files that a span touches lie outside it.
    bool OutsideSpan(std::string_view line) const {
        constexpr std::size_t kTimeLength = 29;
        if (line.size() <= kTimeLength || line[kTimeLength] != ',') {
            return false;
        }
        const auto time = ParseLocalTimeText(line.substr(0, kTimeLength));
        if (!time) {
            return false;
        }
        const std::int64_t ms =
            std::chrono::floor<milliseconds>(time->utc).time_since_epoch().count();
        return ms < fromMs_ || ms > toMs_;
    }

    const std::int64_t fromMs_;
    const std::int64_t toMs_;
    TJournalSpan& span_;
    std::string carry_;
    bool overLong_ = false;
    bool firstLine_ = true;
};

void ReadMonthFile(const std::filesystem::path& file, TSpanCollector& collector, TJournalSpan& span,
                   std::vector<char>& buffer) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::error_code error;
        if (std::filesystem::exists(file, error) || error) {
            span.unreadableFiles.push_back(file);
        }
        return;
    }
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        collector.Take(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) {
        span.unreadableFiles.push_back(file);
    }
    collector.Finish();
}

// Room for every row the files can hold, taken at once: the vector then
// never grows by copying, which would briefly need twice the memory. Pages
// of the room that no row fills are never touched, so they cost address
// space, not memory.
void ReserveRows(const std::filesystem::path& folder, const std::vector<std::string>& names,
                 std::vector<TJournalPoint>& points) {
    std::uintmax_t bytes = 0;
    for (const std::string& name : names) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(folder / name, error);
        bytes += error ? 0 : size;
    }
    points.reserve(static_cast<std::size_t>(
        std::min<std::uintmax_t>(bytes / kShortestRowBytes, kMostReservedRows)));
}

}  // namespace

std::vector<std::string> JournalFileNames(std::chrono::system_clock::time_point from,
                                          std::chrono::system_clock::time_point to) {
    std::vector<std::string> names;
    if (from > to) {
        return names;
    }
    using namespace std::chrono;
    const year_month_day first{floor<days>(from - days{1})};
    const year_month_day last{floor<days>(to + days{1})};
    for (year_month month = first.year() / first.month(); month <= last.year() / last.month();
         month += months{1}) {
        names.push_back(
            JournalFileName(static_cast<int>(month.year()), static_cast<unsigned>(month.month())));
    }
    return names;
}

TJournalSpan ReadJournalSpan(const std::filesystem::path& folder,
                             std::chrono::system_clock::time_point from,
                             std::chrono::system_clock::time_point to) {
    TJournalSpan span;
    const std::int64_t fromMs = std::chrono::ceil<milliseconds>(from).time_since_epoch().count();
    const std::int64_t toMs = std::chrono::floor<milliseconds>(to).time_since_epoch().count();
    const std::vector<std::string> names = JournalFileNames(from, to);
    ReserveRows(folder, names, span.points);
    std::vector<char> buffer(kChunkBytes);
    for (const std::string& name : names) {
        TSpanCollector collector(fromMs, toMs, span);
        ReadMonthFile(folder / name, collector, span, buffer);
    }
    const auto earlier = [](const TJournalPoint& a, const TJournalPoint& b) {
        return a.utcMs < b.utcMs;
    };
    if (!std::is_sorted(span.points.begin(), span.points.end(), earlier)) {
        std::stable_sort(span.points.begin(), span.points.end(), earlier);
    }
    return span;
}

}  // namespace ornet5
