#include "measure/port_open_log.h"

#include <ostream>

namespace ornet5 {

namespace {

// The device path and the system's text come from outside the program (a
// link name, the locale's messages); a control byte in them must neither
// break the one line nor drive the user's terminal.
std::string Printable(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return result;
}

std::string Reason(const TOpenFailure& failure) {
    switch (failure.kind) {
        case TSerialError::NotFound:
            return "устройство не найдено";
        case TSerialError::AccessDenied:
            return "нет прав доступа; добавьте пользователя в группу dialout "
                   "(sudo usermod -aG dialout $USER) и войдите в систему заново";
        case TSerialError::Busy:
            return "порт занят другой программой";
        default:
            return failure.systemText.empty() ? "неизвестная ошибка"
                                              : Printable(failure.systemText);
    }
}

}  // namespace

std::string OpenFailureText(const TOpenFailure& failure) {
    const std::string device = failure.device.empty() ? "?" : Printable(failure.device);
    return "ORNET5: порт " + device + " не открывается: " + Reason(failure);
}

TPortOpenLog::TPortOpenLog(TSerialPort& port, std::ostream& out) : port_(port), out_(out) {}

bool TPortOpenLog::SendText(const std::string& bytes) {
    return port_.SendText(bytes);
}

std::uint32_t TPortOpenLog::ReadBytes(char* buffer, std::uint32_t maximum) {
    return port_.ReadBytes(buffer, maximum);
}

void TPortOpenLog::SetPort(TPortNumber value) {
    port_.SetPort(value);
}

void TPortOpenLog::SetBaudRateValue(std::uint32_t value) {
    port_.SetBaudRateValue(value);
}

bool TPortOpenLog::OpenPort() {
    if (port_.OpenPort()) {
        reported_ = {};
        return true;
    }
    TOpenFailure failure = port_.LastOpenFailure();
    // A port that failed without naming a reason has still failed: the
    // user hears of it once, as an unknown error.
    if (failure.kind == TSerialError::None) {
        failure.kind = TSerialError::Other;
    }
    if (failure != reported_) {
        out_ << OpenFailureText(failure) << std::endl;
        reported_ = failure;
    }
    return false;
}

void TPortOpenLog::ClosePort() {
    port_.ClosePort();
}

bool TPortOpenLog::IsOpen() const {
    return port_.IsOpen();
}

TOpenFailure TPortOpenLog::LastOpenFailure() const {
    return port_.LastOpenFailure();
}

}  // namespace ornet5
