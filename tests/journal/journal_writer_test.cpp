#include "journal/journal_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "journal/journal_reader.h"
#include "tests/settings/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
using test::ReadAll;
using test::TTempFolder;
using test::WriteAll;

const std::string kHeader(kJournalHeader);

// A row of the given minute of 2026 in Moscow (+03:00).
TJournalRow Row(sys_days day, int minute, double dose = 0.12) {
    return {{time_point_cast<system_clock::duration>(day + minutes{minute}), minutes{180}},
            dose,
            TCycleStatus::Ok,
            "4.2.31",
            false};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "no CRLF after " << text.substr(at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

TEST(JournalWriter, WritesAHeaderedFilePerLocalMonth) {
    TTempFolder temp;
    std::ostringstream diagnostics;
    TJournalWriter writer(temp.Path() / "journal", diagnostics);
    const sys_days lastDay = 2026y / December / 31;
    // 20:59 UTC is 23:59 in Moscow; 21:00 UTC is already January there.
    EXPECT_TRUE(writer.Append(Row(lastDay, 20 * 60 + 59)));
    EXPECT_TRUE(writer.Append(Row(lastDay, 21 * 60)));
    EXPECT_TRUE(writer.Append(Row(lastDay, 21 * 60 + 1, 1.5e-07)));
    EXPECT_EQ(ReadAll(temp.Path() / "journal/ORNET5-2026-12.csv"),
              kHeader + "2026-12-31T23:59:00.000+03:00,0.12,ok,4.2.31,0\r\n");
    EXPECT_EQ(ReadAll(temp.Path() / "journal/ORNET5-2027-01.csv"),
              kHeader + "2027-01-01T00:00:00.000+03:00,0.12,ok,4.2.31,0\r\n" +
                  "2027-01-01T00:01:00.000+03:00,1.5e-07,ok,4.2.31,0\r\n");
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(JournalWriter, EndsATornLastLineBeforeTheNextRow) {
    TTempFolder temp;
    const std::string torn = "2026-12-08T14:03:21.482+03:00,0.1";
    WriteAll(temp.Path() / "ORNET5-2026-12.csv", kHeader + torn);
    std::ostringstream diagnostics;
    TJournalWriter writer(temp.Path(), diagnostics);
    ASSERT_TRUE(writer.Append(Row(2026y / December / 8, 660)));
    EXPECT_EQ(ReadAll(temp.Path() / "ORNET5-2026-12.csv"),
              kHeader + torn + "\r\n2026-12-08T14:00:00.000+03:00,0.12,ok,4.2.31,0\r\n");
    const TJournalSpan span =
        ReadJournalSpan(temp.Path(), sys_days{2026y / December / 1}, sys_days{2027y / January / 1});
    EXPECT_EQ(span.points.size(), 1u);
    EXPECT_EQ(span.skippedLines, 1u);
}

// Both threads leave Meet together. (std::barrier of MinGW's library
// sometimes never wakes a waiter: it has no futex to wait on.)
class TRendezvous {
  public:
    void Meet() {
        std::unique_lock lock(mutex_);
        const int round = round_;
        if (++waiting_ == 2) {
            waiting_ = 0;
            ++round_;
            met_.notify_all();
            return;
        }
        met_.wait(lock, [&] { return round_ != round; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable met_;
    int waiting_ = 0;
    int round_ = 0;
};

// Two copies of the program: two writers on two threads, each with its
// own open file, as two processes have. work(copy, writer) runs on both.
template <typename TWork>
void RunTwoCopies(const std::filesystem::path& folder, TJournalWriterOptions options, TWork work) {
    std::ostringstream diagnostics[2];
    auto copy = [&](int index) {
        TJournalWriter writer(folder, diagnostics[index], SystemJournalDisk(), options);
        work(index, writer);
    };
    std::thread second(copy, 1);
    copy(0);
    second.join();
    EXPECT_EQ(diagnostics[0].str() + diagnostics[1].str(), "");
}

TEST(JournalWriter, TwoCopiesStartingAMonthAtOnceWriteOneHeader) {
    TTempFolder temp;
    constexpr int kMonths = 12;
    TRendezvous together;
    RunTwoCopies(temp.Path(), {}, [&](int copy, TJournalWriter& writer) {
        for (int month = 1; month <= kMonths; ++month) {
            together.Meet();
            EXPECT_TRUE(writer.Append(Row(2026y / month / 10, copy)));
        }
    });
    for (int month = 1; month <= kMonths; ++month) {
        const std::string text = ReadAll(temp.Path() / JournalFileName(2026, month));
        const std::vector<std::string> lines = Lines(text);
        ASSERT_EQ(lines.size(), 3u) << text;
        EXPECT_EQ(lines[0] + "\r\n", kHeader);
        EXPECT_TRUE(ParseJournalLine(lines[1]) && ParseJournalLine(lines[2])) << text;
    }
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), kMonths);
}

TEST(JournalWriter, TwoCopiesAppendingAtOnceKeepEveryRowWhole) {
    TTempFolder temp;
    constexpr int kRows = 2000;
    std::map<std::string, int> expected;
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 0; i < kRows; ++i) {
            TJournalRow row = Row(2026y / December / 8, i, copy + i / 1000.0);
            row.detector = copy == 0 ? "1.1.1" : "2.2.2";
            std::string text = JournalRowText(row);
            ++expected[text.substr(0, text.size() - 2)];
        }
    }
    RunTwoCopies(temp.Path(), {.durable = false}, [&](int copy, TJournalWriter& writer) {
        for (int i = 0; i < kRows; ++i) {
            TJournalRow row = Row(2026y / December / 8, i, copy + i / 1000.0);
            row.detector = copy == 0 ? "1.1.1" : "2.2.2";
            ASSERT_TRUE(writer.Append(row));
        }
    });
    std::vector<std::string> lines = Lines(ReadAll(temp.Path() / "ORNET5-2026-12.csv"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0] + "\r\n", kHeader);
    std::map<std::string, int> found;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        ++found[lines[i]];
    }
    EXPECT_EQ(found, expected);
}

TEST(JournalWriter, UnwritableFolderIsReportedOnceAndItsRowsWrittenLater) {
    TTempFolder temp;
    // A file where the journal's parent folder should be: no folder can be
    // made there, whoever runs the test.
    const std::filesystem::path blocked = temp.Path() / "data";
    WriteAll(blocked, "");
    const std::filesystem::path folder = blocked / "journal";
    std::ostringstream diagnostics;
    TJournalWriter writer(folder, diagnostics);
    for (int minute = 0; minute < 3; ++minute) {
        EXPECT_FALSE(writer.Append(Row(2026y / December / 8, minute)));
    }
    EXPECT_EQ(writer.PendingRows(), 3u);
    const std::string report = diagnostics.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_TRUE(report.starts_with("ORNET5: журнал не записывается в ")) << report;
    EXPECT_NE(report.find((blocked / "journal").string()), std::string::npos) << report;

    std::filesystem::remove(blocked);
    EXPECT_TRUE(writer.Append(Row(2026y / December / 8, 3)));
    EXPECT_EQ(writer.PendingRows(), 0u);
    const std::vector<std::string> lines = Lines(ReadAll(folder / "ORNET5-2026-12.csv"));
    ASSERT_EQ(lines.size(), 5u);
    for (int minute = 0; minute < 4; ++minute) {
        EXPECT_TRUE(lines[minute + 1].starts_with("2026-12-08T03:0" + std::to_string(minute)))
            << lines[minute + 1];
    }
}

// A disk in memory whose room runs out: a write takes what fits, then
// fails as a full disk does.
class TFullDisk : public TJournalDisk {
  public:
    std::map<std::filesystem::path, std::string> files;
    std::size_t room = 0;

    TDiskFailure CreateFolder(const std::filesystem::path&) override { return {}; }
    TDiskFailure CreateFileOnce(const std::filesystem::path& file,
                                std::string_view content) override {
        if (!files.contains(file)) {
            std::size_t written = 0;
            TDiskFailure failure = Take(content, written);
            if (failure) {
                return failure;
            }
            files[file] = content;
        }
        return {};
    }
    std::unique_ptr<TAppendFile> OpenForAppend(const std::filesystem::path& file,
                                               TDiskFailure& failure) override;

    TDiskFailure Take(std::string_view bytes, std::size_t& written) {
        written = std::min(bytes.size(), room);
        room -= written;
        return written == bytes.size() ? TDiskFailure{} : TDiskFailure{TDiskError::NoSpace, {}};
    }
};

class TMemoryFile : public TAppendFile {
  public:
    TMemoryFile(TFullDisk& disk, std::string& bytes) : disk_(disk), bytes_(bytes) {}
    bool Lock() override { return true; }
    void Unlock() override {}
    TDiskFailure CheckLineEnd(bool& endsWithLineEnd) override {
        endsWithLineEnd = bytes_.empty() || bytes_.back() == '\n';
        return {};
    }
    TDiskFailure Append(std::string_view bytes, std::size_t& written) override {
        const TDiskFailure failure = disk_.Take(bytes, written);
        bytes_.append(bytes.substr(0, written));
        return failure;
    }
    TDiskFailure Sync() override { return {}; }

  private:
    TFullDisk& disk_;
    std::string& bytes_;
};

std::unique_ptr<TAppendFile> TFullDisk::OpenForAppend(const std::filesystem::path& file,
                                                      TDiskFailure& failure) {
    if (!files.contains(file)) {
        failure = {TDiskError::NotFound, {}};
        return nullptr;
    }
    return std::make_unique<TMemoryFile>(*this, files[file]);
}

TEST(JournalWriter, FullDiskKeepsTheRowsAndWritesEachWholeOnceThereIsRoom) {
    TFullDisk disk;
    disk.room = kHeader.size() + 10;
    std::ostringstream diagnostics;
    TJournalWriter writer("j", diagnostics, disk);
    const sys_days day = 2026y / December / 8;
    EXPECT_FALSE(writer.Append(Row(day, 0)));
    EXPECT_FALSE(writer.Append(Row(day, 1)));
    EXPECT_EQ(writer.PendingRows(), 2u);
    EXPECT_EQ(diagnostics.str(),
              JournalFailureText(std::filesystem::path("j") / "ORNET5-2026-12.csv",
                                 {TDiskError::NoSpace, {}}) +
                  "\n");
    disk.room = 1000;
    EXPECT_TRUE(writer.Append(Row(day, 2)));
    const std::string& file = disk.files[std::filesystem::path("j") / "ORNET5-2026-12.csv"];
    const std::vector<std::string> lines = Lines(file);
    // The cut piece of the first row, then every row whole, in order.
    ASSERT_EQ(lines.size(), 5u) << file;
    EXPECT_EQ(lines[1], "2026-12-08");
    EXPECT_EQ(lines[2] + "\r\n", JournalRowText(Row(day, 0)));
    EXPECT_EQ(lines[3] + "\r\n", JournalRowText(Row(day, 1)));
    EXPECT_EQ(lines[4] + "\r\n", JournalRowText(Row(day, 2)));
}

TEST(JournalWriter, BeyondTheLimitTheOldestKeptRowsAreGivenUp) {
    TFullDisk disk;
    std::ostringstream diagnostics;
    TJournalWriter writer("j", diagnostics, disk, {.pendingLimit = 2});
    const sys_days day = 2026y / December / 8;
    for (int minute = 0; minute < 5; ++minute) {
        EXPECT_FALSE(writer.Append(Row(day, minute)));
    }
    EXPECT_EQ(writer.PendingRows(), 2u);
    EXPECT_EQ(writer.DroppedRows(), 3u);
    // One line for the full disk, one for the rows given up.
    const std::string reports = diagnostics.str();
    EXPECT_EQ(std::count(reports.begin(), reports.end(), '\n'), 2);
    disk.room = 1000;
    EXPECT_TRUE(writer.Append(Row(day, 5)));
    EXPECT_EQ(disk.files.begin()->second, kHeader + JournalRowText(Row(day, 3)) +
                                              JournalRowText(Row(day, 4)) +
                                              JournalRowText(Row(day, 5)));
}

}  // namespace
}  // namespace ornet5
