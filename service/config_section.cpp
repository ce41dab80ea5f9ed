#include "service/config_section.h"

#include <algorithm>
#include <limits>

#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view BeforeComment(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ';' && (i == 0 || IsBlank(text[i - 1]))) {
            return text.substr(0, i);
        }
    }
    return text;
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::string KnownKeysText(std::span<const std::string_view> knownKeys) {
    std::string text;
    for (const std::string_view key : knownKeys) {
        text += text.empty() ? "" : ", ";
        text += key;
    }
    return text;
}

}  // namespace

void TConfigFaults::Add(std::size_t line, std::string_view section, std::string_view key,
                        std::string_view what) {
    std::string text = fileName_;
    if (line > 0) {
        text += ':' + std::to_string(line);
    }
    text += ": ";
    if (!section.empty()) {
        text += '[';
        text += section;
        text += ']';
    }
    if (!key.empty()) {
        text += section.empty() ? "" : " ";
        text += key;
    }
    if (!section.empty() || !key.empty()) {
        text += ": ";
    }
    text += what;
    faults_.emplace_back(line, std::move(text));
}

std::vector<std::string> TConfigFaults::Lines() const {
    auto sorted = faults_;
    const auto order = [](std::size_t line) {
        return line == 0 ? std::numeric_limits<std::size_t>::max() : line;
    };
    std::stable_sort(sorted.begin(), sorted.end(), [&order](const auto& a, const auto& b) {
        return order(a.first) < order(b.first);
    });
    std::vector<std::string> lines;
    for (auto& fault : sorted) {
        lines.push_back(std::move(fault.second));
    }
    return lines;
}

TConfigSection::TConfigSection(const TIniSectionLines& section,
                               std::span<const std::string_view> knownKeys, TConfigFaults& faults)
    : section_(section), faults_(faults) {
    for (const TIniKeyLine& line : section.keys) {
        if (line.key.empty()) {
            faults_.Add(line.line, section.name, "", "a line with no key before '='");
            continue;
        }
        const auto known = std::find_if(knownKeys.begin(), knownKeys.end(),
                                        [&line](auto key) { return SameTextAscii(key, line.key); });
        if (known == knownKeys.end()) {
            faults_.Add(line.line, section.name, line.key,
                        "unknown key (known: " + KnownKeysText(knownKeys) + ")");
            continue;
        }
        if (const TValue* first = Written(line.key)) {
            faults_.Add(line.line, section.name, line.key,
                        "already set at line " + std::to_string(first->line));
            continue;
        }
        TValue value{line.line, line.key, {}, false};
        if (!line.value) {
            faults_.Add(line.line, section.name, line.key, "no '=' and no value");
        } else {
            value.text = DropEnclosingQuotes(TrimBlanks(BeforeComment(*line.value)));
            value.usable = !HasControlCharacter(value.text);
            if (!value.usable) {
                faults_.Add(line.line, section.name, line.key,
                            "the value holds a control character");
            }
        }
        values_.push_back(std::move(value));
    }
}

const TConfigSection::TValue* TConfigSection::Written(std::string_view key) const {
    const auto found = std::find_if(values_.begin(), values_.end(), [key](const TValue& value) {
        return SameTextAscii(value.key, key);
    });
    return found == values_.end() ? nullptr : &*found;
}

const TConfigSection::TValue* TConfigSection::Find(std::string_view key) const {
    const TValue* value = Written(key);
    return value != nullptr && value->usable && !value->text.empty() ? value : nullptr;
}

const TConfigSection::TValue* TConfigSection::Require(std::string_view key) {
    const TValue* value = Written(key);
    if (value == nullptr) {
        faults_.Add(section_.line, section_.name, key, "missing");
    } else if (value->usable && value->text.empty()) {
        faults_.Add(value->line, section_.name, value->key, "empty");
    }
    return Find(key);
}

void TConfigSection::Fault(const TValue& value, std::string_view what) {
    faults_.Add(value.line, section_.name, value.key, what);
}

}  // namespace ornet5
