#pragma once

#include <array>

#include "app/window_layout.h"

// The connection settings window's design: its texts, its entries and the
// place of every control, read by both front ends.
namespace ornet5::settings_design {

inline constexpr const char* kCaption = "Измеритель на Trelan";
// Stored with the window; no help file stands behind it.
inline constexpr int kHelpContext = 680;

// The port group's caption is in Cyrillic letters throughout, "СОМ"
// included, as the design has it.
inline constexpr const char* kPortGroup = "СОМ-порт";
inline constexpr std::array<const char*, 4> kPortEntries = {"COM1", "COM2", "COM3", "COM4"};
inline constexpr int kPortEntryIndex = 2;  // COM3
inline constexpr const char* kPortHint = "Номер COM-порта для обмена на компьютере";
inline constexpr std::array<const char*, 5> kSpeedEntries = {"19200", "9600", "4800", "2400",
                                                             "1200"};
inline constexpr int kSpeedEntryIndex = 1;  // 9600
inline constexpr const char* kSpeedHint = "Скорость COM-порта для обмена на компьютере";
inline constexpr const char* kAddressGroup = "Адрес ORNET-5 (4.2.zzz)";
inline constexpr const char* kAddressDesignText = "255.255.255";
inline constexpr const char* kAddressHint = "Адрес прибора в протоколе обмена TreLAN";
// The unit buttons' captions are also the main window's headings.
inline constexpr const char* kZvCaption = "Измерение в мк&Зв/ч";
inline constexpr const char* kRentgenCaption = "Измерение в мк&Р/ч";

inline constexpr TLayoutSize kClientSize{343, 117};
inline constexpr TLayoutPoint kDesignPosition{360, 236};
inline constexpr TLayoutRect kGroupBox1{8, 0, 161, 81};
// In GroupBox1.
inline constexpr TLayoutRect kComPort{8, 16, 145, 21};
inline constexpr TLayoutRect kComPortSpeed{8, 48, 145, 21};
inline constexpr TLayoutRect kGroupBox2{176, 0, 161, 49};
// In GroupBox2.
inline constexpr TLayoutRect kDeviceAdr{8, 16, 145, 21};
inline constexpr TLayoutRect kZv{176, 56, 161, 17};
inline constexpr TLayoutRect kRentgen{176, 80, 161, 17};
// Docked at the bottom, in the system's status-bar font.
inline constexpr TLayoutRect kStatusBar{0, 98, 343, 19};

}  // namespace ornet5::settings_design
