#include "service/config_values.h"

#include <algorithm>
#include <limits>

#include "common/decimal_text.h"
#include "common/int_text.h"
#include "journal/alarm.h"
#include "settings/ascii_text.h"

namespace ornet5 {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool AllOf(std::string_view text, bool (*test)(char)) {
    return std::all_of(text.begin(), text.end(), test);
}

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

// Each piece of text between separators, empty ones included.
template <typename Visit>
bool AllPieces(std::string_view text, char separator, Visit visit) {
    for (;;) {
        const std::size_t end = text.find(separator);
        if (!visit(text.substr(0, end))) {
            return false;
        }
        if (end == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(end + 1);
    }
}

bool IsIpv4Address(std::string_view text) {
    int parts = 0;
    const bool partsValid = AllPieces(text, '.', [&parts](std::string_view part) {
        ++parts;
        return !part.empty() && part.size() <= 3 && AllOf(part, IsDigit) &&
               TryStrToInt(part).value_or(256) <= 255;
    });
    return partsValid && parts == 4;
}

// The number of 16-bit groups in one side of an IPv6 address's "::"; a
// trailing IPv4 address counts as two. None when a group is malformed.
std::optional<int> Ipv6Groups(std::string_view text, bool ipv4Allowed) {
    if (text.empty()) {
        return 0;
    }
    int groups = 0;
    const bool valid = AllPieces(text, ':', [&](std::string_view group) {
        const bool last = group.data() + group.size() == text.data() + text.size();
        if (last && ipv4Allowed && IsIpv4Address(group)) {
            groups += 2;
            return true;
        }
        ++groups;
        return !group.empty() && group.size() <= 4 && AllOf(group, IsHexDigit);
    });
    return valid ? std::optional<int>(groups) : std::nullopt;
}

bool IsIpv6Address(std::string_view text) {
    constexpr int kGroups = 8;
    const std::size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        return Ipv6Groups(text, true) == kGroups;
    }
    if (text.find("::", gap + 1) != std::string_view::npos) {
        return false;
    }
    const auto head = Ipv6Groups(text.substr(0, gap), false);
    const auto tail = Ipv6Groups(text.substr(gap + 2), true);
    return head && tail && *head + *tail < kGroups;
}

bool IsHostNameCharacter(char c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == '_';
}

bool IsHostName(std::string_view text) {
    constexpr std::size_t kMaxName = 253;
    constexpr std::size_t kMaxLabel = 63;
    // Digits and dots alone read as an IPv4 address, never as a name.
    if (text.empty() || text.size() > kMaxName ||
        AllOf(text, [](char c) { return IsDigit(c) || c == '.'; })) {
        return false;
    }
    return AllPieces(text, '.', [](std::string_view label) {
        return !label.empty() && label.size() <= kMaxLabel && AllOf(label, IsHostNameCharacter);
    });
}

// A byte that continues a UTF-8 sequence.
bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The bytes of the UTF-8 sequence that lead starts; 0 for a byte that
// cannot start one (a continuation byte, the lead of an overlong two-byte
// form, or a lead beyond U+10FFFF).
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead < 0xC2) {
        return 0;
    }
    if (lead < 0xE0) {
        return 2;
    }
    if (lead < 0xF0) {
        return 3;
    }
    return lead < 0xF5 ? 4 : 0;
}

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = SequenceLength(lead);
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(text[i + k]))) {
                return false;
            }
        }
        if (length > 2) {
            const auto second = static_cast<unsigned char>(text[i + 1]);
            const bool overlong =
                (lead == 0xE0 && second < 0xA0) || (lead == 0xF0 && second < 0x90);
            const bool outside =
                (lead == 0xED && second >= 0xA0) || (lead == 0xF4 && second >= 0x90);
            if (overlong || outside) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

void RequireUtf8(std::string_view text) {
    if (!IsUtf8(text)) {
        throw EConfigValueError(Quoted(text) + " is not UTF-8 text");
    }
}

}  // namespace

bool ParseBoolean(std::string_view text) {
    if (SameTextAscii(text, "True")) {
        return true;
    }
    if (SameTextAscii(text, "False")) {
        return false;
    }
    throw EConfigValueError(Quoted(text) + " is not True or False");
}

std::int32_t ParseWholeNumber(std::string_view text, std::int32_t min, std::int32_t max) {
    const auto number = AllOf(text, IsDigit) ? TryStrToInt(text) : std::nullopt;
    if (!number || *number < min || *number > max) {
        if (max == std::numeric_limits<std::int32_t>::max()) {
            throw EConfigValueError(Quoted(text) + " is not a whole number from " +
                                    std::to_string(min) + " on");
        }
        throw EConfigValueError(Quoted(text) + " is not a whole number from " +
                                std::to_string(min) + " to " + std::to_string(max));
    }
    return *number;
}

std::uint16_t ParsePortNumber(std::string_view text) {
    return static_cast<std::uint16_t>(
        ParseWholeNumber(text, 1, std::numeric_limits<std::uint16_t>::max()));
}

std::filesystem::path ParseAbsolutePath(std::string_view text) {
    if (!text.starts_with('/')) {
        throw EConfigValueError(Quoted(text) + " is not an absolute path");
    }
    return std::filesystem::path(text);
}

std::string ParseHost(std::string_view text) {
    if (!IsHostName(text) && !IsIpv4Address(text) && !IsIpv6Address(text)) {
        throw EConfigValueError(Quoted(text) + " is not a host name or an IP address");
    }
    return std::string(text);
}

TListenAddress ParseListenAddress(std::string_view text) {
    std::string_view host;
    std::string_view port;
    bool hostValid = false;
    if (text.starts_with('[')) {
        const std::size_t close = text.find("]:");
        if (close != std::string_view::npos) {
            host = text.substr(1, close - 1);
            port = text.substr(close + 2);
            hostValid = IsIpv6Address(host);
        }
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        hostValid = IsIpv4Address(host) || IsHostName(host);
    }
    if (port.empty()) {
        throw EConfigValueError(Quoted(text) + " is not HOST:PORT");
    }
    if (!hostValid) {
        throw EConfigValueError(Quoted(host) + " is not an IPv4 address, a host name or [IPv6]");
    }
    return {std::string(host), ParsePortNumber(port)};
}

double ParseThreshold(std::string_view text) {
    // The settings file of the desktop takes "," as well; one spelling here
    // keeps the files of many sites alike.
    const auto value =
        text.find(',') == std::string_view::npos ? ParseDecimalText(text) : std::nullopt;
    if (!value) {
        throw EConfigValueError(Quoted(text) + " is not a number written with '.'");
    }
    if (!IsValidAlarmThreshold(*value)) {
        throw EConfigValueError(Quoted(text) + " is not above zero");
    }
    return *value;
}

std::string ParseSite(std::string_view text) {
    RequireUtf8(text);
    if (text.find_first_of("+#/") != std::string_view::npos) {
        throw EConfigValueError(Quoted(text) + " holds '+', '#' or '/'");
    }
    return std::string(text);
}

std::string ParseTopicPrefix(std::string_view text) {
    RequireUtf8(text);
    if (text.find_first_of("+#") != std::string_view::npos) {
        throw EConfigValueError(Quoted(text) + " holds '+' or '#'");
    }
    if (text.starts_with('$')) {
        throw EConfigValueError(Quoted(text) +
                                " starts with '$', which brokers keep for themselves");
    }
    if (!AllPieces(text, '/', [](std::string_view level) { return !level.empty(); })) {
        throw EConfigValueError(Quoted(text) + " has an empty topic level");
    }
    return std::string(text);
}

std::string ParseDetectorId(std::string_view text) {
    if (text.empty() || !AllOf(text, IsHostNameCharacter)) {
        throw EConfigValueError(Quoted(text) + " is not an id of letters, digits, - and _");
    }
    return std::string(text);
}

std::string ParseDetectorPort(std::string_view text) {
    if (!text.starts_with('/') && !ComPortNumber(text)) {
        throw EConfigValueError(Quoted(text) + " is not a device path or COMn");
    }
    return std::string(text);
}

std::optional<int> ComPortNumber(std::string_view port) {
    constexpr std::string_view kComWord = "COM";
    if (port.size() <= kComWord.size() ||
        !SameTextAscii(port.substr(0, kComWord.size()), kComWord)) {
        return std::nullopt;
    }
    const std::string_view digits = port.substr(kComWord.size());
    const auto number = AllOf(digits, IsDigit) ? TryStrToInt(digits) : std::nullopt;
    if (!number || *number < 1) {
        return std::nullopt;
    }
    return number;
}

}  // namespace ornet5
