#include "settings/ini_text.h"

#include "settings/ascii_text.h"
#include "settings/ini_line.h"

namespace ornet5 {

namespace {

// New lines end as the file's lines do when it uses CR alone, else with
// CR LF.
std::string_view LineEndFor(std::string_view content) {
    const bool crOnly = content.find('\r') != std::string_view::npos &&
                        content.find('\n') == std::string_view::npos;
    return crOnly ? "\r" : "\r\n";
}

// What text needs after it so that a new line can follow.
std::string_view LineBreakAfter(std::string_view text, std::string_view lineEnd) {
    const bool ended = text.empty() || text.ends_with('\n') || text.ends_with('\r');
    return ended ? std::string_view() : lineEnd;
}

// Where a key stands in the content, as far as it was found.
struct TKeyLocation {
    bool sectionFound = false;
    std::size_t insertAt = 0;  // after the section's last non-blank line
    std::optional<TIniLineSpan> keyLine;
    std::optional<std::string_view> value;
};

TKeyLocation LocateKey(std::string_view content, std::string_view section, std::string_view key) {
    TKeyLocation location;
    bool inSection = false;
    for (std::size_t begin = 0; begin < content.size();) {
        const TIniLineSpan line = IniLineAt(content, begin);
        begin = line.end;
        const TIniLine parsed =
            ClassifyIniLine(content.substr(line.begin, line.textEnd - line.begin));
        if (parsed.kind == TIniLineKind::Section) {
            if (location.sectionFound) {
                break;
            }
            inSection = SameTextAscii(parsed.name, section);
        }
        if (!inSection) {
            continue;
        }
        if (parsed.kind == TIniLineKind::Section) {
            location.sectionFound = true;
        }
        if (parsed.kind != TIniLineKind::Blank) {
            location.insertAt = line.end;
        }
        const bool isKey =
            parsed.kind == TIniLineKind::Entry || parsed.kind == TIniLineKind::KeyWithoutValue;
        if (isKey && SameTextAscii(parsed.name, key)) {
            location.keyLine = line;
            if (parsed.kind == TIniLineKind::Entry) {
                location.value = parsed.value;
            }
            return location;
        }
    }
    return location;
}

bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string EntryLine(std::string_view key, std::string_view value, std::string_view lineEnd) {
    std::string line(key);
    line += '=';
    line += value;
    line += lineEnd;
    return line;
}

bool LastLineIsBlank(std::string_view content) {
    std::string_view last;
    for (std::size_t begin = 0; begin < content.size();) {
        const TIniLineSpan line = IniLineAt(content, begin);
        last = content.substr(line.begin, line.textEnd - line.begin);
        begin = line.end;
    }
    return TrimBlanks(last).empty();
}

// The text that a new section adds at the end of content: the section is
// set off from the one before by a blank line.
std::string NewSection(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value, std::string_view lineEnd) {
    std::string text(LineBreakAfter(content, lineEnd));
    if (!content.empty() && !LastLineIsBlank(content)) {
        text += lineEnd;
    }
    text += '[';
    text += section;
    text += ']';
    text += lineEnd;
    text += EntryLine(key, value, lineEnd);
    return text;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    const TKeyLocation location = LocateKey(content, section, key);
    if (!location.value) {
        return std::nullopt;
    }
    std::string_view value = DropEnclosingQuotes(*location.value);
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, kMaxProfileValueLength));
}

bool IsWritableProfileEntry(std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string_view trimmedKey = TrimBlanks(key);
    const std::string_view trimmedSection = TrimBlanks(section);
    return !trimmedKey.empty() && !trimmedSection.empty() && !HasLineBreakOrZero(section) &&
           !HasLineBreakOrZero(key) && !HasLineBreakOrZero(value) &&
           key.find('=') == std::string_view::npos && trimmedKey.front() != ';' &&
           trimmedKey.front() != '[' && section.find(']') == std::string_view::npos;
}

std::string SetProfileValue(std::string_view content, std::string_view section,
                            std::string_view key, std::string_view value) {
    const TKeyLocation location = LocateKey(content, section, key);
    const std::string_view lineEnd = LineEndFor(content);
    std::string result;
    if (location.keyLine) {
        result.append(content.substr(0, location.keyLine->begin));
        result += EntryLine(key, value, lineEnd);
        result.append(content.substr(location.keyLine->end));
    } else if (location.sectionFound) {
        const std::string_view before = content.substr(0, location.insertAt);
        result.append(before);
        result += LineBreakAfter(before, lineEnd);
        result += EntryLine(key, value, lineEnd);
        result.append(content.substr(location.insertAt));
    } else {
        result.append(content);
        result += NewSection(content, section, key, value, lineEnd);
    }
    return result;
}

}  // namespace ornet5
