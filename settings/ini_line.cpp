#include "settings/ini_line.h"

#include "settings/ascii_text.h"

namespace ornet5 {

TIniLineSpan IniLineAt(std::string_view content, std::size_t begin) {
    const std::size_t lineBreak = content.find_first_of("\r\n", begin);
    if (lineBreak == std::string_view::npos) {
        return {begin, content.size(), content.size()};
    }
    std::size_t end = lineBreak + 1;
    if (content[lineBreak] == '\r' && end < content.size() && content[end] == '\n') {
        ++end;
    }
    return {begin, lineBreak, end};
}

TIniLine ClassifyIniLine(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return {TIniLineKind::Blank, {}, {}};
    }
    if (text.front() == ';') {
        return {TIniLineKind::Comment, {}, {}};
    }
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return {TIniLineKind::Section, TrimBlanks(text.substr(1)), {}, false};
        }
        return {TIniLineKind::Section, TrimBlanks(text.substr(1, close - 1)),
                TrimBlanks(text.substr(close + 1))};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {TIniLineKind::KeyWithoutValue, text, {}};
    }
    return {TIniLineKind::Entry, TrimBlanks(text.substr(0, equals)),
            TrimBlanks(text.substr(equals + 1))};
}

std::string_view DropEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace ornet5
