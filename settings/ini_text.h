#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// The text rules of a private profile (INI) file, on the file's bytes.
//
// A section starts at a line "[name]"; a key line is "key=value". Section
// and key names match without regard to letter case (ASCII), and blanks
// around names and values do not count. A line whose first non-blank
// character is ";" is a comment. Lines end with CR LF, LF or a lone CR. When
// a section or a key occurs twice, the first one counts.

// Longest value a read returns, in bytes.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// The value of key in section, read by the profile rules: blanks dropped,
// one enclosing pair of matching quotes (" or ') dropped, cut at a zero
// byte and to kMaxProfileValueLength. Empty when the section or key is
// missing.
std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key);

// True when section, key and value can be written without changing the
// meaning of other lines: no line breaks or zero bytes, a non-empty key
// without "=" that does not start a comment or a section, a non-empty
// section name without "]".
bool IsWritableProfileEntry(std::string_view section, std::string_view key, std::string_view value);

// content with key set to value in section. Only that key's line changes
// (or one line is added for it, after the section's last non-blank line);
// a missing section is added at the end. New lines end with CR LF, or with
// CR in a file whose lines all end so; every other byte of content stays as
// it was. Requires IsWritableProfileEntry.
std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value);

}  // namespace ornet5
