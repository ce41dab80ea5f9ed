#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/journal_chart.h"

namespace ornet5 {

// The spans the journal window offers, one shown at a time, each ending now.
enum class TJournalSpan { Hour, Day, Week, Month };
inline constexpr std::array<TJournalSpan, 4> kJournalSpans = {
    TJournalSpan::Hour, TJournalSpan::Day, TJournalSpan::Week, TJournalSpan::Month};

std::int64_t JournalSpanMs(TJournalSpan span);
// "1 час", "24 часа", "7 дней", "30 дней".
const char* JournalSpanCaption(TJournalSpan span);

// What the journal's statistics say about the span shown. The doses are in
// µSv/h and count only when readingCount is above 0.
struct TJournalSpanFigures {
    std::int64_t readingCount = 0;
    // Cycles without a reading that failed: no reply, a bad one, cancelled.
    std::int64_t failedCount = 0;
    double minimum = 0;
    double mean = 0;
    double maximum = 0;
    std::int64_t maximumUtcMs = 0;
};

// The lines under the chart, doses written as the main window writes them
// (measure/dose_text.h) in the window's unit, the maximum's time local:
//   "Минимум 0,10, среднее 0,12, максимум 0,15 мкЗв/ч (08.12 14:32:05)"
//   (or "Показаний за этот период нет")
//   "Показаний: 1180, неудачных опросов: 20"
// and, when the chart had to leave readings out (its UnusableReadingCount),
//   "Не нанесены на график недопустимые показания: 3".
// Throws EJournalChartError when formats' offset function gives an offset
// of a day or more.
std::vector<std::string> JournalSummaryLines(const TJournalSpanFigures& figures,
                                             const TChartFormats& formats, int unusableReadings);

}  // namespace ornet5
