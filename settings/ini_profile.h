#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// <windows.h> makes WriteProfileString a macro for the Win32 function of the
// win.ini file, which would rename this layer's function in Windows code.
#ifdef WriteProfileString
#undef WriteProfileString
#endif

namespace ornet5 {

// Private profile (INI) file access by key, as the program's settings file
// needs it; the text rules are those of ini_text.h. Nothing is cached:
// every read reads the file and every write replaces it.

// The key's value, or defaultValue (cut to the same length limit) when the
// file, the section or the key is missing or the file cannot be read.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// Sets the key, creating the file, the section and the key as needed; the
// rest of the file keeps its bytes. The file is replaced as a whole
// (atomic_file.h). False when the entry cannot be written as one line, the
// existing file cannot be read, or the replacement fails.
bool WriteProfileString(const std::filesystem::path& file, std::string_view section,
                        std::string_view key, std::string_view value);

}  // namespace ornet5
