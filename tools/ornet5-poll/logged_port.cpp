#include "tools/ornet5-poll/logged_port.h"

#include <string_view>

#include "common/hex_text.h"

namespace ornet5 {

void TLoggedPort::SetBaudRateValue(std::uint32_t value) {
    speed_ = value;
    Forwarded().SetBaudRateValue(value);
}

bool TLoggedPort::OpenPort() {
    const bool opened = Forwarded().OpenPort();
    if (opened) {
        log_ << "open, " << speed_ << " bit/s" << std::endl;
    } else {
        const TOpenFailure failure = Forwarded().LastOpenFailure();
        log_ << "open failed: " << failure.device << ": " << failure.systemText << std::endl;
    }
    return opened;
}

void TLoggedPort::ClosePort() {
    Forwarded().ClosePort();
    log_ << "close" << std::endl;
}

bool TLoggedPort::SendText(const std::string& bytes) {
    const bool sent = Forwarded().SendText(bytes);
    log_ << "-> " << HexText(bytes) << (sent ? "" : " (not all written)") << std::endl;
    return sent;
}

std::uint32_t TLoggedPort::ReadBytes(char* buffer, std::uint32_t maximum) {
    const std::uint32_t got = Forwarded().ReadBytes(buffer, maximum);
    log_ << "<- " << (got == 0 ? "(nothing)" : HexText(std::string_view(buffer, got))) << std::endl;
    return got;
}

}  // namespace ornet5
