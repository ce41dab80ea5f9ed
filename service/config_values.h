#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "common/exception.h"

namespace ornet5 {

// The value rules of the service's configuration file. Each Parse function
// takes a value's text as the file's reader hands it over (never empty:
// an empty value takes the key's default before any rule is asked) and
// returns what it means, or throws EConfigValueError whose message says
// what is wrong in a few words, for the fault line of that key.

class EConfigValueError : public Exception {
  public:
    using Exception::Exception;
};

// Where a TCP server listens. host is a host name, an IPv4 address or an
// IPv6 address (without the brackets the text needs around it).
struct TListenAddress {
    std::string host;
    std::uint16_t port = 0;

    bool operator==(const TListenAddress&) const = default;
};

// "True" or "False" in any letter case.
bool ParseBoolean(std::string_view text);

// Decimal digits only (no sign, no hexadecimal, no blanks), from min to max.
std::int32_t ParseWholeNumber(std::string_view text, std::int32_t min, std::int32_t max);

// A TCP port, 1 to 65535.
std::uint16_t ParsePortNumber(std::string_view text);

// The service runs from "/": a relative path would depend on where a check
// was started, so only an absolute one is taken.
std::filesystem::path ParseAbsolutePath(std::string_view text);

// A host name (letters, digits, "-" and "_" in labels of up to 63 bytes
// joined by "."), an IPv4 address or an IPv6 address, as the MQTT client
// takes it.
std::string ParseHost(std::string_view text);

// HOST:PORT, where HOST is an IPv4 address, a host name or [IPv6].
TListenAddress ParseListenAddress(std::string_view text);

// A dose rate threshold in µSv/h: a number above zero written with ".".
double ParseThreshold(std::string_view text);

// The site names one level of the MQTT topics and a Prometheus label value:
// UTF-8 without "+", "#" (MQTT's wildcards) or "/" (the level separator).
std::string ParseSite(std::string_view text);

// The first levels of every MQTT topic: UTF-8 without "+" or "#", no empty
// level, and not starting with "$", which brokers keep for themselves.
std::string ParseTopicPrefix(std::string_view text);

// A detector's id: ASCII letters, digits, "-" and "_". It names a topic
// level, a label value and a journal folder, so nothing else is safe.
std::string ParseDetectorId(std::string_view text);

// A detector's port: an absolute device path, or COMn (n from 1, "COM" in
// any letter case) resolved as the desktop edition resolves it.
std::string ParseDetectorPort(std::string_view text);

// The n of a port written COMn; none for a device path.
std::optional<int> ComPortNumber(std::string_view port);

}  // namespace ornet5
