#include "serial/posix_backend.h"

#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "serial/cp_drv.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/posix_termios2.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/pty_pair.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

class PosixBackend : public ::testing::Test {
  protected:
    void SetUp() override {
        handle = backend.OpenExclusive(pty.SlavePath());
        ASSERT_TRUE(handle.Valid());
    }
    void TearDown() override { backend.Close(handle); }
    // The terminal settings in force, read through the pair's own slave.
    termios Applied(const TLineProperties& properties) {
        EXPECT_TRUE(backend.ApplyLineSettings(handle, MakeLineSettings(properties)));
        termios tio{};
        EXPECT_EQ(tcgetattr(pty.SlaveFd(), &tio), 0);
        return tio;
    }

    TPtyPair pty;
    TPosixBackend backend;
    TPortHandle handle;
};

TEST_F(PosixBackend, DefaultsGiveARawEightNoneOneLine) {
    const termios tio = Applied(TLineProperties{});
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(tio.c_cflag & CREAD, 0u);
    EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK | ICRNL | ISTRIP), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 9600u);
}

TEST_F(PosixBackend, AnyIntegerSpeedIsSet) {
    for (const std::uint32_t speed : {38400u, 10000u, 115200u, 1234u}) {
        TLineProperties properties;
        properties.baudRateValue = speed;
        Applied(properties);
        EXPECT_EQ(Termios2Speed(pty.SlaveFd()), speed);
    }
}

// A pseudo-terminal forces 8 bits and no parity, so the framing flags are
// checked on the computed flags rather than read back from the device.
TEST(PosixTermiosFlags, FramingMapsToTheTerminalFlags) {
    constexpr tcflag_t kParityFlags = PARENB | PARODD | CMSPAR;
    const auto flagsFor = [](TDataBits dataBits, TParity parity, TStopBits stopBits) {
        TLineProperties p;
        p.dataBits = dataBits;
        p.parity = parity;
        p.stopBits = stopBits;
        const auto flags = MakeTermiosFlags(MakeLineSettings(p));
        EXPECT_TRUE(flags.has_value());
        return flags.value_or(TTermiosFlags{});
    };
    auto flags = flagsFor(db7BITS, ptODD, sb2BITS);
    EXPECT_EQ(flags.cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_EQ(flags.cflag & kParityFlags, static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_NE(flags.cflag & CSTOPB, 0u);

    flags = flagsFor(db5BITS, ptEVEN, sb1HALFBITS);
    EXPECT_EQ(flags.cflag & CSIZE, static_cast<tcflag_t>(CS5));
    EXPECT_EQ(flags.cflag & kParityFlags, static_cast<tcflag_t>(PARENB));
    EXPECT_NE(flags.cflag & CSTOPB, 0u) << "1.5 stop bits: CSTOPB with 5-bit characters";

    flags = flagsFor(db6BITS, ptMARK, sb1BITS);
    EXPECT_EQ(flags.cflag & CSIZE, static_cast<tcflag_t>(CS6));
    EXPECT_EQ(flags.cflag & kParityFlags, static_cast<tcflag_t>(PARENB | PARODD | CMSPAR));
    EXPECT_EQ(flags.cflag & CSTOPB, 0u);

    flags = flagsFor(db8BITS, ptSPACE, sb1BITS);
    EXPECT_EQ(flags.cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(flags.cflag & kParityFlags, static_cast<tcflag_t>(PARENB | CMSPAR));
    EXPECT_EQ(flags.iflag & INPCK, 0u) << "parity is never checked on input";

    flags = flagsFor(db8BITS, ptNONE, sb1BITS);
    EXPECT_EQ(flags.cflag & kParityFlags, 0u);
}

TEST(PosixTermiosFlags, ImpossibleSettingsAreRefused) {
    TLineSettings settings = MakeLineSettings(TLineProperties{});
    settings.ByteSize = 9;
    EXPECT_FALSE(MakeTermiosFlags(settings).has_value());
    settings = MakeLineSettings(TLineProperties{});
    settings.Parity = 5;
    EXPECT_FALSE(MakeTermiosFlags(settings).has_value());
    settings = MakeLineSettings(TLineProperties{});
    settings.StopBits = 3;
    EXPECT_FALSE(MakeTermiosFlags(settings).has_value());
}

TEST_F(PosixBackend, FlowControlMapsToTheTerminalFlags) {
    TLineProperties p;
    p.hwFlow = hfRTSCTS;
    termios tio = Applied(p);
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);

    p.hwFlow = hfNONE;
    p.swFlow = sfXONXOFF;
    tio = Applied(p);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(tio.c_cc[VSTART], 0x11);
    EXPECT_EQ(tio.c_cc[VSTOP], 0x13);
}

TEST_F(PosixBackend, SettingsNoLineCanTakeAreRefused) {
    Applied(TLineProperties{});
    TLineSettings settings = MakeLineSettings(TLineProperties{});
    settings.BaudRate = 0;  // would hang the line up
    EXPECT_FALSE(backend.ApplyLineSettings(handle, settings));
    EXPECT_EQ(backend.LastError(), TSerialError::Unsupported);
    settings = MakeLineSettings(TLineProperties{});
    settings.ByteSize = 9;
    EXPECT_FALSE(backend.ApplyLineSettings(handle, settings));
    EXPECT_EQ(Termios2Speed(pty.SlaveFd()), 9600u) << "nothing half-applied";
}

TEST_F(PosixBackend, SecondOpenOfTheDeviceIsRefused) {
    TPosixBackend other;
    EXPECT_FALSE(other.OpenExclusive(pty.SlavePath()).Valid());
    EXPECT_EQ(other.LastError(), TSerialError::Busy);
}

// Root passes TIOCEXCL; the exclusive mode of another program must still
// keep us out, and survive our attempt.
TEST(PosixOpen, TerminalInExclusiveModeIsBusyAndKeepsItsMode) {
    TPtyPair pty;
    ASSERT_EQ(ioctl(pty.SlaveFd(), TIOCEXCL), 0);
    TPosixBackend backend;
    EXPECT_FALSE(backend.OpenExclusive(pty.SlavePath()).Valid());
    EXPECT_EQ(backend.LastError(), TSerialError::Busy);
    int exclusive = 0;
    ASSERT_EQ(ioctl(pty.SlaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    ASSERT_EQ(ioctl(pty.SlaveFd(), TIOCNXCL), 0);
}

// A COM link whose device went away is still the port: the open fails and
// says why, instead of falling back to /dev/ttyS<n-1>, another device.
TEST(PosixOpen, DanglingComLinkIsThePortAndFailsToOpen) {
    test::TTempConfigHome config;
    std::filesystem::create_directories(config.ComLink(3).parent_path());
    std::filesystem::create_symlink("/nonexistent/ornet5-gone", config.ComLink(3));
    TManualTickSource ticks;
    TCPDrv driver(ticks);
    driver.SetPortName(ComPortName(3));
    EXPECT_FALSE(driver.OpenPort());
    const TOpenFailure failure = driver.LastOpenFailure();
    EXPECT_EQ(failure.kind, TSerialError::NotFound);
    EXPECT_EQ(failure.device, config.ComLink(3).string());
    EXPECT_FALSE(failure.systemText.empty());

    TPtyPair pty;
    std::filesystem::remove(config.ComLink(3));
    std::filesystem::create_symlink(pty.SlavePath(), config.ComLink(3));
    EXPECT_TRUE(driver.OpenPort());
    EXPECT_EQ(driver.LastOpenFailure(), TOpenFailure{}) << "a good open clears the reason";
}

TEST_F(PosixBackend, InvalidHandleFailsEveryOperation) {
    const TPortHandle none;
    char buffer[4];
    EXPECT_FALSE(backend.ApplyLineSettings(none, MakeLineSettings(TLineProperties{})));
    EXPECT_FALSE(backend.Purge(none, true, true));
    EXPECT_FALSE(backend.QueueCounts(none).has_value());
    EXPECT_FALSE(backend.ModemLines(none).has_value());
    EXPECT_EQ(backend.Read(none, buffer, 4), 0u);
    EXPECT_EQ(backend.Write(none, "abc", 3), 0u);
    EXPECT_EQ(backend.WaitReadable(none, std::chrono::milliseconds(1)), TWaitResult::Hangup);
}

TEST(PosixErrors, OneTranslationForEveryCall) {
    EXPECT_EQ(TranslateErrno(0), TSerialError::None);
    EXPECT_EQ(TranslateErrno(ENOENT), TSerialError::NotFound);
    EXPECT_EQ(TranslateErrno(EBUSY), TSerialError::Busy);
    EXPECT_EQ(TranslateErrno(EWOULDBLOCK), TSerialError::Busy);
    EXPECT_EQ(TranslateErrno(EACCES), TSerialError::AccessDenied);
    EXPECT_EQ(TranslateErrno(ENOTTY), TSerialError::Unsupported);
    EXPECT_EQ(TranslateErrno(EIO), TSerialError::Gone);
    EXPECT_EQ(TranslateErrno(EMFILE), TSerialError::Other);
}

TEST(PosixOpen, MissingDeviceAndNonTerminalAreTold) {
    TPosixBackend backend;
    EXPECT_FALSE(backend.OpenExclusive("/nonexistent/ornet5-tty").Valid());
    EXPECT_EQ(backend.LastError(), TSerialError::NotFound);
    EXPECT_FALSE(backend.OpenExclusive("/dev/null").Valid());
    EXPECT_EQ(backend.LastError(), TSerialError::Unsupported);
}

}  // namespace
}  // namespace ornet5
