#pragma once

#include <array>

#include "app/window_layout.h"

// The journal window's design: its texts and the place of every control,
// read by both front ends. The window is the program's own addition beside
// the three windows of the original design, laid out the same way: fixed
// pixels at 96 pixels per inch, the default font.
namespace ornet5::journal_design {

inline constexpr const char* kCaption = "Журнал доз";

inline constexpr TLayoutSize kClientSize{640, 464};
inline constexpr TLayoutRect kPeriodGroup{8, 0, 624, 41};
inline constexpr const char* kPeriodGroupCaption = "Период";
// In the period group, one per period, in the order of kJournalPeriods.
inline constexpr std::array<TLayoutRect, 4> kPeriodButtons = {
    TLayoutRect{12, 17, 80, 17}, TLayoutRect{100, 17, 80, 17}, TLayoutRect{188, 17, 80, 17},
    TLayoutRect{276, 17, 80, 17}};

// The chart, drawn by the view from the core's drawing.
inline constexpr TLayoutRect kChart{8, 48, 624, 266};
// The plot inside the chart: room for the value labels on the left and the
// time labels below.
inline constexpr TLayoutRect kPlot{60, 10, 552, 230};

// The lines under the chart.
inline constexpr TLayoutRect kSummary{8, 318, 624, 48};

inline constexpr TLayoutRect kAlarmGroup{8, 370, 464, 88};
inline constexpr const char* kAlarmGroupCaption = "Сигнализация";
// In the alarm group.
inline constexpr TLayoutRect kThresholdLabel{12, 21, 112, 17};
inline constexpr TLayoutRect kThreshold{128, 18, 96, 21};
inline constexpr TLayoutRect kThresholdButton{232, 16, 96, 25};
inline constexpr const char* kThresholdButtonCaption = "Установить";
inline constexpr TLayoutRect kAlarmOn{12, 46, 200, 17};
inline constexpr const char* kAlarmOnCaption = "Включить сигнализацию";
inline constexpr TLayoutRect kAlarmSound{220, 46, 120, 17};
inline constexpr const char* kAlarmSoundCaption = "Звук";
inline constexpr TLayoutRect kAlarmState{12, 66, 444, 17};

inline constexpr TLayoutRect kOpenFolder{480, 424, 152, 25};
inline constexpr const char* kOpenFolderCaption = "Открыть папку журнала";

}  // namespace ornet5::journal_design
