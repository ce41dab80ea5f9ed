#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>

#include "common/posix_descriptor.h"
#include "journal/journal_disk.h"

namespace ornet5 {

namespace {

TDiskFailure FailureOf(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return {TDiskError::NoSpace, {}};
        case EACCES:
        case EPERM:
        case EROFS:
            return {TDiskError::AccessDenied, {}};
        case ENOENT:
        case ENOTDIR:
            return {TDiskError::NotFound, {}};
        default:
            return {TDiskError::Other, std::strerror(error)};
    }
}

TDiskFailure LastFailure() {
    return FailureOf(errno);
}

TDiskFailure WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return LastFailure();
        }
        // A file that takes nothing without saying why has no room.
        if (written == 0) {
            return {TDiskError::NoSpace, {}};
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

// A file that only this process writes: its name says the process and
// the attempt, and the dot keeps it out of a plain listing.
std::string TemporaryName(const std::filesystem::path& file) {
    static std::atomic<unsigned> attempt{0};
    return "." + file.filename().string() + "." + std::to_string(::getpid()) + "." +
           std::to_string(attempt++) + ".tmp";
}

// The new name's folder entry reaches the disk only with the folder's own
// sync. A folder that cannot be synced (some file systems refuse) still
// holds the file.
void SyncFolder(const std::filesystem::path& folder) {
    const TPosixDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0) {
        ::fsync(fd.Get());
    }
}

TDiskFailure WriteNewFile(const std::filesystem::path& file, std::string_view content) {
    const TPosixDescriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                     S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH));
    if (fd.Get() < 0) {
        return LastFailure();
    }
    if (TDiskFailure failure = WriteAll(fd.Get(), content)) {
        return failure;
    }
    return ::fdatasync(fd.Get()) == 0 ? TDiskFailure{} : LastFailure();
}

class TPosixAppendFile final : public TAppendFile {
  public:
    explicit TPosixAppendFile(int fd) : fd_(fd) {}

    // flock() locks belong to the open file, so two writers conflict even
    // inside one process.
    bool Lock() override {
        int result = 0;
        do {
            result = ::flock(fd_.Get(), LOCK_EX);
        } while (result != 0 && errno == EINTR);
        return result == 0;
    }

    void Unlock() override { ::flock(fd_.Get(), LOCK_UN); }

    TDiskFailure CheckLineEnd(bool& endsWithLineEnd) override {
        struct stat status {};
        if (::fstat(fd_.Get(), &status) != 0) {
            return LastFailure();
        }
        char last = '\n';
        if (status.st_size > 0 && ::pread(fd_.Get(), &last, 1, status.st_size - 1) != 1) {
            return LastFailure();
        }
        endsWithLineEnd = last == '\n';
        return {};
    }

    // O_APPEND moves to the end and writes as one step, so rows of other
    // processes never land inside this one. A short count (a full disk) is
    // left as it is: writing the rest later could put it behind another
    // process's row.
    TDiskFailure Append(std::string_view bytes, std::size_t& written) override {
        written = 0;
        ssize_t count = -1;
        do {
            count = ::write(fd_.Get(), bytes.data(), bytes.size());
        } while (count < 0 && errno == EINTR);
        if (count < 0) {
            return LastFailure();
        }
        written = static_cast<std::size_t>(count);
        return written == bytes.size() ? TDiskFailure{} : TDiskFailure{TDiskError::NoSpace, {}};
    }

    TDiskFailure Sync() override {
        return ::fdatasync(fd_.Get()) == 0 ? TDiskFailure{} : LastFailure();
    }

  private:
    TPosixDescriptor fd_;
};

class TPosixJournalDisk final : public TJournalDisk {
  public:
    TDiskFailure CreateFolder(const std::filesystem::path& folder) override {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return error ? FailureOf(error.value()) : TDiskFailure{};
    }

    // link() gives the file its name only when the name is free, and the
    // file it names is already complete: of several processes starting the
    // same month, exactly one header lands.
    TDiskFailure CreateFileOnce(const std::filesystem::path& file,
                                std::string_view content) override {
        const std::filesystem::path temporary = file.parent_path() / TemporaryName(file);
        TDiskFailure failure = WriteNewFile(temporary, content);
        if (!failure && ::link(temporary.c_str(), file.c_str()) != 0 && errno != EEXIST) {
            failure = LastFailure();
        }
        ::unlink(temporary.c_str());
        if (!failure) {
            SyncFolder(file.parent_path());
        }
        return failure;
    }

    std::unique_ptr<TAppendFile> OpenForAppend(const std::filesystem::path& file,
                                               TDiskFailure& failure) override {
        const int fd = ::open(file.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
        if (fd < 0) {
            failure = LastFailure();
            return nullptr;
        }
        failure = {};
        return std::make_unique<TPosixAppendFile>(fd);
    }
};

}  // namespace

TJournalDisk& SystemJournalDisk() {
    static TPosixJournalDisk disk;
    return disk;
}

}  // namespace ornet5
