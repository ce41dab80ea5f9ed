#pragma once

#include <array>

// The texts of the program's windows as both front ends show them: the
// captions, menu entries, labels, hints and combo box entries of the
// design, kept here once so that the editions cannot drift apart.
namespace ornet5::window_text {

// The main window.
inline constexpr const char* kDoseHeading = "Текущее значение мощности дозы, мкЗв/ч";
inline constexpr const char* kDosePlaceholder = "Ждите";
inline constexpr const char* kOptionsShowItem = "&Настройки связи";
inline constexpr const char* kOptionsShowHint = "Настройки связи с ОРНЕТ-5";
inline constexpr const char* kAboutItem = "&О программе";

// The connection settings window. The port group's caption is in Cyrillic
// letters throughout, "СОМ" included, as the design has it.
inline constexpr const char* kSettingsCaption = "Измеритель на Trelan";
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

// The about box.
inline constexpr const char* kAboutCaption = "О программе";
inline constexpr const char* kProductName = "ORNET-5";
inline constexpr const char* kVersion = "версия 1.0";
inline constexpr const char* kComments =
    "Программа предназначена для считывания показаний мощности дозы из приборов серии ОРНЕТ-5";

}  // namespace ornet5::window_text
