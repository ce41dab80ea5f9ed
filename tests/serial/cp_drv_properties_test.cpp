#include <gtest/gtest.h>

#include "serial/cp_drv.h"
#include "tests/support/manual_tick_source.h"
#include "tests/support/pty_pair.h"

namespace ornet5 {
namespace {

class DriverProperties : public ::testing::Test {
  protected:
    // Opens the driver on the pair's slave side.
    void Open() {
        driver.SetPortName(pty.SlavePath());
        ASSERT_TRUE(driver.OpenPort());
    }

    TManualTickSource ticks;
    TCPDrv driver{ticks};
    TPtyPair pty;
};

TEST_F(DriverProperties, NewDriverIsClosedWithTheDefaults) {
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_FALSE(ticks.IsRunning());
    EXPECT_EQ(driver.Port(), pnCOM2);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM2)");
    EXPECT_EQ(driver.BaudRate(), br9600);
    EXPECT_EQ(driver.BaudRateValue(), 9600u);
    EXPECT_EQ(driver.DataBits(), db8BITS);
    EXPECT_EQ(driver.StopBits(), sb1BITS);
    EXPECT_EQ(driver.Parity(), ptNONE);
    EXPECT_EQ(driver.HwFlow(), hfNONERTSON);
    EXPECT_EQ(driver.SwFlow(), sfNONE);
    EXPECT_EQ(driver.InBufSize(), 2048u);
    EXPECT_EQ(driver.OutBufSize(), 2048u);
    EXPECT_EQ(driver.PacketSize(), -1);
    EXPECT_EQ(driver.PacketTimeout(), -1);
    EXPECT_EQ(driver.PacketMode(), pmDiscard);
    EXPECT_EQ(driver.PollingDelay(), 50);
    EXPECT_TRUE(driver.EnableDTROnOpen());
    EXPECT_EQ(driver.OutputTimeout(), 500);
    EXPECT_EQ(driver.InputTimeout(), 200u);
    EXPECT_FALSE(driver.CheckLineStatus());
    EXPECT_EQ(std::string(driver.ReceiveBuffer(), 2048), std::string(2048, '\0'));
}

TEST_F(DriverProperties, PortAndPortNameWhileClosed) {
    driver.SetPort(pnCOM12);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM12)");
    driver.SetPort(pnCOM1);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM1)");
    driver.SetPort(pnCOM16);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM16)");
    driver.SetPort(pnCustom);
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM16)");

    driver.SetPort(pnCOM4);
    driver.SetPortName(R"(\\.\COM3)");
    EXPECT_EQ(driver.Port(), pnCustom) << "whatever the text";
    EXPECT_EQ(driver.PortName(), R"(\\.\COM3)");
}

TEST_F(DriverProperties, PortAndPortNameAreFixedWhileOpen) {
    Open();
    driver.SetPort(pnCOM5);
    driver.SetPortName("/dev/null");
    EXPECT_EQ(driver.Port(), pnCustom);
    EXPECT_EQ(driver.PortName(), pty.SlavePath());
    driver.ClosePort();
    driver.SetPort(pnCOM5);
    EXPECT_EQ(driver.Port(), pnCOM5);
    EXPECT_EQ(driver.PortName(), R"(\\.\COM5)");
}

TEST_F(DriverProperties, BaudRateAndItsValueStayInStep) {
    driver.SetBaudRateValue(4800);
    EXPECT_EQ(driver.BaudRate(), brCustom);
    EXPECT_EQ(driver.BaudRateValue(), 4800u);
    driver.SetBaudRate(br19200);
    EXPECT_EQ(driver.BaudRateValue(), 19200u);
    driver.SetBaudRate(brCustom);
    EXPECT_EQ(driver.BaudRate(), brCustom);
    EXPECT_EQ(driver.BaudRateValue(), 19200u);
    const std::pair<TBaudRate, std::uint32_t> table[] = {
        {br110, 110},       {br300, 300},       {br600, 600},      {br1200, 1200},
        {br2400, 2400},     {br4800, 4800},     {br9600, 9600},    {br14400, 14400},
        {br19200, 19200},   {br38400, 38400},   {br56000, 56000},  {br57600, 57600},
        {br115200, 115200}, {br128000, 128000}, {br256000, 256000}};
    for (const auto& [rate, value] : table) {
        driver.SetBaudRate(rate);
        EXPECT_EQ(driver.BaudRateValue(), value);
    }
}

TEST_F(DriverProperties, ValuesOutsideAnEnumerationAreDropped) {
    driver.SetBaudRate(static_cast<TBaudRate>(16));
    EXPECT_EQ(driver.BaudRate(), br9600);
    EXPECT_EQ(driver.BaudRateValue(), 9600u);
    driver.SetPort(static_cast<TPortNumber>(17));
    EXPECT_EQ(driver.Port(), pnCOM2);
    driver.SetDataBits(static_cast<TDataBits>(-1));
    EXPECT_EQ(driver.DataBits(), db8BITS);
    driver.SetParity(static_cast<TParity>(5));
    EXPECT_EQ(driver.Parity(), ptNONE);
}

TEST_F(DriverProperties, BufferSizesAreClampedAndFixedWhileOpen) {
    driver.SetInBufSize(100);
    EXPECT_EQ(driver.InBufSize(), 128u);
    driver.SetInBufSize(10000);
    EXPECT_EQ(driver.InBufSize(), 8192u);
    driver.SetOutBufSize(100);
    EXPECT_EQ(driver.OutBufSize(), 128u);
    driver.SetOutBufSize(10000);
    EXPECT_EQ(driver.OutBufSize(), 8192u);
    Open();
    driver.SetInBufSize(1000);
    driver.SetOutBufSize(1000);
    EXPECT_EQ(driver.InBufSize(), 8192u);
    EXPECT_EQ(driver.OutBufSize(), 8192u);
}

TEST_F(DriverProperties, PollingDelayHasAFloorAndRestartsOnlyOnChange) {
    driver.SetPollingDelay(0);
    EXPECT_EQ(driver.PollingDelay(), 5);
    driver.SetPollingDelay(50);
    EXPECT_EQ(ticks.StartCount(), 0) << "a closed port has no poll to restart";
    Open();
    EXPECT_EQ(ticks.StartCount(), 1);
    EXPECT_EQ(ticks.Period(), std::chrono::milliseconds(50));
    driver.SetPollingDelay(50);
    EXPECT_EQ(ticks.StartCount(), 1);
    driver.SetPollingDelay(120);
    EXPECT_EQ(ticks.StartCount(), 2);
    EXPECT_EQ(ticks.Period(), std::chrono::milliseconds(120));
    EXPECT_TRUE(ticks.IsRunning());
}

TEST_F(DriverProperties, PacketTimeoutIsAtLeastThePollingDelay) {
    driver.SetPacketTimeout(30);
    EXPECT_EQ(driver.PacketTimeout(), 70);
    driver.SetPacketTimeout(100);
    EXPECT_EQ(driver.PacketTimeout(), 100);
    driver.SetPacketTimeout(0);
    EXPECT_EQ(driver.PacketTimeout(), -1);
    driver.SetPacketTimeout(-5);
    EXPECT_EQ(driver.PacketTimeout(), -1);
    driver.SetPacketTimeout(100);
    driver.SetPollingDelay(200);
    EXPECT_EQ(driver.PacketTimeout(), 280);
    driver.SetPollingDelay(5);
    driver.SetPacketTimeout(1);
    EXPECT_EQ(driver.PacketTimeout(), 7);
}

TEST_F(DriverProperties, PacketSizeGrowsTheInputBufferWhileClosed) {
    driver.SetPacketSize(4000);
    EXPECT_EQ(driver.PacketSize(), 4000);
    EXPECT_EQ(driver.InBufSize(), 4000u);
    driver.SetPacketSize(10);
    EXPECT_EQ(driver.PacketSize(), 10);
    EXPECT_EQ(driver.InBufSize(), 4000u);
    driver.SetPacketSize(0);
    EXPECT_EQ(driver.PacketSize(), -1);

    driver.SetPacketSize(4000);
    driver.SetInBufSize(1000);
    EXPECT_EQ(driver.InBufSize(), 4000u);
    EXPECT_EQ(std::string(driver.ReceiveBuffer(), 4000), std::string(4000, '\0'));
}

TEST_F(DriverProperties, PacketSizeBeyondTheBufferIsRefused) {
    driver.SetPacketSize(100);
    driver.SetPacketSize(8193);
    EXPECT_EQ(driver.PacketSize(), 100) << "above the largest buffer";
    EXPECT_EQ(driver.InBufSize(), 2048u);
    driver.SetPacketSize(8192);
    EXPECT_EQ(driver.PacketSize(), 8192);
    EXPECT_EQ(driver.InBufSize(), 8192u);

    driver.SetInBufSize(128);
    EXPECT_EQ(driver.InBufSize(), 8192u) << "follows the packet size back up";
    driver.SetPacketSize(200);
    driver.SetInBufSize(300);
    EXPECT_EQ(driver.InBufSize(), 300u);
    Open();
    driver.SetPacketSize(301);
    EXPECT_EQ(driver.PacketSize(), 200) << "above the buffer, which cannot grow while open";
    driver.SetPacketSize(300);
    EXPECT_EQ(driver.PacketSize(), 300);
    driver.SetPacketSize(-1);
    EXPECT_EQ(driver.PacketSize(), -1);
}

TEST_F(DriverProperties, PlainPropertiesAreStored) {
    driver.SetPacketMode(pmPass);
    driver.SetEnableDTROnOpen(false);
    driver.SetOutputTimeout(7);
    driver.SetInputTimeout(9);
    driver.SetCheckLineStatus(true);
    driver.SetStopBits(sb2BITS);
    driver.SetHwFlow(hfRTSCTS);
    driver.SetSwFlow(sfXONXOFF);
    EXPECT_EQ(driver.PacketMode(), pmPass);
    EXPECT_FALSE(driver.EnableDTROnOpen());
    EXPECT_EQ(driver.OutputTimeout(), 7);
    EXPECT_EQ(driver.InputTimeout(), 9u);
    EXPECT_TRUE(driver.CheckLineStatus());
    EXPECT_EQ(driver.StopBits(), sb2BITS);
    EXPECT_EQ(driver.HwFlow(), hfRTSCTS);
    EXPECT_EQ(driver.SwFlow(), sfXONXOFF);
}

}  // namespace
}  // namespace ornet5
