#include "tools/ornet5-journal-maker/journal_maker.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <random>
#include <stdexcept>

#include "journal/alarm.h"
#include "journal/journal_row.h"

namespace ornet5 {

namespace {

using namespace std::chrono;

// Written out in pieces of this size, so that a month costs no more memory
// than this.
constexpr std::size_t kFlushBytes = 1 << 20;

// The row's dose in µSv/h, hours counted from the journal's first row.
class TDoseModel {
  public:
    TDoseModel(double spanHours, std::optional<double> steadyDose)
        : spanHours_(spanHours), steadyDose_(steadyDose) {}

    std::optional<double> At(double hour) {
        if (InOutage(hour)) {
            return std::nullopt;
        }
        if (steadyDose_) {
            return steadyDose_;
        }
        double dose = 0.11 + 0.01 * std::sin(2 * std::numbers::pi * hour / 24);
        dose += Rain(hour) + Rise(hour);
        dose += noise_(random_);
        // The detector's reading has three significant digits.
        return std::round(dose * 1000) / 1000;
    }

    bool InOutage(double hour) const { return Within(hour, 0.55 * spanHours_, kOutageHours); }
    bool Stopped(double hour) const { return Within(hour, 0.4 * spanHours_, kStoppedHours); }

  private:
    static constexpr double kOutageHours = 6;
    static constexpr double kRainHours = 12;
    static constexpr double kStoppedHours = 1;

    static bool Within(double hour, double start, double length) {
        return hour >= start && hour < start + length;
    }
    double Rain(double hour) const {
        for (const double start : {0.2 * spanHours_, 0.7 * spanHours_}) {
            if (Within(hour, start, kRainHours)) {
                return 0.09 * std::sin(std::numbers::pi * (hour - start) / kRainHours);
            }
        }
        return 0;
    }
    double Rise(double hour) const { return Within(hour, 0.85 * spanHours_, 0.5) ? 0.24 : 0; }

    double spanHours_;
    std::optional<double> steadyDose_;
    std::minstd_rand random_{20261208};
    std::uniform_real_distribution<double> noise_{-0.012, 0.012};
};

// The month files, each opened once and written in large pieces; the
// caller flushes the last piece.
class TMonthFiles {
  public:
    TMonthFiles(std::filesystem::path folder, TMadeJournal& made)
        : folder_(std::move(folder)), made_(made) {}

    void Write(const TLocalTime& time, const std::string& line) {
        const std::string name = JournalFileName(time);
        if (name != name_) {
            Open(name);
        }
        buffer_ += line;
        if (buffer_.size() >= kFlushBytes) {
            Flush();
        }
    }

    void Flush() {
        if (!buffer_.empty() && !file_.write(buffer_.data(), std::ssize(buffer_)).flush()) {
            buffer_.clear();
            throw std::runtime_error("cannot write " + made_.files.back().string());
        }
        buffer_.clear();
    }

  private:
    void Open(const std::string& name) {
        Flush();
        name_ = name;
        const std::filesystem::path path = folder_ / name;
        const bool fresh = !std::filesystem::exists(path) || std::filesystem::file_size(path) == 0;
        file_ = std::ofstream(path, std::ios::binary | std::ios::app);
        if (!file_) {
            throw std::runtime_error("cannot open " + path.string());
        }
        made_.files.push_back(path);
        if (fresh) {
            buffer_ += kJournalHeader;
        }
    }

    std::filesystem::path folder_;
    TMadeJournal& made_;
    std::string name_;
    std::ofstream file_;
    std::string buffer_;
};

// What a crash or another program leaves: a row cut short inside its dose
// (the writer ends such a line before its next row; 34 bytes are the time,
// its comma and the dose's first figures), and every third day a
// spreadsheet's line.
void WriteDamage(TMonthFiles& files, const TLocalTime& time, const std::string& row, long day,
                 TMadeJournal& made) {
    files.Write(time, row.substr(0, 34) + "\r\n");
    ++made.damagedLines;
    if (day % 3 == 0) {
        files.Write(time, "Сводка за сутки;0,11;мкЗв/ч\r\n");
        ++made.damagedLines;
    }
}

TCycleStatus StatusOf(const std::optional<double>& dose, bool& identified) {
    if (!dose) {
        identified = false;
        return TCycleStatus::NoReply;
    }
    if (!identified) {
        identified = true;
        return TCycleStatus::Identified;
    }
    return TCycleStatus::Ok;
}

}  // namespace

TMadeJournal MakeJournal(const std::filesystem::path& folder, const TJournalMakerOptions& options) {
    std::filesystem::create_directories(folder);
    TMadeJournal made;
    TMonthFiles files(folder, made);
    const auto first = options.end - options.length;
    TDoseModel model(duration<double, std::ratio<3600>>(options.length).count(),
                     options.steadyDose);
    TAlarmRule alarm;
    alarm.SetSettings({options.alarmThreshold.has_value(), options.alarmThreshold, false});
    bool identified = false;
    const auto steadyStart = steady_clock::time_point{};
    for (auto at = first; at <= options.end; at += options.cycle) {
        const double hour = duration<double, std::ratio<3600>>(at - first).count();
        if (model.Stopped(hour)) {
            identified = false;
            continue;
        }
        std::optional<double> dose = model.At(hour);
        const TCycleStatus status = StatusOf(dose, identified);
        if (status == TCycleStatus::Identified) {
            dose.reset();
        }
        alarm.Feed(dose, steadyStart + duration_cast<steady_clock::duration>(at - first));
        const TJournalRow row{LocalTimeAt(at), dose, status,
                              status == TCycleStatus::NoReply ? "" : options.detector,
                              alarm.IsOn()};
        const std::string line = JournalRowText(row);
        const auto intoDay = (at - first) % days{1};
        if (options.damaged && intoDay >= hours{12} && intoDay < hours{12} + options.cycle) {
            WriteDamage(files, row.time, line, (at - first) / days{1}, made);
        }
        files.Write(row.time, line);
        ++made.rows;
        made.readings += dose ? 1 : 0;
    }
    files.Flush();
    return made;
}

}  // namespace ornet5
