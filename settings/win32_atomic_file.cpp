#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "settings/atomic_file.h"
#include "settings/win32_handle.h"

namespace ornet5 {

namespace fs = std::filesystem;

namespace {

bool ReadAll(HANDLE file, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(buffer, got);
    }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The path whose content is to change: a link's target, not the link.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path target = fs::weakly_canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

void RemoveStaleTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    const auto limit = fs::file_time_type::clock::now() - kStaleTemporaryAge;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code timeError;
        const auto written = it->last_write_time(timeError);
        if (name.starts_with(prefix) && !timeError && written < limit) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& file : stale) {
        fs::remove(file, error);
    }
}

// The read-only attribute is the user's "do not change this file"; the
// move below would honour it too, but saying so here keeps the rule in one
// place with the POSIX build's permission check. A missing file may be
// created.
bool MayReplace(const fs::path& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0;
}

// A new temporary file beside target; CREATE_NEW never takes over a name
// that exists, so concurrent saves each get their own.
fs::path CreateTemporary(const fs::path& target, std::string_view bytes) {
    static std::uint32_t counter = 0;
    const fs::path folder = target.parent_path();
    const std::string prefix = TemporaryFilePrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            folder / (prefix + std::to_string(::GetCurrentProcessId()) + "-" +
                      std::to_string(++counter) + "-" + std::to_string(::GetTickCount64()));
        TWin32Handle file(::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid()) {
            if (::GetLastError() == ERROR_FILE_EXISTS) {
                continue;
            }
            return {};
        }
        const bool ok = WriteAll(file.Get(), bytes) && ::FlushFileBuffers(file.Get()) != 0;
        if (file.Close() && ok) {
            return candidate;
        }
        ::DeleteFileW(candidate.c_str());
        return {};
    }
    return {};
}

}  // namespace

TFileBytes ReadFileBytes(const fs::path& path) {
    TWin32Handle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? TFileReadStatus::Missing : TFileReadStatus::Failed, {}};
    }
    // Only a file on a disk is read: a pipe or a device might never end.
    TFileBytes content{TFileReadStatus::Read, {}};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK || !ReadAll(file.Get(), content.bytes)) {
        return {TFileReadStatus::Failed, {}};
    }
    return content;
}

std::string TemporaryFilePrefix(const fs::path& path) {
    return "." + path.filename().string() + ".tmp-";
}

bool ReplaceFileBytes(const fs::path& path, std::string_view bytes) {
    std::error_code error;
    const fs::path target = fs::absolute(ResolveTarget(path), error);
    if (error || !MayReplace(target)) {
        return false;
    }
    const fs::path folder = target.parent_path();
    fs::create_directories(folder, error);
    RemoveStaleTemporaries(folder, TemporaryFilePrefix(target));
    const fs::path temporary = CreateTemporary(target, bytes);
    if (temporary.empty()) {
        return false;
    }
    // Within one folder the move replaces the file in one step; write-through
    // returns only once the change is on the disk.
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace ornet5
