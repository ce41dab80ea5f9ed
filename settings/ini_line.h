#pragma once

#include <cstddef>
#include <string_view>

namespace ornet5 {

// One line of a profile (INI) file as the text rules of ini_text.h read it.
// The key-at-a-time access and the whole-file reader both read lines here,
// so that they can never disagree about what a line is.

// Where a line stands in the content: its text and its line end.
struct TIniLineSpan {
    std::size_t begin = 0;
    std::size_t textEnd = 0;  // before the line end
    std::size_t end = 0;      // after the line end
};

// The line that starts at begin. A line ends at CR LF, LF or a lone CR: the
// Windows profile functions end a line at a lone CR too, so a file saved
// with CR-only line ends keeps its keys apart.
TIniLineSpan IniLineAt(std::string_view content, std::size_t begin);

// A line without "=" names a key that has no value: Windows reads the
// default for it, and a write gives it one on that line.
enum class TIniLineKind { Blank, Comment, Section, Entry, KeyWithoutValue };

struct TIniLine {
    TIniLineKind kind = TIniLineKind::Blank;
    std::string_view name;  // section name or key, without blanks around it
    // An entry's value without blanks around it and with its quotes (see
    // DropEnclosingQuotes); for a section, what follows its "]".
    std::string_view value;
    // False for a section line that lacks its "]": the profile rules still
    // take it as a section, up to the line's end.
    bool closed = true;
};

// A line's text, without its line end.
TIniLine ClassifyIniLine(std::string_view text);

// value without one enclosing pair of matching quotes (" or '), as a read
// returns it.
std::string_view DropEnclosingQuotes(std::string_view value);

}  // namespace ornet5
