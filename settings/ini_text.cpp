#include "settings/ini_text.h"

#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

struct TLine {
    std::size_t begin = 0;
    std::size_t textEnd = 0;  // before the line end
    std::size_t end = 0;      // after the line end
};

// The line that starts at begin.
TLine LineAt(std::string_view content, std::size_t begin) {
    const std::size_t newline = content.find('\n', begin);
    TLine line{begin, content.size(), content.size()};
    if (newline != std::string_view::npos) {
        line.textEnd = newline;
        line.end = newline + 1;
        if (line.textEnd > begin && content[line.textEnd - 1] == '\r') {
            --line.textEnd;
        }
    }
    return line;
}

enum class TLineKind { Blank, Comment, Section, Entry, Other };

struct TParsedLine {
    TLineKind kind = TLineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // trimmed, for an entry
};

TParsedLine ParseLine(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) {
        return {TLineKind::Blank, {}, {}};
    }
    if (text.front() == ';') {
        return {TLineKind::Comment, {}, {}};
    }
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        const std::size_t nameEnd = close == std::string_view::npos ? text.size() : close;
        return {TLineKind::Section, TrimBlanks(text.substr(1, nameEnd - 1)), {}};
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        return {TLineKind::Other, {}, {}};
    }
    return {TLineKind::Entry, TrimBlanks(text.substr(0, equals)),
            TrimBlanks(text.substr(equals + 1))};
}

// Where a key stands in the content, as far as it was found.
struct TKeyLocation {
    bool sectionFound = false;
    std::size_t insertAt = 0;  // after the section's last non-blank line
    bool insertNeedsLineEnd = false;
    std::optional<TLine> keyLine;
    std::string_view value;
};

TKeyLocation LocateKey(std::string_view content, std::string_view section, std::string_view key) {
    TKeyLocation location;
    bool inSection = false;
    for (std::size_t begin = 0; begin < content.size();) {
        const TLine line = LineAt(content, begin);
        begin = line.end;
        const TParsedLine parsed = ParseLine(content.substr(line.begin, line.textEnd - line.begin));
        if (parsed.kind == TLineKind::Section) {
            if (location.sectionFound) {
                break;
            }
            inSection = SameTextAscii(parsed.name, section);
        }
        if (!inSection) {
            continue;
        }
        if (parsed.kind == TLineKind::Section) {
            location.sectionFound = true;
        }
        if (parsed.kind != TLineKind::Blank) {
            location.insertAt = line.end;
            location.insertNeedsLineEnd = line.end == line.textEnd;
        }
        if (parsed.kind == TLineKind::Entry && SameTextAscii(parsed.name, key)) {
            location.keyLine = line;
            location.value = parsed.value;
            return location;
        }
    }
    return location;
}

std::string_view DropEnclosingQuotes(std::string_view value) {
    if (value.size() >= 2 && value.front() == value.back() &&
        (value.front() == '"' || value.front() == '\'')) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    line += kLineEnd;
    return line;
}

bool LastLineIsBlank(std::string_view content) {
    if (content.ends_with('\n')) {
        content.remove_suffix(1);
    }
    const std::size_t newline = content.rfind('\n');
    std::string_view last =
        newline == std::string_view::npos ? content : content.substr(newline + 1);
    if (last.ends_with('\r')) {
        last.remove_suffix(1);
    }
    return TrimBlanks(last).empty();
}

// The text that a new section adds at the end of content: the section is
// set off from the one before by a blank line.
std::string NewSection(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value) {
    std::string text;
    if (!content.empty() && !content.ends_with('\n')) {
        text += kLineEnd;
    }
    if (!content.empty() && !LastLineIsBlank(content)) {
        text += kLineEnd;
    }
    text += '[';
    text += section;
    text += ']';
    text += kLineEnd;
    text += EntryLine(key, value);
    return text;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section,
                                            std::string_view key) {
    const TKeyLocation location = LocateKey(content, section, key);
    if (!location.keyLine) {
        return std::nullopt;
    }
    std::string_view value = DropEnclosingQuotes(location.value);
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
    std::string result;
    if (location.keyLine) {
        result.append(content.substr(0, location.keyLine->begin));
        result += EntryLine(key, value);
        result.append(content.substr(location.keyLine->end));
    } else if (location.sectionFound) {
        result.append(content.substr(0, location.insertAt));
        if (location.insertNeedsLineEnd) {
            result += kLineEnd;
        }
        result += EntryLine(key, value);
        result.append(content.substr(location.insertAt));
    } else {
        result.append(content);
        result += NewSection(content, section, key, value);
    }
    return result;
}

}  // namespace ornet5
