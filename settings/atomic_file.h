#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace ornet5 {

// Whole-file reads, and replacements that a crash cannot leave half done.

enum class TFileReadStatus { Read, Missing, Failed };

struct TFileBytes {
    TFileReadStatus status = TFileReadStatus::Missing;
    std::string bytes;
};

// Missing when the path or a folder on it does not exist; Failed when it
// exists but is not a regular file (a link is followed) or cannot be read.
TFileBytes ReadFileBytes(const std::filesystem::path& path);

// Replaces the file's content with bytes, creating the file and its folder
// as needed. The bytes go to a fresh temporary file in the same folder
// (".<name>.tmp-XXXXXX"), which is flushed to the disk and then renamed
// over the file; so at any moment the file holds either its old or its new
// content in full. A link is followed, so the file it points to is
// replaced. A file whose permission bits do not let this process write it
// (the owner's, group's or others' bit, whichever applies; root included)
// is never replaced. On failure the file is unchanged, the temporary file
// is removed and the result is false.
//
// A temporary file survives only when the process dies between creating
// and renaming it; it is never read, and a later replacement in the same
// folder removes it once it is older than kStaleTemporaryAge.
bool ReplaceFileBytes(const std::filesystem::path& path, std::string_view bytes);

// A replacement takes milliseconds; a temporary file this old belongs to a
// process that died during one, never to a save still running.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// The prefix of the temporary files made for path.
std::string TemporaryFilePrefix(const std::filesystem::path& path);

}  // namespace ornet5
