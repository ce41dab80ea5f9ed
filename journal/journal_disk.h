#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace ornet5 {

// Why a journal file or folder could not be written.
enum class TDiskError {
    None,
    // The disk (or the user's quota) is full.
    NoSpace,
    // The user may not write there.
    AccessDenied,
    // A part of the path is missing or is not a folder.
    NotFound,
    Other,
};

struct TDiskFailure {
    TDiskError kind = TDiskError::None;
    // The OS's own words, for Other.
    std::string systemText;

    explicit operator bool() const { return kind != TDiskError::None; }
    friend bool operator==(const TDiskFailure&, const TDiskFailure&) = default;
};

// A journal file opened for true appends: every write lands at the file's
// end as one piece, whatever other processes append to the same file at
// the same time. Closed when destroyed.
class TAppendFile {
  public:
    virtual ~TAppendFile() = default;
    // Takes the file's writer lock, which every journal writer holds
    // around CheckLineEnd and Append: without it, a row that another writer
    // is copying in could look like a line cut short. Blocks while another
    // writer holds it, which is for one write. False when the file system
    // keeps no locks: the rows are still appended whole, only a check may
    // then see another writer's row half copied.
    virtual bool Lock() = 0;
    // Releases a lock that Lock took.
    virtual void Unlock() = 0;
    // Sets endsWithLineEnd to false when the file holds bytes and its last
    // one is not a line feed (a write was cut short). Two short reads of
    // the file's end.
    virtual TDiskFailure CheckLineEnd(bool& endsWithLineEnd) = 0;
    // One append write of the bytes. written is the count that reached the
    // file: all of them on success, possibly some on failure (a full disk).
    virtual TDiskFailure Append(std::string_view bytes, std::size_t& written) = 0;
    // Blocks until everything written is on the disk (fdatasync,
    // FlushFileBuffers).
    virtual TDiskFailure Sync() = 0;
};

// The OS calls of the journal writer. Every call reports its failure as a
// result and never throws.
class TJournalDisk {
  public:
    virtual ~TJournalDisk() = default;
    // Creates the folder and its missing parents; an existing one is fine.
    virtual TDiskFailure CreateFolder(const std::filesystem::path& folder) = 0;
    // Puts a file holding content (durably) at path unless a file of that
    // name exists already; never replaces one, never leaves a file with
    // part of content, even when several processes try at once. Success
    // when the file exists afterwards, whoever made it.
    virtual TDiskFailure CreateFileOnce(const std::filesystem::path& file,
                                        std::string_view content) = 0;
    // Opens an existing file for appending; nothing, with the failure, when
    // it cannot be opened (NotFound when it does not exist).
    virtual std::unique_ptr<TAppendFile> OpenForAppend(const std::filesystem::path& file,
                                                       TDiskFailure& failure) = 0;
};

// The OS's own files.
TJournalDisk& SystemJournalDisk();

}  // namespace ornet5
