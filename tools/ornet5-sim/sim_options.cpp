#include "tools/ornet5-sim/sim_options.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "common/config_home.h"
#include "common/int_text.h"
#include "link/device_address.h"
#include "tools/ornet5-sim/reading_encoder.h"

namespace ornet5 {

namespace {

// A delay longer than this is a typing error, not a slow detector.
constexpr std::int32_t kMaxDelayMs = 600000;

// Each handler returns an error message, empty when the value is good.
using TValueHandler = std::function<std::string(TSimOptions&, std::string_view)>;
using TFlagHandler = std::function<void(TSimOptions&)>;

std::string Quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

std::string SetAddress(TSimOptions& options, std::string_view text) {
    try {
        options.address = ParseDeviceAddress(text);
    } catch (const EFormatError&) {
        return "--address: " + Quoted(text) + " is not a device address a.b.c (numbers 0 to 255)";
    }
    options.addressText = std::string(text);
    return {};
}

std::optional<double> ParseDouble(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::string SetReading(TSimOptions& options, std::string_view text) {
    const std::optional<double> value = ParseDouble(text);
    if (!value || !std::isfinite(*value) || *value < 0) {
        return "--reading: " + Quoted(text) + " is not a dose rate of 0 or more in µSv/h";
    }
    const std::optional<std::uint16_t> word = EncodeReading(*value);
    if (!word) {
        return "--reading: " + Quoted(text) +
               " cannot be sent as a reading (0, or 1e-32 to 9.99e31 µSv/h)";
    }
    options.fixedWord = *word;
    return {};
}

std::string SetWord(TSimOptions& options, std::string_view text) {
    const bool hasPrefix = text.starts_with('$') || text.starts_with('x') ||
                           text.starts_with('X') || text.starts_with("0x") ||
                           text.starts_with("0X");
    const std::string hexText = hasPrefix ? std::string(text) : "$" + std::string(text);
    const std::optional<std::int32_t> value = TryStrToInt(hexText);
    if (text.empty() || !value || *value < 0 || *value > 0xFFFF) {
        return "--word: " + Quoted(text) + " is not a hexadecimal word 0 to FFFF";
    }
    options.fixedWord = static_cast<std::uint16_t>(*value);
    return {};
}

std::string SetRandomStart(TSimOptions& options, std::string_view text) {
    const std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value || *value < 0) {
        return "--random-start: " + Quoted(text) + " is not a number 0 to 2147483647";
    }
    options.randomStart = static_cast<std::uint32_t>(*value);
    return {};
}

TValueHandler DelaySetter(std::string name, std::chrono::milliseconds TSimOptions::*member) {
    return [name, member](TSimOptions& options, std::string_view text) -> std::string {
        const std::optional<std::int32_t> value = TryStrToInt(text);
        if (!value || *value < 0 || *value > kMaxDelayMs) {
            return name + ": " + Quoted(text) + " is not a number of milliseconds 0 to " +
                   std::to_string(kMaxDelayMs);
        }
        options.*member = std::chrono::milliseconds(*value);
        return {};
    };
}

const std::map<std::string, TValueHandler, std::less<>>& ValueOptions() {
    static const std::map<std::string, TValueHandler, std::less<>> options = {
        {"--link",
         [](TSimOptions& o, std::string_view text) -> std::string {
             if (text.empty()) {
                 return "--link: the path is empty";
             }
             o.linkPath = std::string(text);
             return {};
         }},
        {"--address", SetAddress},
        {"--reading", SetReading},
        {"--word", SetWord},
        {"--random-start", SetRandomStart},
        {"--late", DelaySetter("--late", &TSimOptions::late)},
        {"--split-pause", DelaySetter("--split-pause", &TSimOptions::splitPause)},
        {"--babble", DelaySetter("--babble", &TSimOptions::babble)},
    };
    return options;
}

const std::map<std::string, TFlagHandler, std::less<>>& FlagOptions() {
    static const std::map<std::string, TFlagHandler, std::less<>> options = {
        {"--help", [](TSimOptions& o) { o.help = true; }},
        {"-h", [](TSimOptions& o) { o.help = true; }},
        {"--silent", [](TSimOptions& o) { o.silent = true; }},
        {"--bad-header-checksum", [](TSimOptions& o) { o.badHeaderChecksum = true; }},
        {"--bad-data-checksum", [](TSimOptions& o) { o.badDataChecksum = true; }},
        {"--split", [](TSimOptions& o) { o.split = true; }},
    };
    return options;
}

std::optional<std::string> DefaultLinkPath(const TSimEnvironment& environment) {
    const auto folder = ConfigHome(environment.xdgConfigHome, environment.home);
    if (!folder) {
        return std::nullopt;
    }
    return *folder + "/ornet5/com3";
}

// Applies args[index] (and its value); returns the index of the next
// argument, or an error.
std::variant<std::size_t, TOptionsError> ApplyOption(std::span<const std::string_view> args,
                                                     std::size_t index, TSimOptions& options,
                                                     bool& wordOrReadingSeen) {
    std::string_view arg = args[index];
    std::optional<std::string_view> inlineValue;
    if (const std::size_t equals = arg.find('='); arg.starts_with("--") && equals != arg.npos) {
        inlineValue = arg.substr(equals + 1);
        arg = arg.substr(0, equals);
    }
    if (const auto flag = FlagOptions().find(arg); flag != FlagOptions().end()) {
        if (inlineValue) {
            return TOptionsError{std::string(arg) + " takes no value"};
        }
        flag->second(options);
        return index + 1;
    }
    const auto valued = ValueOptions().find(arg);
    if (valued == ValueOptions().end()) {
        return TOptionsError{"unknown option " + Quoted(args[index]) + " (see --help)"};
    }
    if (!inlineValue && index + 1 >= args.size()) {
        return TOptionsError{std::string(arg) + " needs a value (see --help)"};
    }
    if (arg == "--reading" || arg == "--word") {
        if (wordOrReadingSeen) {
            return TOptionsError{"give only one of --reading and --word"};
        }
        wordOrReadingSeen = true;
    }
    const std::string_view value = inlineValue ? *inlineValue : args[index + 1];
    if (std::string error = valued->second(options, value); !error.empty()) {
        return TOptionsError{error};
    }
    return index + (inlineValue ? 1 : 2);
}

}  // namespace

TOptionsResult ParseSimOptions(std::span<const std::string_view> args,
                               const TSimEnvironment& environment) {
    TSimOptions options;
    options.address = ParseDeviceAddress(options.addressText);
    bool wordOrReadingSeen = false;
    std::size_t index = 0;
    while (index < args.size()) {
        auto next = ApplyOption(args, index, options, wordOrReadingSeen);
        if (auto* error = std::get_if<TOptionsError>(&next)) {
            return *error;
        }
        index = std::get<std::size_t>(next);
    }
    if (options.linkPath.empty() && !options.help) {
        const std::optional<std::string> path = DefaultLinkPath(environment);
        if (!path) {
            return TOptionsError{
                "no default link path: set XDG_CONFIG_HOME or HOME, or use --link"};
        }
        options.linkPath = *path;
    }
    return options;
}

std::string SimHelpText() {
    return R"(Usage: ornet5-sim [options]

Simulates an ORNET-5 gamma dose-rate detector on a pseudo-terminal, for
running the monitor without a detector. The pseudo-terminal is linked at a
path that the monitor opens as its serial port (COM3 by default).

It answers the identify request (command 0, parameter 0) with a 14-byte
reply carrying its own address, and the read-dose request (command 6,
parameter 13) with a 21-byte reply carrying a packed-decimal reading: a
gamma background of about 0.10 to 0.20 µSv/h with noise, unless a fixed
reading is given. Every frame's header and data checksums are checked;
other frames and garbage are ignored and logged.

Each request and reply is logged in hexadecimal on stderr with the time and
the line speed that the monitor set. Once the link is in place one line
"ready <pseudo-terminal> linked at <link path>" is written to stderr.
SIGINT or SIGTERM removes the link and ends the program with exit code 0.

Options:
  --link PATH          where to put the link to the pseudo-terminal
                       (default $XDG_CONFIG_HOME/ornet5/com3, where
                       XDG_CONFIG_HOME defaults to ~/.config); the parent
                       folder is created; an existing file that is not a
                       link is never replaced
  --address A.B.C      own device address (default 4.2.31)
  --reading VALUE      answer every read-dose request with this dose rate
                       in µSv/h (sent with 3 significant digits)
  --word HEX           answer every read-dose request with this packed-
                       decimal word, e.g. FC7B for 0.123 µSv/h
  --random-start N     start of the background sequence (0 or more; the
                       same N gives the same readings); default: a new
                       sequence each run
  --silent             never answer
  --bad-header-checksum  corrupt the header checksum of every reply
  --bad-data-checksum  corrupt the data checksum of every read-dose reply
                       (the identify reply has none)
  --split              write every reply in two pieces
  --split-pause MS     pause between the two pieces (default 300; the
                       monitor's read ends after 200 ms of quiet)
  --late MS            wait MS milliseconds before answering (default 0)
  --babble MS          send one junk byte every MS milliseconds, so that
                       the line never falls quiet (default 0: off)
  -h, --help           show this text

Option values may also be given as --option=VALUE.
Exit codes: 0 after SIGINT or SIGTERM (or --help), 1 when the pseudo-
terminal or the link cannot be set up, 2 for a bad option.
)";
}

}  // namespace ornet5
