// This file exists because the kernel's termios2 structure and its BOTHER
// speed flag come from <asm/termbits.h>, whose definitions clash with the C
// library's <termios.h>. Everything that needs termios2 lives here, and no
// other file of the backend includes <asm/termbits.h>.
#include "serial/posix_termios2.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cerrno>

namespace ornet5 {

namespace {

std::optional<tcflag_t> SizeFlag(std::uint8_t byteSize) {
    switch (byteSize) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        case 8:
            return CS8;
        default:
            return std::nullopt;
    }
}

// Mark and space parity are the odd and even flags with CMSPAR: the parity
// bit is then always 1 (PARODD) or always 0.
std::optional<tcflag_t> ParityFlags(std::uint8_t parity) {
    switch (parity) {
        case 0:
            return 0;
        case 1:
            return PARENB | PARODD;
        case 2:
            return PARENB;
        case 3:
            return PARENB | PARODD | CMSPAR;
        case 4:
            return PARENB | CMSPAR;
        default:
            return std::nullopt;
    }
}

// The UART sends 1.5 stop bits for 5-bit characters when two are asked for;
// Linux has no separate flag for 1.5.
std::optional<tcflag_t> StopFlags(std::uint8_t stopBits) {
    switch (stopBits) {
        case 0:
            return 0;
        case 1:
        case 2:
            return CSTOPB;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<TTermiosFlags> MakeTermiosFlags(const TLineSettings& settings) {
    const auto size = SizeFlag(settings.ByteSize);
    const auto parity = ParityFlags(settings.Parity);
    const auto stop = StopFlags(settings.StopBits);
    if (!size || !parity || !stop || settings.BaudRate == 0) {
        return std::nullopt;
    }
    // Input parity checking stays off (fParity is never set), as do all
    // input and output translations: the line carries binary frames.
    TTermiosFlags flags;
    flags.iflag = (settings.fOutX ? IXON : 0) | (settings.fInX ? IXOFF : 0);
    // HUPCL drops DTR and RTS when the port is closed, as Windows does.
    flags.cflag = CREAD | CLOCAL | HUPCL | BOTHER | (BOTHER << IBSHIFT) | *size | *parity | *stop;
    if (settings.fOutxCtsFlow || settings.fRtsControl == TRtsControl::Handshake) {
        flags.cflag |= CRTSCTS;
    }
    return flags;
}

int SetTermios2(int fd, const TLineSettings& settings) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return errno;
    }
    const auto flags = MakeTermiosFlags(settings);
    if (!flags) {
        return EINVAL;
    }
    tio.c_iflag = flags->iflag;
    tio.c_oflag = flags->oflag;
    tio.c_cflag = flags->cflag;
    tio.c_lflag = flags->lflag;
    tio.c_ispeed = settings.BaudRate;
    tio.c_ospeed = settings.BaudRate;
    // Reads return at once with what is there; the driver does the waiting.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.XonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.XoffChar);
    if (ioctl(fd, TCSETS2, &tio) != 0) {
        return errno;
    }
    return 0;
}

std::optional<std::uint32_t> Termios2Speed(int fd) {
    struct termios2 tio {};
    if (ioctl(fd, TCGETS2, &tio) != 0) {
        return std::nullopt;
    }
    return tio.c_ospeed;
}

}  // namespace ornet5
