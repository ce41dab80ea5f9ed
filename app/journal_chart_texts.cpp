#include "app/journal_chart_texts.h"

#include <string>

#include "common/decimal_text.h"
#include "measure/dose_text.h"

namespace ornet5 {

namespace {

constexpr std::int64_t kHourMs = 3'600'000;

std::string DoseIn(double doseUSvH, const TChartFormats& formats) {
    return DoseText(doseUSvH * formats.unitFactor, formats.decimalSeparator);
}

// "4,25 мкЗв": a sum, not a reading, so with two decimals however large
// (the dose rule's "7,9E03" would hide a month's figure), in the rate's
// unit less its "/ч".
std::string AccumulatedDoseText(double doseUSv, const TChartFormats& formats) {
    return DecimalText(doseUSv * formats.unitFactor, formats.decimalSeparator,
                       std::chars_format::fixed, 2) +
           " " + formats.unitText.substr(0, formats.unitText.rfind('/'));
}

std::string DoseLine(const TJournalStatistics& figures, const TChartFormats& formats) {
    if (figures.readings == 0) {
        return "Показаний за этот период нет";
    }
    return "Минимум " + DoseIn(figures.minimum, formats) + ", среднее " +
           DoseIn(figures.mean, formats) + ", максимум " + DoseIn(figures.maximum, formats) + " " +
           formats.unitText + " (" + LocalDateText(figures.maximumUtcMs, formats.utcOffsetAt) +
           " " + LocalTimeOfDayText(figures.maximumUtcMs, formats.utcOffsetAt, true) + ")";
}

}  // namespace

std::int64_t JournalPeriodMs(TJournalPeriod span) {
    switch (span) {
        case TJournalPeriod::Hour:
            return kHourMs;
        case TJournalPeriod::Day:
            return 24 * kHourMs;
        case TJournalPeriod::Week:
            return 7 * 24 * kHourMs;
        case TJournalPeriod::Month:
            break;
    }
    return 30 * 24 * kHourMs;
}

const char* JournalPeriodCaption(TJournalPeriod span) {
    switch (span) {
        case TJournalPeriod::Hour:
            return "1 час";
        case TJournalPeriod::Day:
            return "24 часа";
        case TJournalPeriod::Week:
            return "7 дней";
        case TJournalPeriod::Month:
            break;
    }
    return "30 дней";
}

std::vector<std::string> JournalSummaryLines(const TJournalStatistics& figures,
                                             const TChartFormats& formats, int unusableReadings) {
    std::vector<std::string> lines = {
        DoseLine(figures, formats),
        "Показаний: " + std::to_string(figures.readings) +
            ", неудачных опросов: " + std::to_string(figures.failedCycles) +
            ", накопленная доза: " + AccumulatedDoseText(figures.accumulatedDose, formats)};
    if (unusableReadings > 0) {
        lines.push_back("Не нанесены на график недопустимые показания: " +
                        std::to_string(unusableReadings));
    }
    return lines;
}

}  // namespace ornet5
