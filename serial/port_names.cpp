#include "serial/port_names.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "common/int_text.h"

namespace ornet5 {

namespace {

constexpr std::string_view kDevicePrefix = R"(\\.\)";
constexpr std::string_view kComWord = "COM";

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

bool StartsWithComPrefix(std::string_view text) {
    if (text.size() < kDevicePrefix.size() + kComWord.size() ||
        text.substr(0, kDevicePrefix.size()) != kDevicePrefix) {
        return false;
    }
    const std::string_view word = text.substr(kDevicePrefix.size(), kComWord.size());
    return std::equal(word.begin(), word.end(), kComWord.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

}  // namespace

std::string ComPortName(int number) {
    return std::string(kDevicePrefix) + "COM" + std::to_string(number);
}

std::optional<int> ParseComPortName(const std::string& name) {
    if (!StartsWithComPrefix(name)) {
        return std::nullopt;
    }
    const std::string_view digits =
        std::string_view(name).substr(kDevicePrefix.size() + kComWord.size());
    // Only plain decimal digits name a port; the integer conversion would
    // also take blanks, signs and hexadecimal forms.
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDecimalDigit)) {
        return std::nullopt;
    }
    const auto number = TryStrToInt(digits);
    if (!number || *number < 1) {
        return std::nullopt;
    }
    return *number;
}

}  // namespace ornet5
