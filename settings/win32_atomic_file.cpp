#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

#include "common/win32_handle.h"
#include "settings/atomic_file.h"
#include "settings/atomic_file_steps.h"

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

}  // namespace

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
fs::path WriteTemporary(const fs::path& target, std::string_view bytes) {
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

// Within one folder the move replaces the file in one step; write-through
// returns only once the change is on the disk.
bool MoveOver(const fs::path& temporary, const fs::path& target) {
    if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace ornet5
