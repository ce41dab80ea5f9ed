#include "serial/line_settings.h"

namespace ornet5 {

namespace {

constexpr char kXonChar = 0x11;
constexpr char kXoffChar = 0x13;

TRtsControl RtsControlFor(THwFlowControl hwFlow) {
    switch (hwFlow) {
        case hfNONE:
            return TRtsControl::Disable;
        case hfRTSCTS:
            return TRtsControl::Handshake;
        case hfNONERTSON:
            break;
    }
    return TRtsControl::Enable;
}

}  // namespace

TLineSettings MakeLineSettings(const TLineProperties& properties) {
    TLineSettings settings;
    settings.BaudRate = properties.baudRateValue;
    settings.fBinary = true;
    settings.fDtrControl = properties.enableDtrOnOpen ? TDtrControl::Enable : TDtrControl::Disable;
    settings.fRtsControl = RtsControlFor(properties.hwFlow);
    settings.fOutxCtsFlow = properties.hwFlow == hfRTSCTS;
    settings.fOutX = properties.swFlow == sfXONXOFF;
    settings.fInX = settings.fOutX;
    // The buffer size is at most 8192, so a quarter always fits 16 bits.
    settings.XonLim = static_cast<std::uint16_t>(properties.inBufSize / 4);
    settings.XoffLim = settings.XonLim;
    settings.ByteSize = static_cast<std::uint8_t>(5 + static_cast<int>(properties.dataBits));
    settings.Parity = static_cast<std::uint8_t>(properties.parity);
    settings.StopBits = static_cast<std::uint8_t>(properties.stopBits);
    settings.XonChar = kXonChar;
    settings.XoffChar = kXoffChar;
    return settings;
}

}  // namespace ornet5
