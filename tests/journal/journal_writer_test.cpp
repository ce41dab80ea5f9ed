#include "journal/journal_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "journal/journal_reader.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

using namespace std::chrono;
using test::ReadAll;
using test::TTempFolder;
using test::WriteAll;

const std::string kHeader(kJournalHeader);
const sys_days kDay = 2026y / December / 8;

// A row of the given minute after midnight UTC, in Moscow (+03:00).
TJournalRow Row(sys_days day, int minute, std::string detector = "4.2.31") {
    return {{time_point_cast<system_clock::duration>(day + minutes{minute}), minutes{180}},
            0.12,
            TCycleStatus::Ok,
            std::move(detector),
            false};
}

std::string Text(std::initializer_list<TJournalRow> rows) {
    std::string text = kHeader;
    for (const TJournalRow& row : rows) {
        text += JournalRowText(row);
    }
    return text;
}

TEST(JournalWriter, WritesAHeaderedFilePerLocalMonth) {
    TTempFolder temp;
    std::ostringstream diagnostics;
    TJournalWriter writer(temp.Path() / "journal", diagnostics);
    const sys_days lastDay = 2026y / December / 31;
    // 20:59 UTC is 23:59 in Moscow; 21:00 UTC is already January there.
    for (const int minute : {20 * 60 + 59, 21 * 60, 21 * 60 + 1}) {
        EXPECT_TRUE(writer.Append(Row(lastDay, minute)));
    }
    EXPECT_EQ(ReadAll(temp.Path() / "journal/ORNET5-2026-12.csv"),
              kHeader + "2026-12-31T23:59:00.000+03:00,0.12,ok,4.2.31,0\r\n");
    EXPECT_EQ(ReadAll(temp.Path() / "journal/ORNET5-2027-01.csv"),
              Text({Row(lastDay, 21 * 60), Row(lastDay, 21 * 60 + 1)}));
    EXPECT_EQ(diagnostics.str(), "");
}

TEST(JournalWriter, EndsATornLastLineBeforeTheNextRow) {
    TTempFolder temp;
    const std::string torn = "2026-12-08T14:03:21.482+03:00,0.1";
    WriteAll(temp.Path() / "ORNET5-2026-12.csv", kHeader + torn);
    std::ostringstream diagnostics;
    TJournalWriter writer(temp.Path(), diagnostics);
    ASSERT_TRUE(writer.Append(Row(kDay, 660)));
    EXPECT_EQ(ReadAll(temp.Path() / "ORNET5-2026-12.csv"),
              kHeader + torn + "\r\n" + JournalRowText(Row(kDay, 660)));
    const TJournalSpan span =
        ReadJournalSpan(temp.Path(), sys_days{kDay}, sys_days{kDay + days{1}});
    EXPECT_EQ(span.points.size(), 1u);
    EXPECT_EQ(span.skippedLines, 1u);
}

// A user who moves the month's file away, or deletes it, while the
// program runs: the next row starts the file afresh; the moved file keeps
// what it had.
TEST(JournalWriter, EachRowGoesToTheFileThePathNamesAtThatMoment) {
    TTempFolder temp;
    std::ostringstream diagnostics;
    TJournalWriter writer(temp.Path(), diagnostics);
    const std::filesystem::path file = temp.Path() / "ORNET5-2026-12.csv";
    ASSERT_TRUE(writer.Append(Row(kDay, 0)));
    std::filesystem::rename(file, temp.Path() / "moved.csv");
    ASSERT_TRUE(writer.Append(Row(kDay, 1)));
    EXPECT_EQ(ReadAll(temp.Path() / "moved.csv"), Text({Row(kDay, 0)}));
    EXPECT_EQ(ReadAll(file), Text({Row(kDay, 1)}));
    std::filesystem::remove(file);
    ASSERT_TRUE(writer.Append(Row(kDay, 2)));
    EXPECT_EQ(ReadAll(file), Text({Row(kDay, 2)}));
    EXPECT_EQ(diagnostics.str(), "");
}

// Both threads leave Meet together. (MinGW's std::barrier now and then
// never wakes a waiter: it has no futex to wait on.)
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

// Two copies of the program: two writers on two threads, each with its own
// open file as two processes have, start each month at the same moment and
// then append rows as fast as they can.
TEST(JournalWriter, TwoCopiesAtOnceWriteOneHeaderAndEveryRowWhole) {
    TTempFolder temp;
    constexpr int kMonths = 6;
    constexpr int kRows = 300;
    TRendezvous together;
    auto copy = [&](std::string detector) {
        std::ostringstream diagnostics;
        TJournalWriter writer(temp.Path(), diagnostics, SystemJournalDisk(), {.durable = false});
        for (int month = 1; month <= kMonths; ++month) {
            together.Meet();
            for (int minute = 0; minute < kRows; ++minute) {
                ASSERT_TRUE(writer.Append(Row(2026y / month / 10, minute, detector)));
            }
        }
        EXPECT_EQ(diagnostics.str(), "");
    };
    std::thread second(copy, "2.2.2");
    copy("1.1.1");
    second.join();
    for (int month = 1; month <= kMonths; ++month) {
        std::map<std::string, int> expected{{kHeader, 1}};
        for (int minute = 0; minute < kRows; ++minute) {
            for (const char* detector : {"1.1.1", "2.2.2"}) {
                ++expected[JournalRowText(Row(2026y / month / 10, minute, detector))];
            }
        }
        const std::string text = ReadAll(temp.Path() / JournalFileName(2026, month));
        EXPECT_TRUE(text.starts_with(kHeader));
        std::map<std::string, int> found;
        for (std::size_t at = 0, end = 0; at < text.size(); at = end) {
            end = std::min(text.find('\n', at) + 1, text.size());
            ++found[text.substr(at, end - at)];
        }
        EXPECT_EQ(found, expected) << JournalFileName(2026, month);
    }
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(temp.Path()), {}), kMonths);
}

TEST(JournalWriter, UnwritableFolderIsReportedOnceAndItsRowsWrittenLater) {
    TTempFolder temp;
    // A file where the journal's parent folder should be: no folder can be
    // made there, whoever runs the test.
    const std::filesystem::path blocked = temp.Path() / "data";
    WriteAll(blocked, "");
    std::ostringstream diagnostics;
    TJournalWriter writer(blocked / "journal", diagnostics);
    for (int minute = 0; minute < 3; ++minute) {
        EXPECT_FALSE(writer.Append(Row(kDay, minute)));
    }
    EXPECT_EQ(writer.PendingRows(), 3u);
    const std::string report = diagnostics.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 1) << report;
    EXPECT_TRUE(report.starts_with("ORNET5: журнал не записывается в ")) << report;
    EXPECT_NE(report.find((blocked / "journal").string()), std::string::npos) << report;

    std::filesystem::remove(blocked);
    EXPECT_TRUE(writer.Append(Row(kDay, 3)));
    EXPECT_EQ(writer.PendingRows(), 0u);
    EXPECT_EQ(ReadAll(blocked / "journal/ORNET5-2026-12.csv"),
              Text({Row(kDay, 0), Row(kDay, 1), Row(kDay, 2), Row(kDay, 3)}));
}

// One file in memory, on a disk whose room runs out: a write takes what
// fits, then fails as a full disk does.
struct TMemoryFile : TAppendFile {
    std::string& bytes;
    std::size_t& room;

    TMemoryFile(std::string& bytes, std::size_t& room) : bytes(bytes), room(room) {}
    bool Lock() override { return true; }
    void Unlock() override {}
    TDiskFailure CheckLineEnd(bool& endsWithLineEnd) override {
        endsWithLineEnd = bytes.back() == '\n';
        return {};
    }
    TDiskFailure Append(std::string_view part, std::size_t& written) override {
        written = std::min(part.size(), room);
        room -= written;
        bytes.append(part.substr(0, written));
        return {written == part.size() ? TDiskError::None : TDiskError::NoSpace, {}};
    }
    TDiskFailure Sync() override { return {}; }
};

struct TFullDisk : TJournalDisk {
    std::string file;
    std::size_t room = 0;

    TDiskFailure CreateFolder(const std::filesystem::path&) override { return {}; }
    TDiskFailure CreateFileOnce(const std::filesystem::path&, std::string_view) override {
        file = kHeader;
        return {};
    }
    std::unique_ptr<TAppendFile> OpenForAppend(const std::filesystem::path&,
                                               TDiskFailure& failure) override {
        failure = {file.empty() ? TDiskError::NotFound : TDiskError::None, {}};
        return file.empty() ? nullptr : std::make_unique<TMemoryFile>(file, room);
    }
};

TEST(JournalWriter, FullDiskKeepsRowsUpToTheLimitAndWritesEachWholeOnceThereIsRoom) {
    TFullDisk disk;
    disk.room = 10;
    std::ostringstream diagnostics;
    TJournalWriter writer("j", diagnostics, disk, {.pendingLimit = 2});
    for (int minute = 0; minute < 4; ++minute) {
        EXPECT_FALSE(writer.Append(Row(kDay, minute)));
    }
    EXPECT_EQ(writer.PendingRows(), 2u);
    EXPECT_EQ(writer.DroppedRows(), 2u);
    // One line for the full disk, one for the rows given up.
    EXPECT_EQ(diagnostics.str().substr(0, diagnostics.str().find('\n')),
              JournalFailureText(std::filesystem::path("j") / "ORNET5-2026-12.csv",
                                 {TDiskError::NoSpace, {}}));
    const std::string report = diagnostics.str();
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << report;
    disk.room = 1000;
    EXPECT_TRUE(writer.Append(Row(kDay, 4)));
    // The cut piece of the first row is ended; the kept rows follow whole.
    EXPECT_EQ(disk.file, kHeader + "2026-12-08\r\n" + JournalRowText(Row(kDay, 2)) +
                             JournalRowText(Row(kDay, 3)) + JournalRowText(Row(kDay, 4)));
}

}  // namespace
}  // namespace ornet5
