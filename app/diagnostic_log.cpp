#include "app/diagnostic_log.h"

#include <fstream>
#include <streambuf>
#include <string_view>
#include <system_error>
#include <utility>

namespace ornet5 {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// The full file moves aside as "<file>.1". The older one goes first, as
// not every system's rename replaces a file. Should the move fail (another
// program holds the file open without sharing its deletion), the line is
// appended all the same: a log past its cap loses nothing.
void StartNewFile(const std::filesystem::path& file) {
    std::filesystem::path older = file;
    older += ".1";
    std::error_code ignored;
    std::filesystem::remove(older, ignored);
    std::filesystem::rename(file, older, ignored);
}

bool AppendToFile(const std::filesystem::path& file, std::uintmax_t capBytes,
                  const std::string& line) {
    std::error_code error;
    if (file.has_parent_path()) {
        // A folder that cannot be made shows as the open's failure below.
        std::filesystem::create_directories(file.parent_path(), error);
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (!error && size > 0 && size + line.size() + kLineEnd.size() > capBytes) {
        StartNewFile(file);
    }
    std::ofstream out(file, std::ios::binary | std::ios::app);
    out << line << kLineEnd;
    out.close();
    return !out.fail();
}

}  // namespace

// Collects the characters written until a line is complete and then hands
// the line on. Unbuffered: each piece written reaches it at once, so
// nothing waits in a buffer for a flush that may never come.
class TDiagnosticLog::TLineBuffer : public std::streambuf {
  public:
    explicit TLineBuffer(TDiagnosticLogSettings settings) : settings_(std::move(settings)) {}

    void WriteRest() noexcept {
        if (!pending_.empty()) {
            WriteLine();
        }
    }

  protected:
    // Always succeeds: a failed call would set the stream's badbit, and
    // every later line would be dropped without a word.
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char text = traits_type::to_char_type(c);
            xsputn(&text, 1);
        }
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* text, std::streamsize count) override {
        try {
            for (std::streamsize i = 0; i < count; ++i) {
                if (text[i] == '\n') {
                    WriteLine();
                } else {
                    pending_ += text[i];
                }
            }
        } catch (...) {
            // Out of memory: the line in progress is given up.
            pending_.clear();
        }
        return count;
    }

  private:
    void WriteLine() noexcept {
        std::string text = std::move(pending_);
        pending_.clear();
        // A line written with a CR LF end keeps one line end.
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        if (text.empty()) {
            return;
        }
        try {
            const std::string line = LocalTimeText(settings_.now()) + " " + text;
            Echo(line);
            if (settings_.file.empty()) {
                return;
            }
            const bool written = AppendToFile(settings_.file, settings_.capBytes, line);
            if (!written && !fileFailing_) {
                Echo(LocalTimeText(settings_.now()) + " ORNET5: файл диагностики " +
                     Utf8Path(settings_.file) + " не пишется");
            }
            fileFailing_ = !written;
        } catch (...) {
            // Out of memory: the line is lost, the program goes on.
        }
    }

    void Echo(const std::string& line) const {
        if (settings_.echo) {
            settings_.echo(line);
        }
    }

    const TDiagnosticLogSettings settings_;
    std::string pending_;
    bool fileFailing_ = false;
};

TDiagnosticLog::TDiagnosticLog(TDiagnosticLogSettings settings)
    : std::ostream(nullptr), buffer_(std::make_unique<TLineBuffer>(std::move(settings))) {
    rdbuf(buffer_.get());
}

TDiagnosticLog::~TDiagnosticLog() {
    buffer_->WriteRest();
}

}  // namespace ornet5
