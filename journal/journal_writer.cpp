#include "journal/journal_writer.h"

#include <cstddef>
#include <ostream>

namespace ornet5 {

namespace {

// Whole rows go out together when rows were kept back; the bound keeps
// each write short enough to land as one piece beside other writers.
constexpr std::size_t kBatchBytes = 64 * 1024;

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    std::string result(text.begin(), text.end());
    // A control byte in a folder name must not break the one line.
    for (char& c : result) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '?';
        }
    }
    return result;
}

std::string Reason(const TDiskFailure& failure) {
    switch (failure.kind) {
        case TDiskError::NoSpace:
            return "нет места на диске";
        case TDiskError::AccessDenied:
            return "нет прав на запись";
        case TDiskError::NotFound:
            return "папка не найдена или не создаётся";
        default:
            return failure.systemText.empty() ? "неизвестная ошибка" : failure.systemText;
    }
}

int MonthOf(const TLocalTime& time) {
    const TCivilTime civil = CivilTime(time);
    return civil.year * 12 + static_cast<int>(civil.month) - 1;
}

}  // namespace

std::string JournalFailureText(const std::filesystem::path& place, const TDiskFailure& failure) {
    return "ORNET5: журнал не записывается в " + Utf8Path(place) + ": " + Reason(failure);
}

TJournalWriter::TJournalWriter(std::filesystem::path folder, std::ostream& diagnostics,
                               TJournalDisk& disk, TJournalWriterOptions options)
    : folder_(std::move(folder)), diagnostics_(diagnostics), disk_(disk), options_(options) {}

bool TJournalWriter::Append(const TJournalRow& row) noexcept {
    try {
        pending_.push_back({MonthOf(row.time), JournalRowText(row)});
        if (WritePending()) {
            return true;
        }
        Trim();
        return false;
    } catch (...) {
        // Out of memory while formatting or keeping: this row is lost, but
        // polling goes on.
        return false;
    }
}

void TJournalWriter::Trim() {
    if (pending_.size() <= options_.pendingLimit) {
        return;
    }
    const std::size_t excess = pending_.size() - options_.pendingLimit;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(excess));
    dropped_ += excess;
    if (!dropReported_) {
        diagnostics_ << "ORNET5: журнал давно не записывается; самые старые из несохранённых "
                        "строк отбрасываются"
                     << std::endl;
        dropReported_ = true;
    }
}

bool TJournalWriter::WritePending() {
    while (!pending_.empty()) {
        if (!OpenFile(pending_.front().month)) {
            return false;
        }
        std::size_t rowsWritten = 0;
        const TDiskFailure failure = WriteBatch(rowsWritten);
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(rowsWritten));
        if (failure) {
            Fail(filePath_, failure);
            file_.reset();
            return false;
        }
        if ((pending_.empty() || pending_.front().month != fileMonth_) && !EndFile()) {
            return false;
        }
    }
    reportedPlace_.clear();
    dropReported_ = false;
    return true;
}

// The file stays open only while one call writes its rows (EndFile closes
// it), so each call opens whatever file the journal's path names then.
bool TJournalWriter::OpenFile(int month) {
    if (file_ && fileMonth_ == month) {
        return true;
    }
    file_.reset();
    const std::filesystem::path path =
        folder_ / JournalFileName(month / 12, static_cast<unsigned>(month % 12 + 1));
    TDiskFailure failure;
    file_ = disk_.OpenForAppend(path, failure);
    if (!file_ && failure.kind == TDiskError::NotFound) {
        if (const TDiskFailure folderFailure = disk_.CreateFolder(folder_)) {
            Fail(folder_, folderFailure);
            return false;
        }
        if (const TDiskFailure createFailure = disk_.CreateFileOnce(path, kJournalHeader)) {
            Fail(path, createFailure);
            return false;
        }
        file_ = disk_.OpenForAppend(path, failure);
    }
    if (!file_) {
        Fail(path, failure);
        return false;
    }
    fileMonth_ = month;
    filePath_ = path;
    return true;
}

// Writes the leading run of kept rows that belong to the open file, as
// many as one batch holds; rowsWritten counts those that reached the file
// whole. A row cut short stays kept and is written whole later, after the
// line end that the next check adds.
TDiskFailure TJournalWriter::WriteBatch(std::size_t& rowsWritten) {
    rowsWritten = 0;
    struct TLockGuard {
        TAppendFile& file;
        const bool held = file.Lock();
        ~TLockGuard() {
            if (held) {
                file.Unlock();
            }
        }
    } lock{*file_};
    bool endsWithLineEnd = true;
    if (const TDiskFailure failure = file_->CheckLineEnd(endsWithLineEnd)) {
        return failure;
    }
    batch_.assign(endsWithLineEnd ? "" : "\r\n");
    std::size_t rows = 0;
    for (const TPendingRow& row : pending_) {
        if (row.month != fileMonth_ ||
            (rows > 0 && batch_.size() + row.text.size() > kBatchBytes)) {
            break;
        }
        batch_ += row.text;
        ++rows;
    }
    std::size_t written = 0;
    const TDiskFailure failure = file_->Append(batch_, written);
    std::size_t end = endsWithLineEnd ? 0 : 2;
    for (std::size_t i = 0; i < rows && end + pending_[i].text.size() <= written; ++i) {
        end += pending_[i].text.size();
        ++rowsWritten;
    }
    return failure;
}

// Closed after each call's rows: a file that the user moves away or
// deletes while the program runs gets no more rows, and the next row makes
// the month's file anew. Rows already written cannot be taken back, so a
// failed sync only reports.
bool TJournalWriter::EndFile() {
    const TDiskFailure failure = options_.durable ? file_->Sync() : TDiskFailure{};
    file_.reset();
    if (failure) {
        Fail(filePath_, failure);
        return false;
    }
    return true;
}

void TJournalWriter::Fail(const std::filesystem::path& place, const TDiskFailure& failure) {
    if (place == reportedPlace_ && failure == reportedFailure_) {
        return;
    }
    diagnostics_ << JournalFailureText(place, failure) << std::endl;
    reportedPlace_ = place;
    reportedFailure_ = failure;
}

}  // namespace ornet5
