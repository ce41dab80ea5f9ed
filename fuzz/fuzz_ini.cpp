// Feeds any bytes to the settings file reader and writer: no crash, reads
// within the length limit, a write that changes exactly one key, and a
// whole-file reading that finds each key where a read of that key does.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ascii_text.h"
#include "settings/ini_document.h"
#include "settings/ini_text.h"

namespace {

constexpr std::string_view kSections[] = {"TTrelanADCFace", "Other", "A"};
constexpr std::string_view kKeys[] = {"FormVersion", "NormPos", "A", "B"};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The key as the whole-file reading has it: in the first section of its
// name, the first line of that key.
std::optional<std::string> DocumentValue(const ornet5::TIniDocument& document,
                                         std::string_view section, std::string_view key) {
    for (const auto& lines : document.sections) {
        if (!ornet5::SameTextAscii(lines.name, section)) {
            continue;
        }
        for (const auto& line : lines.keys) {
            if (ornet5::SameTextAscii(line.key, key)) {
                return line.value;
            }
        }
        return std::nullopt;
    }
    return std::nullopt;
}

void CheckReads(std::string_view content) {
    const ornet5::TIniDocument document = ornet5::ReadIniDocument(content);
    for (const std::string_view section : kSections) {
        for (const std::string_view key : kKeys) {
            const auto value = ornet5::FindProfileValue(content, section, key);
            const auto inDocument = DocumentValue(document, section, key);
            Require(value.has_value() == inDocument.has_value());
            if (value) {
                Require(value->size() <= ornet5::kMaxProfileValueLength);
                Require(value->find_first_of(std::string_view("\0\n", 2)) == std::string::npos);
                Require(
                    std::string_view(ornet5::DropEnclosingQuotes(*inDocument)).starts_with(*value));
            }
        }
    }
}

// Every key but the written one reads as before; the written one as written.
void CheckWrite(std::string_view content, std::size_t choice) {
    const std::string_view section = kSections[choice % 3];
    const std::string_view key = kKeys[(choice / 3) % 4];
    const std::string_view value = "1,2,3,4";
    const std::string written = ornet5::SetProfileValue(content, section, key, value);
    for (const std::string_view otherSection : kSections) {
        for (const std::string_view otherKey : kKeys) {
            const auto after = ornet5::FindProfileValue(written, otherSection, otherKey);
            if (otherSection == section && otherKey == key) {
                Require(after == value);
            } else {
                Require(after == ornet5::FindProfileValue(content, otherSection, otherKey));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    CheckReads(content);
    CheckWrite(content, size == 0 ? 0 : data[0]);
    return 0;
}
