#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "common/local_time.h"

namespace ornet5 {

// Years of the program's diagnostics at their usual rate (a line when a
// port's reason changes), yet small enough to open in any text editor.
inline constexpr std::uintmax_t kDiagnosticLogCapBytes = 1024 * 1024;

struct TDiagnosticLogSettings {
    // The log file; empty for none: the lines then reach only echo.
    std::filesystem::path file;
    // A line that would take the file past this size starts a new file
    // instead: the full one becomes "<file>.1", replacing an older one, so
    // the log never holds more than about twice the cap.
    std::uintmax_t capBytes = kDiagnosticLogCapBytes;
    std::function<TLocalTime()> now = [] { return LocalTimeAt(std::chrono::system_clock::now()); };
    // Hears every line, its time included and its line end left out,
    // whether the file takes it or not; may be empty.
    std::function<void(const std::string&)> echo;
};

// Where a program without a console tells its diagnostics: a stream whose
// every line, ended by '\n' (std::endl), becomes one line
// "2026-12-08T14:03:21.482+03:00 <text>" appended to the log file (CR LF,
// for the Windows editors that read it) and passed to the echo. The file
// and its folder are made at the first line that needs them and opened
// for that line only, so a log that another copy of the program rotated,
// or that the user deleted, is simply started again.
//
// Writing never fails and never throws: a file that cannot be written
// (its folder cannot be made, no rights, a full disk) loses the line for
// the file only, the echo still gets it, and the next line tries the file
// again. The echo hears once, when the file starts failing, that it does.
// Empty lines are left out. For one thread; writes block for the file's
// open, append and close.
class TDiagnosticLog : public std::ostream {
  public:
    explicit TDiagnosticLog(TDiagnosticLogSettings settings);
    // A last line left without its '\n' is written as a line of its own.
    ~TDiagnosticLog() override;
    TDiagnosticLog(const TDiagnosticLog&) = delete;
    TDiagnosticLog& operator=(const TDiagnosticLog&) = delete;

  private:
    class TLineBuffer;
    std::unique_ptr<TLineBuffer> buffer_;
};

}  // namespace ornet5
