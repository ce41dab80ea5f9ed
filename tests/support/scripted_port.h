#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "serial/serial_port.h"
#include "tests/support/manual_environment.h"

namespace ornet5::test {

// A serial port without an OS: the line is a queue of bursts; each read
// takes at most one burst (a part of it when the maximum is smaller) and
// moves the environment's clock on as the driver's idle rule would. What
// each write brings back is scripted, as are the open's outcome and errors.
class TScriptedPort : public TSerialPort {
  public:
    explicit TScriptedPort(TManualEnvironment& environment) : environment_(environment) {}

    // The bursts that the n-th write (from 0) puts on the line.
    void AnswerWrite(std::size_t write, std::vector<std::string> bursts) {
        if (answers_.size() <= write) {
            answers_.resize(write + 1);
        }
        answers_[write] = std::move(bursts);
    }
    void AnswerEveryWrite(std::vector<std::string> bursts) { everyAnswer_ = std::move(bursts); }
    void PutOnLine(std::string burst) { line_.push_back(std::move(burst)); }

    // TBytePort
    bool SendText(const std::string& bytes) override {
        if (!open_) {
            return bytes.empty();
        }
        sent.push_back(bytes);
        const std::size_t write = sent.size() - 1;
        const auto& bursts =
            write < answers_.size() && answers_[write] ? *answers_[write] : everyAnswer_;
        line_.insert(line_.end(), bursts.begin(), bursts.end());
        return true;
    }
    std::uint32_t ReadBytes(char* buffer, std::uint32_t maximum) override {
        if (!open_) {
            return 0;
        }
        readMaximums.push_back(maximum);
        if (throwOnRead) {
            throw std::runtime_error("line gone");
        }
        if (line_.empty()) {
            environment_.Advance(emptyReadTime);
            return 0;
        }
        std::string& burst = line_.front();
        const std::size_t count = std::min<std::size_t>(burst.size(), maximum);
        std::memcpy(buffer, burst.data(), count);
        burst.erase(0, count);
        if (burst.empty()) {
            line_.pop_front();
        }
        environment_.Advance(dataReadTime);
        return static_cast<std::uint32_t>(count);
    }

    // TSerialPort
    void SetPort(TPortNumber value) override { portsSet.push_back(value); }
    void SetBaudRateValue(std::uint32_t value) override { speedsSet.push_back(value); }
    bool OpenPort() override {
        ++openCalls;
        open_ = open_ || opens;
        return open_;
    }
    void ClosePort() override {
        ++closeCalls;
        open_ = false;
    }
    bool IsOpen() const override { return open_; }

    // How long a read takes with nothing on the line, and with a burst.
    std::chrono::milliseconds emptyReadTime{200};
    std::chrono::milliseconds dataReadTime{200};
    bool opens = true;
    bool throwOnRead = false;

    std::vector<std::string> sent;
    std::vector<std::uint32_t> readMaximums;
    std::vector<TPortNumber> portsSet;
    std::vector<std::uint32_t> speedsSet;
    int openCalls = 0;
    int closeCalls = 0;

  private:
    TManualEnvironment& environment_;
    std::deque<std::string> line_;
    std::vector<std::optional<std::vector<std::string>>> answers_;
    std::vector<std::string> everyAnswer_;
    bool open_ = false;
};

}  // namespace ornet5::test
