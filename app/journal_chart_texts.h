#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/journal_chart.h"
#include "journal/journal_statistics.h"

namespace ornet5 {

// The spans the journal window offers, one shown at a time, each ending now.
enum class TJournalPeriod { Hour, Day, Week, Month };
inline constexpr std::array<TJournalPeriod, 4> kJournalPeriods = {
    TJournalPeriod::Hour, TJournalPeriod::Day, TJournalPeriod::Week, TJournalPeriod::Month};

std::int64_t JournalPeriodMs(TJournalPeriod span);
// "1 час", "24 часа", "7 дней", "30 дней".
const char* JournalPeriodCaption(TJournalPeriod span);

// The lines under the chart, doses written as the main window writes them
// (measure/dose_text.h) in the window's unit, the maximum's time local:
//   "Минимум 0,10, среднее 0,12, максимум 0,15 мкЗв/ч (08.12 14:32:05)"
//   (or "Показаний за этот период нет")
//   "Показаний: 1180, неудачных опросов: 20, накопленная доза: 0,32 мкЗв"
//   (the dose accumulated over the period, in мкР when the unit is мкР/ч)
// and, when the chart had to leave readings out (its UnusableReadingCount),
//   "Не нанесены на график недопустимые показания: 3".
// Throws EJournalChartError when formats' offset function gives an offset
// of a day or more.
std::vector<std::string> JournalSummaryLines(const TJournalStatistics& figures,
                                             const TChartFormats& formats, int unusableReadings);

}  // namespace ornet5
