// The Win32 backend, and the driver through it under Wine against
// ornet5-sim, which serves COM3 through the Wine prefix's dosdevices/com3
// link. The driver's suites run only when started by win32_run_with_sim.sh,
// which passes the simulator's log as ORNET5_SIM_LOG; each needs the
// simulator in its own mode (see CMakeLists.txt).
// Keeps out winspool.h, whose SetPort macro would rename the driver's
// SetPort.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "link/exchange.h"
#include "link/frame.h"
#include "serial/cp_drv.h"
#include "serial/line_settings.h"
#include "serial/win32_backend.h"
#include "serial/win32_comm_state.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/steady_environment.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;
using TClock = std::chrono::steady_clock;

constexpr std::size_t kIdentifyReplySize = 14;
constexpr std::size_t kReadDoseReplySize = 21;

std::string IdentifyRequest() {
    return BuildFrame("255.255.255", "1.1.1", 0, 0, "");
}

std::string ReadDoseRequest() {
    return BuildFrame("255.255.255", "1.1.1", 6, 13, std::string(1, '\0'));
}

// What the simulator has logged so far (requests, replies, line speeds).
std::string SimulatorLog() {
    const char* path = std::getenv("ORNET5_SIM_LOG");
    if (path == nullptr) {
        return {};
    }
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class Win32Driver : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("ORNET5_SIM_LOG") == nullptr) {
            GTEST_SKIP() << "needs ornet5-sim: run through win32_run_with_sim.sh";
        }
        port.SetPort(pnCOM3);
    }

    std::string Exchange(const std::string& request) {
        return ornet5::Exchange(port, environment, request);
    }

    TManualTickSource ticks;
    TCPDrv port{ticks};
    test::TSteadyEnvironment environment;
};

using Win32DriverAnsweringDetector = Win32Driver;

TEST_F(Win32DriverAnsweringDetector, OpensSetsTheLineAndExchangesBothRequests) {
    port.SetBaudRateValue(4800);
    ASSERT_TRUE(port.OpenPort()) << port.LastOpenFailure().systemText;

    // The simulator logs each request with the speed the line had.
    const std::string identify = Exchange(IdentifyRequest());
    ASSERT_EQ(identify.size(), kIdentifyReplySize) << SimulatorLog();
    EXPECT_NE(SimulatorLog().find("speed 4800"), std::string::npos) << SimulatorLog();
    EXPECT_EQ(identify.substr(frame::kSource, 3), std::string("\x04\x02\x1f", 3));

    const std::string dose = Exchange(ReadDoseRequest());
    ASSERT_EQ(dose.size(), kReadDoseReplySize) << SimulatorLog();
    // The simulator was told to send the word FC7B, least significant first.
    EXPECT_EQ(dose.substr(kReadDoseReplySize - 6, 2), std::string("\x7b\xfc", 2));

    // A speed set while open reaches the device at once.
    port.SetBaudRateValue(19200);
    EXPECT_EQ(Exchange(IdentifyRequest()).size(), kIdentifyReplySize);
    EXPECT_NE(SimulatorLog().find("speed 19200"), std::string::npos) << SimulatorLog();
    port.ClosePort();
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(Win32DriverAnsweringDetector, ReadEndsOnTheMaximumOrAfterTheIdleTime) {
    ASSERT_TRUE(port.OpenPort());
    ASSERT_TRUE(port.SendText(IdentifyRequest()));
    char buffer[300];
    const auto start = TClock::now();
    EXPECT_EQ(port.ReadBytes(buffer, 5), 5u);
    EXPECT_LT(TClock::now() - start, 200ms);  // the maximum, not the idle rule
    EXPECT_EQ(port.ReadBytes(buffer, 280), kIdentifyReplySize - 5);
    const auto idleRead = TClock::now() - start;
    EXPECT_GE(idleRead, 200ms);
    EXPECT_LT(idleRead, 1500ms);
}

// Wine lets a second program open a serial device that is open already;
// the sharing rule is seen where Wine keeps it, on a file.
TEST(Win32Backend, ASecondOpenOfTheSameDeviceIsRefused) {
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(GetTempFileNameA(folder, "o5", 0, path), 0u);
    TWin32Backend backend;
    const TPortHandle first = backend.OpenExclusive(path);
    ASSERT_TRUE(first.Valid()) << backend.LastErrorText();
    const TPortHandle second = backend.OpenExclusive(path);
    EXPECT_FALSE(second.Valid());
    EXPECT_EQ(backend.LastError(), TSerialError::Busy) << backend.LastErrorText();
    // A file is no serial device: the line settings fail, and so the open.
    EXPECT_FALSE(backend.ApplyLineSettings(first, TLineSettings{}));
    backend.Close(first);
    EXPECT_TRUE(backend.OpenExclusive(path).Valid());
    DeleteFileA(path);
}

// The block's bit fields are easy to get wrong and Wine keeps only some of
// them, so they are checked here rather than on a device.
TEST(Win32Backend, TheControlBlockCarriesTheLineSettings) {
    const DCB usual = MakeDcb(MakeLineSettings(TLineProperties{}));
    EXPECT_EQ(usual.DCBlength, sizeof(DCB));
    EXPECT_EQ(usual.BaudRate, 9600u);
    EXPECT_EQ(usual.fBinary, 1u);
    EXPECT_EQ(usual.fParity, 0u);
    EXPECT_EQ(usual.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));
    EXPECT_EQ(usual.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(usual.fOutxCtsFlow, 0u);
    EXPECT_EQ(usual.fOutX | usual.fInX, 0u);
    EXPECT_EQ(usual.XonLim, 512);
    EXPECT_EQ(usual.XoffLim, 512);
    EXPECT_EQ(usual.ByteSize, 8);
    EXPECT_EQ(usual.Parity, NOPARITY);
    EXPECT_EQ(usual.StopBits, ONESTOPBIT);
    EXPECT_EQ(usual.XonChar, 0x11);
    EXPECT_EQ(usual.XoffChar, 0x13);

    TLineProperties other;
    other.baudRateValue = 10000;
    other.hwFlow = hfRTSCTS;
    other.swFlow = sfXONXOFF;
    other.enableDtrOnOpen = false;
    other.parity = ptSPACE;
    other.stopBits = sb2BITS;
    const DCB changed = MakeDcb(MakeLineSettings(other));
    EXPECT_EQ(changed.BaudRate, 10000u);
    EXPECT_EQ(changed.fRtsControl, static_cast<DWORD>(RTS_CONTROL_HANDSHAKE));
    EXPECT_EQ(changed.fOutxCtsFlow, 1u);
    EXPECT_EQ(changed.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
    EXPECT_EQ(changed.fOutX & changed.fInX, 1u);
    EXPECT_EQ(changed.Parity, SPACEPARITY);
    EXPECT_EQ(changed.StopBits, TWOSTOPBITS);
}

TEST(Win32Backend, AMissingPortFailsToOpenWithTheSystemsText) {
    TManualTickSource ticks;
    TCPDrv port(ticks);
    port.SetPort(pnCOM12);
    EXPECT_FALSE(port.OpenPort());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.LastOpenFailure().kind, TSerialError::NotFound);
    EXPECT_EQ(port.LastOpenFailure().device, "\\\\.\\COM12");
    EXPECT_FALSE(port.LastOpenFailure().systemText.empty());
}

using Win32DriverSilentDetector = Win32Driver;

// Three attempts, each a write and a read that ends 200 ms after it began.
TEST_F(Win32DriverSilentDetector, GivesUpAfterThreeAttempts) {
    ASSERT_TRUE(port.OpenPort());
    const auto start = TClock::now();
    EXPECT_EQ(Exchange(IdentifyRequest()), "");
    const auto took = TClock::now() - start;
    EXPECT_GE(took, 3 * 200ms);
    EXPECT_LT(took, 3s);
    EXPECT_EQ(Occurrences(SimulatorLog(), "identify request"), 3) << SimulatorLog();
}

using Win32DriverVanishingDetector = Win32Driver;

// The simulator ends while the port is open, as an unplugged adapter would.
TEST_F(Win32DriverVanishingDetector, CallsEndAndTheNextOpenFails) {
    ASSERT_TRUE(port.OpenPort());
    ASSERT_EQ(Exchange(IdentifyRequest()).size(), kIdentifyReplySize);

    // run_with_sim.sh ends the simulator on this line and answers when it
    // has gone.
    std::cout << "ornet5-test: end the detector" << std::endl;
    std::string answer;
    ASSERT_TRUE(std::getline(std::cin, answer));

    const auto start = TClock::now();
    EXPECT_EQ(Exchange(IdentifyRequest()), "");
    port.SendText(IdentifyRequest());
    char buffer[300];
    EXPECT_EQ(port.ReadBytes(buffer, 280), 0u);
    EXPECT_LT(TClock::now() - start, 5s);
    port.ClosePort();
    EXPECT_FALSE(port.OpenPort());
    EXPECT_EQ(port.LastOpenFailure().kind, TSerialError::NotFound);
}

}  // namespace
}  // namespace ornet5
