#pragma once

#include <cstdint>

namespace ornet5 {

// The enumerated properties of the serial port driver; ordinals count from
// 0 in the order listed.

enum TBaudRate : int {
    brCustom,
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000
};
enum TDataBits : int { db5BITS, db6BITS, db7BITS, db8BITS };
enum TStopBits : int { sb1BITS, sb1HALFBITS, sb2BITS };
enum TParity : int { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : int { hfNONE, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : int { sfNONE, sfXONXOFF };
enum TPacketMode : int { pmDiscard, pmPass };

// Modem input lines as returned by ModemLines: bit 0 CTS, 1 DSR, 2 RING, 3 RLSD.
enum TModemLine : std::uint8_t { mlCTS = 1, mlDSR = 2, mlRING = 4, mlRLSD = 8 };

}  // namespace ornet5
