#pragma once

#include <filesystem>
#include <string_view>

namespace ornet5 {

// The steps of a file replacement that call the operating system, one
// source per platform (posix_atomic_file.cpp, win32_atomic_file.cpp); the
// order around them is the same everywhere (atomic_file.cpp).

// Whether the user left the existing file at target open to changes (a
// missing file may be created).
bool MayReplace(const std::filesystem::path& target);

// A new temporary file beside target, named with TemporaryFilePrefix,
// holding bytes flushed to the disk; its path, or empty on failure (then
// nothing is left behind).
std::filesystem::path WriteTemporary(const std::filesystem::path& target, std::string_view bytes);

// Puts temporary in target's place in one step that a crash cannot leave
// half done, and makes the change durable; on failure temporary is removed
// and target is unchanged.
bool MoveOver(const std::filesystem::path& temporary, const std::filesystem::path& target);

}  // namespace ornet5
