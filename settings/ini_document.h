#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_line.h"

namespace ornet5 {

// A whole profile (INI) file as its lines read by the rules of ini_text.h,
// for a reader that checks every section and key and names the line of each
// fault. Nothing is merged: a section or a key that occurs twice is listed
// twice, in file order, so that the reader can say so. Comments and blank
// lines are left out. Lines are numbered from 1; CR LF, LF and a lone CR
// each end one line.

struct TIniKeyLine {
    std::size_t line = 0;
    std::string key;
    // The text after "=" without blanks around it; quotes are kept (see
    // DropEnclosingQuotes), so that a reader may first cut what its own
    // rules make of the text. None for a line without "=".
    std::optional<std::string> value;
};

struct TIniSectionLines {
    std::size_t line = 0;
    std::string name;
    bool closed = true;     // whether the line has its "]"
    std::string afterName;  // what follows the "]", without blanks around it
    std::vector<TIniKeyLine> keys;
};

struct TIniDocument {
    // Keys above the first section, which a profile read never finds.
    std::vector<TIniKeyLine> keysOutsideSections;
    std::vector<TIniSectionLines> sections;
};

TIniDocument ReadIniDocument(std::string_view content);

}  // namespace ornet5
