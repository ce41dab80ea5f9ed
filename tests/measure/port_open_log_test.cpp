// The port-open reason log: one line for each new reason, and the real
// driver's reasons end to end with ornet5-sim as the device.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>

#include "measure/poll_cycle.h"
#include "measure/port_open_log.h"
#include "serial/cp_drv.h"
#include "tests/support/child_process.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/scripted_port.h"
#include "tests/support/steady_environment.h"
#include "tests/support/temp_config_home.h"

namespace ornet5 {
namespace {

long Lines(const std::ostringstream& out) {
    const std::string text = out.str();
    return std::count(text.begin(), text.end(), '\n');
}

TEST(PortOpenLog, EachLineNamesTheDeviceAndTheReasonOnOneLine) {
    struct TCase {
        TOpenFailure failure;
        std::string mustContain;
    };
    const TCase cases[] = {
        {{TSerialError::NotFound, "/dev/ttyUSB0", "x"}, "не найдено"},
        {{TSerialError::AccessDenied, "/dev/ttyUSB0", "x"}, "нет прав доступа; join dialout"},
        {{TSerialError::Busy, "/dev/ttyUSB0", "x"}, "занят"},
        {{TSerialError::Other, "/dev/ttyUSB0", "Input/output error"}, "Input/output error"},
        {{TSerialError::None, "/dev/ttyUSB0", ""}, "неизвестная ошибка"},
    };
    for (const auto& [failure, mustContain] : cases) {
        const std::string line = OpenFailureText(failure, "join dialout");
        EXPECT_NE(line.find("/dev/ttyUSB0"), std::string::npos) << line;
        EXPECT_NE(line.find(mustContain), std::string::npos) << line;
    }
    const std::string hostile =
        OpenFailureText({TSerialError::Other, "/tmp/a\nb\x1b[2J", "bad\r\x7f"});
    EXPECT_EQ(hostile.find_first_of("\n\r\x1b\x7f"), std::string::npos) << hostile;
}

TEST(PortOpenLog, AFailureWithNoReasonIsStillNamedOnce) {
    test::TManualEnvironment environment;
    test::TScriptedPort port(environment);  // names no reason for a failure
    std::ostringstream out;
    TPortOpenLog log(port, out);
    port.opens = false;
    EXPECT_FALSE(log.OpenPort());
    EXPECT_FALSE(log.OpenPort());
    EXPECT_EQ(out.str(), "ORNET5: порт ? не открывается: неизвестная ошибка\n");
    port.opens = true;
    EXPECT_TRUE(log.OpenPort());
    log.ClosePort();
    port.opens = false;
    EXPECT_FALSE(log.OpenPort());
    EXPECT_EQ(Lines(out), 2) << out.str();
}

// The poll cycle over the log over the real driver, as the program runs
// them: a missing adapter is named once; after the detector answered, its
// going away is named again; a port held by another program is named as
// busy, once.
TEST(PortOpenLogEndToEnd, NamesEachNewReasonOnceAndForgetsItWhenThePortOpens) {
    test::TTempConfigHome home;
    const std::string device = (home.Path() / "ttyUSB0").string();
    TManualTickSource ticks;
    TCPDrv port{ticks};
    port.SetPortName(device);
    std::ostringstream out;
    TPortOpenLog log(port, out);
    test::TFakePollValues values;
    values.portIndex = -1;  // keeps the port name set above
    test::TFixedFormats formats;
    test::TSteadyEnvironment environment;
    TPollCycle cycle{log, values, environment, formats};
    std::optional<test::TChildProcess> sim;
    const auto startSimulator = [&] {
        sim.emplace(ORNET5_SIM_PATH, std::vector<std::string>{"--link", device},
                    std::vector{home.EnvironmentEntry()});
        return sim->WaitUntilReady();
    };
    const std::string missing = device + " не открывается: устройство не найдено\n";

    cycle.TimerTrelanTimer();
    cycle.TimerTrelanTimer();
    EXPECT_EQ(out.str(), "ORNET5: порт " + missing);

    ASSERT_TRUE(startSimulator());
    cycle.TimerTrelanTimer();
    EXPECT_EQ(values.statusText, "Инициализация прошла успешно") << sim->Output();
    sim.reset();
    cycle.TimerTrelanTimer();
    EXPECT_EQ(out.str(), "ORNET5: порт " + missing + "ORNET5: порт " + missing);

    ASSERT_TRUE(startSimulator());
    TCPDrv otherProgram{ticks};
    otherProgram.SetPortName(device);
    ASSERT_TRUE(otherProgram.OpenPort());
    cycle.TimerTrelanTimer();
    cycle.TimerTrelanTimer();
    ASSERT_EQ(Lines(out), 3) << out.str();
    EXPECT_NE(out.str().find("занят другой программой"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace ornet5
