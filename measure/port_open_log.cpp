#include "measure/port_open_log.h"

#include <ostream>
#include <utility>

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

std::string Reason(const TOpenFailure& failure, const std::string& accessAdvice) {
    switch (failure.kind) {
        case TSerialError::NotFound:
            return "устройство не найдено";
        case TSerialError::AccessDenied:
            return accessAdvice.empty() ? "нет прав доступа" : "нет прав доступа; " + accessAdvice;
        case TSerialError::Busy:
            return "порт занят другой программой";
        default:
            return failure.systemText.empty() ? "неизвестная ошибка"
                                              : Printable(failure.systemText);
    }
}

}  // namespace

std::string OpenFailureText(const TOpenFailure& failure, const std::string& accessAdvice) {
    const std::string device = failure.device.empty() ? "?" : Printable(failure.device);
    return "ORNET5: порт " + device + " не открывается: " + Reason(failure, accessAdvice);
}

TPortOpenLog::TPortOpenLog(TSerialPort& port, std::ostream& out, std::string accessAdvice)
    : TForwardingPort(port), out_(out), accessAdvice_(std::move(accessAdvice)) {}

bool TPortOpenLog::OpenPort() {
    if (Forwarded().OpenPort()) {
        reported_ = {};
        return true;
    }
    TOpenFailure failure = Forwarded().LastOpenFailure();
    // A port that failed without naming a reason has still failed: the
    // user hears of it once, as an unknown error.
    if (failure.kind == TSerialError::None) {
        failure.kind = TSerialError::Other;
    }
    if (failure != reported_) {
        out_ << OpenFailureText(failure, accessAdvice_) << std::endl;
        reported_ = failure;
    }
    return false;
}

}  // namespace ornet5
