#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <string>

#include "common/win32_handle.h"
#include "common/win32_utf8.h"
#include "journal/journal_disk.h"

namespace ornet5 {

namespace {

TDiskFailure FailureOf(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return {TDiskError::NoSpace, {}};
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT:
            return {TDiskError::AccessDenied, {}};
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DIRECTORY:
        case ERROR_BAD_PATHNAME:
        case ERROR_INVALID_NAME:
            return {TDiskError::NotFound, {}};
        default:
            return {TDiskError::Other, Win32ErrorText(error)};
    }
}

TDiskFailure LastFailure() {
    return FailureOf(::GetLastError());
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring TemporaryName(const std::filesystem::path& file) {
    static std::atomic<unsigned> attempt{0};
    return L"." + file.filename().wstring() + L"." + std::to_wstring(::GetCurrentProcessId()) +
           L"." + std::to_wstring(attempt++) + L".tmp";
}

TDiskFailure WriteNewFile(const std::filesystem::path& file, std::string_view content) {
    const TWin32Handle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.IsValid()) {
        return LastFailure();
    }
    DWORD written = 0;
    if (!::WriteFile(handle.Get(), content.data(), static_cast<DWORD>(content.size()), &written,
                     nullptr)) {
        return LastFailure();
    }
    if (written != content.size()) {
        return {TDiskError::NoSpace, {}};
    }
    return ::FlushFileBuffers(handle.Get()) ? TDiskFailure{} : LastFailure();
}

class TWin32AppendFile final : public TAppendFile {
  public:
    explicit TWin32AppendFile(HANDLE handle) : handle_(handle) {}

    // A lock on a byte far past any journal's end serves as the writers'
    // lock: it keeps no one from reading or writing the rows.
    bool Lock() override {
        OVERLAPPED place = LockPlace();
        return ::LockFileEx(handle_.Get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place) != 0;
    }

    void Unlock() override {
        OVERLAPPED place = LockPlace();
        ::UnlockFileEx(handle_.Get(), 0, 1, 0, &place);
    }

    TDiskFailure CheckLineEnd(bool& endsWithLineEnd) override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handle_.Get(), &size)) {
            return LastFailure();
        }
        char last = '\n';
        if (size.QuadPart > 0) {
            const ULONGLONG at = static_cast<ULONGLONG>(size.QuadPart - 1);
            OVERLAPPED place{};
            place.Offset = static_cast<DWORD>(at & 0xffffffff);
            place.OffsetHigh = static_cast<DWORD>(at >> 32);
            DWORD read = 0;
            if (!::ReadFile(handle_.Get(), &last, 1, &read, &place)) {
                return LastFailure();
            }
        }
        endsWithLineEnd = last == '\n';
        return {};
    }

    // The handle may only append, and the offset of all ones asks for the
    // file's end besides: the system moves to the end and writes as one
    // step, so other processes' rows never land inside this one.
    TDiskFailure Append(std::string_view bytes, std::size_t& written) override {
        OVERLAPPED end{};
        end.Offset = 0xffffffff;
        end.OffsetHigh = 0xffffffff;
        DWORD count = 0;
        const BOOL done = ::WriteFile(handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                      &count, &end);
        written = count;
        if (!done) {
            return LastFailure();
        }
        return written == bytes.size() ? TDiskFailure{} : TDiskFailure{TDiskError::NoSpace, {}};
    }

    TDiskFailure Sync() override {
        return ::FlushFileBuffers(handle_.Get()) ? TDiskFailure{} : LastFailure();
    }

  private:
    static OVERLAPPED LockPlace() {
        OVERLAPPED place{};
        place.Offset = 0xffffffff;
        place.OffsetHigh = 0x7fffffff;
        return place;
    }

    TWin32Handle handle_;
};

class TWin32JournalDisk final : public TJournalDisk {
  public:
    // Parents first; a folder that another writer made meanwhile is fine.
    TDiskFailure CreateFolder(const std::filesystem::path& folder) override {
        if (IsFolder(folder)) {
            return {};
        }
        const std::filesystem::path parent = folder.parent_path();
        if (!parent.empty() && parent != folder) {
            if (TDiskFailure failure = CreateFolder(parent)) {
                return failure;
            }
        }
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            return {};
        }
        const DWORD error = ::GetLastError();
        return error == ERROR_ALREADY_EXISTS && IsFolder(folder) ? TDiskFailure{}
                                                                 : FailureOf(error);
    }

    // A move without MOVEFILE_REPLACE_EXISTING fails when the name is
    // taken, and the file it moves is already complete: of several
    // processes starting the same month, exactly one header lands.
    TDiskFailure CreateFileOnce(const std::filesystem::path& file,
                                std::string_view content) override {
        const std::filesystem::path temporary = file.parent_path() / TemporaryName(file);
        TDiskFailure failure = WriteNewFile(temporary, content);
        if (!failure && !::MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_WRITE_THROUGH)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
                failure = FailureOf(error);
            }
        }
        ::DeleteFileW(temporary.c_str());
        return failure;
    }

    // Append and read access only (no FILE_WRITE_DATA), so every write
    // goes to the end; shared, so that a second copy of the program and
    // any reader can open the file at the same time.
    std::unique_ptr<TAppendFile> OpenForAppend(const std::filesystem::path& file,
                                               TDiskFailure& failure) override {
        const HANDLE handle = ::CreateFileW(
            file.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            failure = LastFailure();
            return nullptr;
        }
        failure = {};
        return std::make_unique<TWin32AppendFile>(handle);
    }
};

}  // namespace

TJournalDisk& SystemJournalDisk() {
    static TWin32JournalDisk disk;
    return disk;
}

}  // namespace ornet5
