#include "app/journal_chart_texts.h"

#include <string>

#include "measure/dose_text.h"

namespace ornet5 {

namespace {

constexpr std::int64_t kHourMs = 3'600'000;

std::string DoseIn(double doseUSvH, const TChartFormats& formats) {
    return DoseText(doseUSvH * formats.unitFactor, formats.decimalSeparator);
}

std::string DoseLine(const TJournalSpanFigures& figures, const TChartFormats& formats) {
    if (figures.readingCount <= 0) {
        return "Показаний за этот период нет";
    }
    return "Минимум " + DoseIn(figures.minimum, formats) + ", среднее " +
           DoseIn(figures.mean, formats) + ", максимум " + DoseIn(figures.maximum, formats) + " " +
           formats.unitText + " (" + LocalDateText(figures.maximumUtcMs, formats.utcOffsetAt) +
           " " + LocalTimeOfDayText(figures.maximumUtcMs, formats.utcOffsetAt, true) + ")";
}

}  // namespace

std::int64_t JournalSpanMs(TJournalSpan span) {
    switch (span) {
        case TJournalSpan::Hour:
            return kHourMs;
        case TJournalSpan::Day:
            return 24 * kHourMs;
        case TJournalSpan::Week:
            return 7 * 24 * kHourMs;
        case TJournalSpan::Month:
            break;
    }
    return 30 * 24 * kHourMs;
}

const char* JournalSpanCaption(TJournalSpan span) {
    switch (span) {
        case TJournalSpan::Hour:
            return "1 час";
        case TJournalSpan::Day:
            return "24 часа";
        case TJournalSpan::Week:
            return "7 дней";
        case TJournalSpan::Month:
            break;
    }
    return "30 дней";
}

std::vector<std::string> JournalSummaryLines(const TJournalSpanFigures& figures,
                                             const TChartFormats& formats, int unusableReadings) {
    std::vector<std::string> lines = {
        DoseLine(figures, formats),
        "Показаний: " + std::to_string(figures.readingCount) +
            ", неудачных опросов: " + std::to_string(figures.failedCount)};
    if (unusableReadings > 0) {
        lines.push_back("Не нанесены на график недопустимые показания: " +
                        std::to_string(unusableReadings));
    }
    return lines;
}

}  // namespace ornet5
