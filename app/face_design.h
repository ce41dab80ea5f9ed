#pragma once

#include "app/window_layout.h"

// The main window's design: its texts and the place of every control, read
// by both front ends.
namespace ornet5::face_design {

inline constexpr const char* kDoseHeading = "Текущее значение мощности дозы, мкЗв/ч";
// Shown until the first reading.
inline constexpr const char* kDosePlaceholder = "Ждите";
inline constexpr const char* kOptionsShowItem = "&Настройки связи";
// Kept with the action, never shown.
inline constexpr const char* kOptionsShowHint = "Настройки связи с ОРНЕТ-5";
inline constexpr const char* kAboutItem = "&О программе";
// After the three entries of the design and a separator.
inline constexpr const char* kJournalItem = "&Журнал доз...";

inline constexpr TLayoutSize kClientSize{385, 146};
// Both labels span the client area's width and draw one centred line from
// their top.
inline constexpr TLayoutRect kLabelTitle{0, 0, 385, 20};
inline constexpr TDesignFont kLabelTitleFont{"MS Sans Serif", 16, true};
inline constexpr TLayoutRect kLabelDose{0, 24, 385, 121};
inline constexpr TDesignFont kLabelDoseFont{"Times New Roman", 107, true};

}  // namespace ornet5::face_design
