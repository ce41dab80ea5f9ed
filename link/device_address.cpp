#include "link/device_address.h"

#include <optional>

#include "common/int_text.h"

namespace ornet5 {

namespace {

std::string_view TrimControls(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Splits off the part before the first full stop; empty when there is none.
std::optional<std::string_view> TakeBeforeStop(std::string_view& rest) {
    const auto stop = rest.find('.');
    if (stop == std::string_view::npos) {
        return std::nullopt;
    }
    const auto part = rest.substr(0, stop);
    rest.remove_prefix(stop + 1);
    return part;
}

char AddressByte(std::string_view part) {
    const auto value = TryStrToInt(part);
    if (!value) {
        throw EFormatError(kBadAddressMessage);
    }
    return static_cast<char>(static_cast<std::uint32_t>(*value) & 0xFFu);
}

}  // namespace

std::string ParseDeviceAddress(std::string_view text) {
    std::string_view rest = TrimControls(text);
    const auto first = TakeBeforeStop(rest);
    const auto second = first ? TakeBeforeStop(rest) : std::nullopt;
    if (!first || !second || rest.empty()) {
        throw EFormatError(kBadAddressMessage);
    }
    // The integer conversion rejects empty parts and a third part "3.4".
    return {AddressByte(*first), AddressByte(*second), AddressByte(rest)};
}

std::string DeviceAddressText(std::string_view addressBytes) {
    std::string text;
    for (const char byte : addressBytes) {
        if (!text.empty()) {
            text += '.';
        }
        text += std::to_string(static_cast<unsigned char>(byte));
    }
    return text;
}

}  // namespace ornet5
