// Feeds any bytes to the settings file reader and writer: no crash, reads
// within the length limit, and a write that changes exactly one key.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini_text.h"

namespace {

constexpr std::string_view kSections[] = {"TTrelanADCFace", "Other", "A"};
constexpr std::string_view kKeys[] = {"FormVersion", "NormPos", "A", "B"};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckReads(std::string_view content) {
    for (const std::string_view section : kSections) {
        for (const std::string_view key : kKeys) {
            if (const auto value = ornet5::FindProfileValue(content, section, key)) {
                Require(value->size() <= ornet5::kMaxProfileValueLength);
                Require(value->find_first_of(std::string_view("\0\n", 2)) == std::string::npos);
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
