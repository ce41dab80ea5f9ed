#include "app/journal_window_core.h"

#include <algorithm>

#include "app/desktop_detector.h"
#include "app/journal_window_design.h"
#include "app/program_events.h"
#include "common/decimal_text.h"
#include "journal/journal_reader.h"
#include "journal/journal_statistics.h"
#include "settings/form_placement.h"

namespace ornet5 {

namespace {

// 1 µSv/h is 100 µR/h.
constexpr int kRentgenPerSievertPower = 2;
constexpr double kRentgenPerSievert = 100.0;

std::chrono::system_clock::time_point TimeOf(std::int64_t utcMs) {
    return std::chrono::system_clock::time_point(std::chrono::milliseconds(utcMs));
}

// A threshold as the user reads it back: six significant digits hide the
// binary rounding of a unit's conversion (0.3 µSv/h is 30 µR/h, not
// 30.000000000000004).
std::string ThresholdText(double value, const std::string& separator) {
    return DecimalText(value, separator, std::chars_format::general, 6);
}

// A Windows path may hold any letters; user texts are UTF-8.
std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += text.empty() ? "" : "\n";
        text += line;
    }
    return text;
}

}  // namespace

TJournalWindowCore::TJournalWindowCore(TJournalWindowView& view, TFormWindow& window,
                                       const TJournalWindowServices& services)
    : view_(view), services_(services) {
    placement_ = std::make_unique<TFormPlacement>(*this, window, services_.settingsFile);
    placement_->SetOptions({TPlacementOption::Position});
    placement_->Loaded({});
    services_.detector.SetRowListener([this](const TJournalPoint& point) { RowAppended(point); });
}

TJournalWindowCore::~TJournalWindowCore() {
    services_.detector.SetRowListener(nullptr);
}

void TJournalWindowCore::FormShow() {
    placement_->FormShow();
    visible_ = true;
    stateMessage_.clear();
    view_.ShowPeriod(period_);
    ShowAlarm();
    services_.events.Run([this] {
        ReadPeriod();
        Rebuild();
    });
}

bool TJournalWindowCore::FormCloseQuery() {
    bool canClose = true;
    services_.events.Run([&] { placement_->FormCloseQuery(canClose); });
    if (canClose) {
        visible_ = false;
        // A month of rows is 20 MB: a hidden window keeps none of them.
        points_ = {};
    }
    return canClose;
}

void TJournalWindowCore::FormDestroy() {
    placement_->FormDestroy();
}

void TJournalWindowCore::PeriodClicked(TJournalPeriod period) {
    period_ = period;
    view_.ShowPeriod(period);
    services_.events.Run([this] {
        ReadPeriod();
        Rebuild();
    });
}

void TJournalWindowCore::ThresholdEntered() {
    const std::string text = view_.ThresholdText();
    TAlarmSettings settings = services_.detector.AlarmSettings();
    if (text.find_first_not_of(" \t") == std::string::npos) {
        settings.threshold.reset();
    } else {
        // The unit's factor is a shift of the decimal point, so a reading
        // equal to the typed figure is exactly at the threshold.
        const std::optional<double> value =
            ParseDecimalText(text, services_.rentgenChosen() ? -kRentgenPerSievertPower : 0);
        if (!value || !IsValidAlarmThreshold(*value)) {
            stateMessage_ = "Порог должен быть положительным числом, например " +
                            ThresholdText(0.3, services_.formats.DecimalSeparator());
            ShowAlarm();
            return;
        }
        settings.threshold = *value;
    }
    ApplyAlarmSettings(settings);
}

void TJournalWindowCore::EnterPressed(TJournalControl focused) {
    switch (focused) {
        case TJournalControl::ThresholdField:
        case TJournalControl::ThresholdButton:
            ThresholdEntered();
            break;
        case TJournalControl::OpenFolderButton:
            OpenFolderClicked();
            break;
        case TJournalControl::Other:
            break;
    }
}

void TJournalWindowCore::AlarmClicked(bool enabled) {
    TAlarmSettings settings = services_.detector.AlarmSettings();
    settings.enabled = enabled;
    ApplyAlarmSettings(settings);
}

void TJournalWindowCore::SoundClicked(bool sound) {
    TAlarmSettings settings = services_.detector.AlarmSettings();
    settings.sound = sound;
    ApplyAlarmSettings(settings);
}

void TJournalWindowCore::OpenFolderClicked() {
    const std::optional<std::filesystem::path>& folder = services_.detector.JournalFolder();
    std::error_code error;
    if (folder) {
        // The folder may not exist before the first row.
        std::filesystem::create_directories(*folder, error);
    }
    if (!folder || !services_.openFolder(*folder)) {
        stateMessage_ =
            "Папку журнала не открыть: " + (folder ? Utf8Path(*folder) : "она неизвестна");
    } else {
        stateMessage_.clear();
    }
    ShowAlarmState();
}

void TJournalWindowCore::ReportError(const std::exception& error) {
    services_.events.Post(error);
}

void TJournalWindowCore::RowAppended(const TJournalPoint& point) {
    if (!visible_) {
        return;
    }
    services_.events.Run([&] {
        // Two copies of the program may write rows out of order.
        const auto at = std::upper_bound(
            points_.begin(), points_.end(), point.utcMs,
            [](std::int64_t utcMs, const TJournalPoint& other) { return utcMs < other.utcMs; });
        points_.insert(at, point);
        Rebuild();
        // The threshold field is left as the user may be typing in it,
        // unless the unit it is shown in has changed meanwhile.
        if (Formats().unitFactor != shownUnitFactor_) {
            ShowAlarm();
        } else {
            ShowAlarmState();
        }
    });
}

void TJournalWindowCore::ReadPeriod() {
    points_ = {};
    skippedLines_ = 0;
    unreadableFiles_ = 0;
    const std::optional<std::filesystem::path>& folder = services_.detector.JournalFolder();
    if (!folder) {
        return;
    }
    const std::int64_t now = services_.nowUtcMs();
    TJournalSpan span =
        ReadJournalSpan(*folder, TimeOf(now - JournalPeriodMs(period_)), TimeOf(now));
    points_ = std::move(span.points);
    skippedLines_ = span.skippedLines;
    unreadableFiles_ = span.unreadableFiles.size();
}

// The period ends now: the rows that have left it go.
void TJournalWindowCore::Rebuild() {
    const std::int64_t end = services_.nowUtcMs();
    const std::int64_t begin = end - JournalPeriodMs(period_);
    const auto compare = [](const TJournalPoint& point, std::int64_t utcMs) {
        return point.utcMs < utcMs;
    };
    points_.erase(points_.begin(),
                  std::lower_bound(points_.begin(), points_.end(), begin, compare));
    const auto last = std::upper_bound(
        points_.begin(), points_.end(), end,
        [](std::int64_t utcMs, const TJournalPoint& point) { return utcMs < point.utcMs; });
    const std::span<const TJournalPoint> shown(points_.data(), last - points_.begin());

    TJournalChartInput input;
    input.samples = shown;
    input.beginUtcMs = begin;
    input.endUtcMs = end;
    input.width = journal_design::kPlot.width;
    input.height = journal_design::kPlot.height;
    input.formats = Formats();
    input.thresholdUSvH = services_.detector.AlarmSettings().threshold;
    const TJournalChart chart(input);
    drawing_ = DrawChart(chart, journal_design::kPlot);

    std::vector<std::string> lines =
        JournalSummaryLines(JournalStatistics(shown), input.formats, chart.UnusableReadingCount());
    if (skippedLines_ > 0 || unreadableFiles_ > 0) {
        lines.push_back("Пропущено повреждённых строк журнала: " + std::to_string(skippedLines_) +
                        (unreadableFiles_ > 0
                             ? ", не читаются файлы: " + std::to_string(unreadableFiles_)
                             : ""));
    }
    view_.ShowSummary(Joined(lines));
    view_.ShowChart();
}

void TJournalWindowCore::ShowAlarm() {
    const TAlarmSettings& settings = services_.detector.AlarmSettings();
    const TChartFormats formats = Formats();
    shownUnitFactor_ = formats.unitFactor;
    view_.ShowThresholdLabel("Порог, " + formats.unitText + ":");
    view_.ShowThresholdText(
        settings.threshold
            ? ThresholdText(*settings.threshold * formats.unitFactor, formats.decimalSeparator)
            : "");
    view_.ShowAlarmChecks(settings.enabled, settings.sound);
    ShowAlarmState();
}

void TJournalWindowCore::ShowAlarmState() {
    const TAlarmSettings& settings = services_.detector.AlarmSettings();
    if (!stateMessage_.empty()) {
        view_.ShowAlarmState(stateMessage_);
    } else if (!settings.enabled) {
        view_.ShowAlarmState("Сигнализация выключена");
    } else if (!settings.threshold) {
        view_.ShowAlarmState("Порог не задан: сигнализация не сработает");
    } else {
        view_.ShowAlarmState(services_.detector.AlarmOn() ? "Превышен порог мощности дозы!"
                                                          : "Мощность дозы ниже порога");
    }
}

void TJournalWindowCore::ApplyAlarmSettings(const TAlarmSettings& settings) {
    stateMessage_.clear();
    // Unable to write the settings file: the settings are in force all the
    // same, and the report says why they will not survive a restart.
    services_.events.Run([&] { services_.detector.SetAlarmSettings(settings); });
    ShowAlarm();
    if (visible_) {
        services_.events.Run([this] { Rebuild(); });
    }
}

TChartFormats TJournalWindowCore::Formats() const {
    const bool rentgen = services_.rentgenChosen();
    return {rentgen ? kRentgenPerSievert : 1.0, rentgen ? "мкР/ч" : "мкЗв/ч",
            services_.formats.DecimalSeparator(), services_.utcOffsetAt};
}

}  // namespace ornet5
