// ornet5-poll: the monitor's poll cycle without windows, for checking a
// detector (or the simulator) from a console through the real serial
// driver. Every exchange is shown in hexadecimal with the texts the windows
// would show.
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "app/win32/escape_key.h"
#include "app/win32/regional_formats.h"
#include "common/exception.h"
#include "common/int_text.h"
#include "measure/cycle_outcome.h"
#include "measure/poll_cycle.h"
#include "serial/cp_drv.h"
#include "tools/ornet5-poll/logged_port.h"

namespace ornet5 {
namespace {

constexpr const char* kUsage =
    "Usage: ornet5-poll [--port N] [--speed BPS] [--rentgen] [--cycles N] [--period MS]\n"
    "Runs the monitor's poll cycle on COM port N (1 to 8, default 3) at the speed\n"
    "BPS (default 9600), N times (default 2: identify, then read the dose), every\n"
    "MS milliseconds (default 3000), and shows each exchange and the texts the\n"
    "windows would show. --rentgen shows the dose in µR/h. Escape cancels.\n"
    "Exit code: 0 when every cycle got its reply (the first identifies the\n"
    "detector, the others read its dose), 1 when a cycle went unanswered, 2 for\n"
    "wrong arguments, 3 when a cycle ended in an error that the program would\n"
    "report in a box (a speed that is no number, Escape).\n";

// What the exit code says, for scripts and tests that check a line with the
// program: the text above.
enum TExitCode : int {
    kEveryCycleAnswered = 0,
    kCycleUnanswered = 1,
    kWrongArguments = 2,
    kCycleError = 3,
};

struct TPollOptions {
    int port = 3;
    std::string speedText = "9600";
    bool rentgen = false;
    int cycles = 2;
    int periodMs = 3000;
};

std::optional<int> NumberIn(std::string_view text, int low, int high) {
    const std::optional<std::int32_t> value = TryStrToInt(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return *value;
}

// Empty when the arguments are wrong; the reason is on standard error.
std::optional<TPollOptions> ParseOptions(int argc, char** argv) {
    TPollOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--rentgen") {
            options.rentgen = true;
            continue;
        }
        if (i + 1 >= argc) {
            std::cerr << "ornet5-poll: " << name << ": unknown option or missing value\n";
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        std::optional<int> number;
        if (name == "--speed") {
            options.speedText = std::string(value);  // checked by the cycle, as typed text is
            continue;
        } else if (name == "--port" && (number = NumberIn(value, 1, 8))) {
            options.port = *number;
        } else if (name == "--cycles" && (number = NumberIn(value, 1, 1000000))) {
            options.cycles = *number;
        } else if (name == "--period" && (number = NumberIn(value, 0, 3600000))) {
            options.periodMs = *number;
        } else {
            std::cerr << "ornet5-poll: " << name << " " << value << ": not an option and value\n";
            return std::nullopt;
        }
    }
    return options;
}

// The six values of the cycle: the inputs from the options, the results
// written out as they come.
class TPrintedValues : public TPollValues {
  public:
    explicit TPrintedValues(const TPollOptions& options) : options_(options) {}
    int PortIndex() const override { return options_.port - 1; }
    std::string SpeedText() const override { return options_.speedText; }
    bool RentgenChosen() const override { return options_.rentgen; }
    std::string DoseText() const override { return dose_; }
    void SetDoseText(const std::string& text) override {
        dose_ = text;
        std::cout << "dose: " << text << std::endl;
    }
    void SetAddressText(const std::string& text) override {
        std::cout << "address: " << text << std::endl;
    }
    void SetStatusText(const std::string& text) override {
        std::cout << "status: " << text << std::endl;
    }

  private:
    const TPollOptions& options_;
    std::string dose_;
};

// Counts the cycles that got their reply, as the cycle tells how each ended;
// one that never told counts as unanswered.
class TAnsweredCount : public TCycleObserver {
  public:
    void CycleEnded(const TCycleOutcome& outcome) override {
        answered += IsFailedCycle(outcome.status) ? 0 : 1;
    }

    int answered = 0;
};

// What the exchange sees of the console: the Escape key, the steady clock,
// and the status lines, which go where the windows' status bar would show
// them: through the printed values.
class TConsoleEnvironment : public TExchangeEnvironment {
  public:
    explicit TConsoleEnvironment(TPollValues& values) : values_(values) {}
    bool EscapeDown() override { return EscapeKeyDown(); }
    std::chrono::steady_clock::time_point Now() override {
        return std::chrono::steady_clock::now();
    }
    void ShowStatus(const std::string& text) override { values_.SetStatusText(text); }

  private:
    TPollValues& values_;
};

// The cycle closes the port before it returns, so the receive poll, which
// runs only between calls on an open port, never has a tick to take.
class TNoTicks : public TTickSource {
  public:
    void Start(std::chrono::milliseconds, Handler) override {}
    void Stop() override {}
    bool IsRunning() const override { return false; }
};

// The exit code of a run, with the reason for a failure on standard error.
TExitCode Outcome(int cycles, int answered, int errors) {
    if (errors > 0) {
        std::cerr << "ornet5-poll: " << errors << " of " << cycles << " cycles ended in an error\n";
        return kCycleError;
    }
    if (answered < cycles) {
        std::cerr << "ornet5-poll: " << cycles - answered << " of " << cycles
                  << " cycles went unanswered\n";
        return kCycleUnanswered;
    }
    return kEveryCycleAnswered;
}

int Run(const TPollOptions& options) {
    TNoTicks ticks;
    TCPDrv driver(ticks);
    TLoggedPort port(driver, std::cout);
    TPrintedValues values(options);
    TConsoleEnvironment environment(values);
    TWin32RegionalFormats formats;
    TPollCycle cycle(port, values, environment, formats);
    TAnsweredCount count;
    cycle.SetObserver(&count);
    int errors = 0;
    for (int i = 0; i < options.cycles; ++i) {
        if (i > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(options.periodMs));
        }
        std::cout << "cycle " << i + 1 << (cycle.LinkState() ? ": read dose" : ": identify")
                  << std::endl;
        try {
            cycle.TimerTrelanTimer();
        } catch (const Exception& error) {
            // What the program's error report would show.
            std::cout << "error: " << error.what() << std::endl;
            ++errors;
        }
    }
    return Outcome(options.cycles, count.answered, errors);
}

}  // namespace
}  // namespace ornet5

int main(int argc, char** argv) {
    const std::optional<ornet5::TPollOptions> options = ornet5::ParseOptions(argc, argv);
    if (!options) {
        std::cerr << ornet5::kUsage;
        return ornet5::kWrongArguments;
    }
    return ornet5::Run(*options);
}
