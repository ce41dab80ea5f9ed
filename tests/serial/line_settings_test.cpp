#include "serial/line_settings.h"

#include <gtest/gtest.h>

namespace ornet5 {
namespace {

TEST(LineSettings, DefaultsGiveTheSystemsLine) {
    const TLineSettings s = MakeLineSettings(TLineProperties{});
    EXPECT_EQ(s.BaudRate, 9600u);
    EXPECT_TRUE(s.fBinary);
    EXPECT_EQ(s.fDtrControl, TDtrControl::Enable);
    EXPECT_EQ(s.fRtsControl, TRtsControl::Enable);
    EXPECT_FALSE(s.fOutxCtsFlow);
    EXPECT_FALSE(s.fOutX);
    EXPECT_FALSE(s.fInX);
    EXPECT_FALSE(s.fParity);
    EXPECT_EQ(s.XonLim, 512);
    EXPECT_EQ(s.XoffLim, 512);
    EXPECT_EQ(s.ByteSize, 8);
    EXPECT_EQ(s.Parity, 0);
    EXPECT_EQ(s.StopBits, 0);
    EXPECT_EQ(s.XonChar, 0x11);
    EXPECT_EQ(s.XoffChar, 0x13);
}

TEST(LineSettings, FieldsThatNoPropertySetsStayZero) {
    TLineProperties p;
    p.parity = ptEVEN;
    p.hwFlow = hfRTSCTS;
    p.swFlow = sfXONXOFF;
    const TLineSettings s = MakeLineSettings(p);
    EXPECT_FALSE(s.fParity) << "input parity checking stays off whatever Parity says";
    EXPECT_FALSE(s.fOutxDsrFlow);
    EXPECT_FALSE(s.fDsrSensitivity);
    EXPECT_FALSE(s.fTXContinueOnXoff);
    EXPECT_FALSE(s.fErrorChar);
    EXPECT_FALSE(s.fNull);
    EXPECT_FALSE(s.fAbortOnError);
    EXPECT_EQ(s.ErrorChar, 0);
    EXPECT_EQ(s.EofChar, 0);
    EXPECT_EQ(s.EvtChar, 0);
}

TEST(LineSettings, FlowControlAndModemLines) {
    TLineProperties p;
    p.hwFlow = hfRTSCTS;
    TLineSettings s = MakeLineSettings(p);
    EXPECT_TRUE(s.fOutxCtsFlow);
    EXPECT_EQ(s.fRtsControl, TRtsControl::Handshake);

    p.hwFlow = hfNONE;
    s = MakeLineSettings(p);
    EXPECT_FALSE(s.fOutxCtsFlow);
    EXPECT_EQ(s.fRtsControl, TRtsControl::Disable);

    p.enableDtrOnOpen = false;
    EXPECT_EQ(MakeLineSettings(p).fDtrControl, TDtrControl::Disable);

    p.swFlow = sfXONXOFF;
    s = MakeLineSettings(p);
    EXPECT_TRUE(s.fOutX);
    EXPECT_TRUE(s.fInX);
}

TEST(LineSettings, FramingFollowsTheEnumerationOrdinals) {
    TLineProperties p;
    const TDataBits dataBits[] = {db5BITS, db6BITS, db7BITS, db8BITS};
    for (int i = 0; i < 4; ++i) {
        p.dataBits = dataBits[i];
        EXPECT_EQ(MakeLineSettings(p).ByteSize, 5 + i);
    }
    const TParity parities[] = {ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE};
    for (int i = 0; i < 5; ++i) {
        p.parity = parities[i];
        EXPECT_EQ(MakeLineSettings(p).Parity, i);
    }
    const TStopBits stopBits[] = {sb1BITS, sb1HALFBITS, sb2BITS};
    for (int i = 0; i < 3; ++i) {
        p.stopBits = stopBits[i];
        EXPECT_EQ(MakeLineSettings(p).StopBits, i);
    }
}

TEST(LineSettings, XonXoffLimitsAreAQuarterOfTheInputBuffer) {
    TLineProperties p;
    p.inBufSize = 8192;
    EXPECT_EQ(MakeLineSettings(p).XonLim, 2048);
    EXPECT_EQ(MakeLineSettings(p).XoffLim, 2048);
    p.inBufSize = 129;  // integer division
    EXPECT_EQ(MakeLineSettings(p).XonLim, 32);
}

TEST(LineSettings, AnySpeedIsPassedThrough) {
    TLineProperties p;
    p.baudRateValue = 10000;
    EXPECT_EQ(MakeLineSettings(p).BaudRate, 10000u);
}

}  // namespace
}  // namespace ornet5
