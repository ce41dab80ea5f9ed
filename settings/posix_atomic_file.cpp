#include "settings/atomic_file.h"
#include "settings/atomic_file_steps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace ornet5 {

namespace fs = std::filesystem;

namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The one place that forces written data to the disk.
bool FlushToDisk(int fd) {
    return ::fsync(fd) == 0;
}

// Makes the rename itself survive a power loss; a failure here leaves the
// new content in place, so it is not reported.
void FlushFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        FlushToDisk(fd);
        ::close(fd);
    }
}

bool InFileGroup(gid_t group) {
    if (::getegid() == group) {
        return true;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    // The list may have changed between the two calls; only what was filled counts.
    const int listed = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::clamp(listed, 0, static_cast<int>(groups.size()))));
    return std::ranges::find(groups, group) != groups.end();
}

}  // namespace

// The rename needs no write permission on the file itself, so it would
// replace a file that its user made read-only. Only the write bit of the
// class that applies (owner, group, others) counts, for root too: access()
// lets root write anything, but a file without that bit is meant to stay
// as it is. A missing file may be created.
bool MayReplace(const fs::path& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return true;
    }
    if (info.st_uid == ::geteuid()) {
        return (info.st_mode & S_IWUSR) != 0;
    }
    if (InFileGroup(info.st_gid)) {
        return (info.st_mode & S_IWGRP) != 0;
    }
    return (info.st_mode & S_IWOTH) != 0;
}

namespace {

// The new file keeps the permissions of the one it replaces.
void CopyMode(int fd, const fs::path& from) {
    struct stat info {};
    if (::stat(from.c_str(), &info) == 0) {
        ::fchmod(fd, info.st_mode & 07777);
    }
}

}  // namespace

// Writes bytes into a new temporary file in folder; its path, or empty.
fs::path WriteTemporary(const fs::path& target, std::string_view bytes) {
    const fs::path folder = target.parent_path();
    std::string pattern = (folder / TemporaryFilePrefix(target)).string() + "XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    CopyMode(fd, target);
    const bool ok = WriteAll(fd, bytes) && FlushToDisk(fd);
    const bool closed = ::close(fd) == 0;
    if (!ok || !closed) {
        ::unlink(pattern.c_str());
        return {};
    }
    return pattern;
}

TFileBytes ReadFileBytes(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return {TFileReadStatus::Missing, {}};
    }
    // Only a regular file is read: a pipe would block the program and a
    // device such as /dev/zero would never end.
    if (error || status.type() != fs::file_type::regular) {
        return {TFileReadStatus::Failed, {}};
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {TFileReadStatus::Failed, {}};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        return {TFileReadStatus::Failed, {}};
    }
    return {TFileReadStatus::Read, std::move(bytes).str()};
}

bool MoveOver(const fs::path& temporary, const fs::path& target) {
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    FlushFolder(target.parent_path());
    return true;
}

}  // namespace ornet5
