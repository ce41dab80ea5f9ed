// The journal side of the program without a toolkit: the alarm's stored
// settings, the detector's recorder between the poll cycle, the alarm and
// the journal, the journal window's core with its view faked, and the
// chart's drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/alarm_settings_file.h"
#include "app/chart_drawing.h"
#include "app/desktop_detector.h"
#include "app/journal_window_core.h"
#include "app/program_events.h"
#include "common/decimal_text.h"
#include "common/overloaded.h"
#include "journal/journal_reader.h"
#include "journal/journal_statistics.h"
#include "measure/reading_decoder.h"
#include "settings/ini_profile.h"
#include "tests/support/fake_poll_values.h"
#include "tests/support/fake_program_windows.h"
#include "tests/support/fake_stored_form.h"
#include "tests/support/temp_folder.h"
#include "tools/ornet5-journal-maker/journal_maker.h"

namespace ornet5 {
namespace {

using namespace std::chrono_literals;

TEST(DecimalText, UsersAndFilesWriteNumbersEitherWay) {
    EXPECT_EQ(ShortestDecimalText(0.3), "0.3");
    EXPECT_EQ(ShortestDecimalText(1.5e-7, ","), "1,5e-07");
    for (const char* text : {"0,3", "0.3", " 0.3 ", "+0.3", "3e-1"}) {
        EXPECT_EQ(ParseDecimalText(text), 0.3) << text;
    }
    for (const char* text :
         {"", " ", "0,3,", "0.3x", "1e999", "nan", "inf", "0..3", ",", "1e+-5"}) {
        EXPECT_FALSE(ParseDecimalText(text)) << text;
        EXPECT_FALSE(ParseDecimalText(text, -2)) << text;
    }
    // A figure in µR/h read as µSv/h is the detector's own figure, for
    // every tenth it reports at the power -1.
    for (int tenths = 100; tenths < 400; ++tenths) {
        const std::string text = std::to_string(tenths / 10) + "," + std::to_string(tenths % 10);
        EXPECT_EQ(ParseDecimalText(text, -2), ReadingDecimalValue(0xFC00 | tenths)) << text;
    }
    EXPECT_EQ(ParseDecimalText("1,23E+1", -2), ParseDecimalText("0.123"));
    EXPECT_FALSE(ParseDecimalText("1e", -2));
}

TEST(AlarmSettingsFile, RoundTripsBesideTheWindowsSectionAndFallsBackOnGarbage) {
    test::TTempFolder folder;
    const auto file = folder.Path() / "ORNET5.INI";
    test::WriteAll(file,
                   "[TTrelanADCFace]\r\nrbZv_Checked=True\r\n[DoseAlarm]\r\nEnabled=yes\r\n"
                   "Threshold=-1\r\nSound=false\r\n");
    TIniFile ini(file, "ORNET5.INI");
    const TAlarmSettings garbage = LoadAlarmSettings(ini);
    EXPECT_FALSE(garbage.enabled);
    EXPECT_FALSE(garbage.threshold);
    EXPECT_FALSE(garbage.sound);

    SaveAlarmSettings(ini, {true, 0.3, true});
    const TAlarmSettings read = LoadAlarmSettings(ini);
    EXPECT_TRUE(read.enabled && read.sound);
    EXPECT_EQ(read.threshold, 0.3);
    EXPECT_EQ(ReadProfileString(file, "DoseAlarm", "Threshold", ""), "0.3");
    EXPECT_EQ(ReadProfileString(file, "TTrelanADCFace", "rbZv_Checked", ""), "True");
}

// The recorder's events as the program's windows take them, at once: the
// main window's alarm, the warning sound, the journal window's rows.
class TShownEvents : public TDetectorObserver {
  public:
    void Observe(const TDetectorEvent& event) override {
        std::visit(TOverloaded{[this](const TAlarmEvent& e) { alarm = e.on; },
                               [this](const TAlarmSoundEvent&) { ++beeps; },
                               [this](const TRowEvent& e) { detector->RowRecorded(e.row); },
                               [](const auto&) {}},
                   event);
    }
    TDesktopDetector* detector = nullptr;
    bool alarm = false;
    int beeps = 0;
};

// The test's time as the recorder's steady clock.
class TTestClock : public TCycleClock {
  public:
    explicit TTestClock(const std::int64_t& nowMs) : nowMs_(nowMs) {}
    TTime Now() const override { return TTime(std::chrono::milliseconds(nowMs_)); }
    void SleepUntil(TTime, const std::stop_token&) override {}
    void Pause(std::chrono::milliseconds) override {}

  private:
    const std::int64_t& nowMs_;
};

class TFakeJournalView : public TJournalWindowView {
  public:
    void ShowPeriod(TJournalPeriod shown) override { period = shown; }
    void ShowChart() override { ++charts; }
    void ShowSummary(const std::string& text) override { summary = text; }
    void ShowThresholdLabel(const std::string& text) override { thresholdLabel = text; }
    std::string ThresholdText() const override { return threshold; }
    void ShowThresholdText(const std::string& text) override { threshold = text; }
    void ShowAlarmChecks(bool on, bool withSound) override {
        enabled = on;
        sound = withSound;
    }
    void ShowAlarmState(const std::string& text) override { state = text; }

    TJournalPeriod period = TJournalPeriod::Hour;
    int charts = 0;
    std::string summary, thresholdLabel, threshold, state;
    bool enabled = false;
    bool sound = false;
};

// 2026-12-08 12:00:00 UTC, Moscow time.
constexpr std::int64_t kNoon = 1'796'731'200'000;

class JournalCoresTest : public ::testing::Test {
  protected:
    TEventPublisher& Shown() {
        publisher.Add(display);
        display.detector = &detector;
        return publisher;
    }
    TLocalTime LocalNow() const {
        return {std::chrono::system_clock::time_point(std::chrono::milliseconds(nowMs)), 180min};
    }

    TJournalWindowServices WindowServices() {
        TJournalWindowServices services{detector, events, [this] { return rentgen; }, formats,
                                        [this](const std::filesystem::path& opened) {
                                            openedFolders.push_back(opened);
                                            return true;
                                        }};
        services.nowUtcMs = [this] { return nowMs; };
        services.utcOffsetAt = [](std::int64_t) { return 180min; };
        services.settingsFile = {folder.Path() / "ORNET5.INI", "ORNET5.INI"};
        return services;
    }

    // One poll cycle three seconds after the last.
    void Cycle(TCycleStatus status, std::optional<double> reading = std::nullopt) {
        nowMs += 3000;
        recorder.CycleEnded({status, reading, reading ? "4.2.31" : ""});
    }

    test::TTempFolder folder;
    TShownEvents display;
    TEventPublisher publisher;
    std::ostringstream diagnostics;
    std::int64_t nowMs = kNoon;
    TTestClock clock{nowMs};
    TDoseRecorder recorder{{folder.Path() / "journal", {}}, Shown(), diagnostics, clock, [this] {
                               return LocalNow();
                           }};
    TDesktopDetector detector{recorder, {folder.Path() / "ORNET5.INI", "ORNET5.INI"}};
    test::TFakeProgramWindows windows;
    TProgramEvents events{windows, diagnostics};
    test::TFixedFormats formats;
    bool rentgen = false;
    std::vector<std::filesystem::path> openedFolders;
    TFakeJournalView view;
    test::TFakeForm formWindow;
    TJournalWindowCore window{view, formWindow, WindowServices()};
};

TEST_F(JournalCoresTest, EachCycleFeedsTheAlarmAndTheJournalWhoseRowsTheWindowShows) {
    recorder.SetAlarmSettings({true, 0.2, true});
    Cycle(TCycleStatus::Identified);
    Cycle(TCycleStatus::Ok, 0.25);
    EXPECT_FALSE(display.alarm);
    Cycle(TCycleStatus::NoReply);  // a silent cycle does not break the run
    Cycle(TCycleStatus::Ok, 0.3);
    EXPECT_TRUE(display.alarm);
    EXPECT_EQ(display.beeps, 1);

    window.FormShow();
    EXPECT_EQ(view.period, TJournalPeriod::Day);
    EXPECT_EQ(view.thresholdLabel, "Порог, мкЗв/ч:");
    EXPECT_EQ(view.threshold, "0,2");
    EXPECT_EQ(view.state, "Превышен порог мощности дозы!");
    EXPECT_NE(view.summary.find("Показаний: 2, неудачных опросов: 1"), std::string::npos)
        << view.summary;
    EXPECT_FALSE(window.Drawing().rects.empty());

    // A row while the window is open comes straight in; the alarm stays on
    // until two readings fall below the threshold, without a second sound
    // within 30 s.
    Cycle(TCycleStatus::Ok, 0.1);
    EXPECT_NE(view.summary.find("Показаний: 3"), std::string::npos) << view.summary;
    EXPECT_TRUE(display.alarm);
    Cycle(TCycleStatus::Ok, 0.1);
    EXPECT_FALSE(display.alarm);
    EXPECT_EQ(view.state, "Мощность дозы ниже порога");
    EXPECT_EQ(display.beeps, 1);

    const TJournalSpan rows =
        ReadJournalSpan(folder.Path() / "journal", std::chrono::system_clock::time_point{},
                        std::chrono::system_clock::now() + 24h * 365);
    ASSERT_EQ(rows.points.size(), 6u);
    EXPECT_EQ(rows.points[3].dose, 0.3);
    EXPECT_TRUE(rows.points[3].alarm);
    EXPECT_EQ(rows.points[5].status, TCycleStatus::Ok);
    EXPECT_FALSE(rows.points[5].alarm);
}

TEST_F(JournalCoresTest, TheThresholdIsTypedInTheUnitShownAndABadOneChangesNothing) {
    rentgen = true;
    window.FormShow();
    EXPECT_EQ(view.thresholdLabel, "Порог, мкР/ч:");
    view.threshold = "30";
    window.ThresholdEntered();
    EXPECT_EQ(recorder.AlarmSettings().threshold, 0.3);
    EXPECT_EQ(view.threshold, "30");
    EXPECT_EQ(ReadProfileString(folder.Path() / "ORNET5.INI", "DoseAlarm", "Threshold", ""), "0.3");

    for (const char* bad : {"-1", "0", "abc", "1e999"}) {
        view.threshold = bad;
        window.ThresholdEntered();
        EXPECT_EQ(recorder.AlarmSettings().threshold, 0.3) << bad;
        EXPECT_EQ(view.state.rfind("Порог должен быть положительным числом", 0), 0u) << bad;
    }
    view.threshold = " ";
    window.ThresholdEntered();
    EXPECT_FALSE(recorder.AlarmSettings().threshold);
    window.AlarmClicked(true);
    EXPECT_EQ(view.state, "Порог не задан: сигнализация не сработает");
    window.SoundClicked(false);
    EXPECT_FALSE(recorder.AlarmSettings().sound);
    EXPECT_TRUE(windows.boxTexts.empty());
}

// 12,3 µR/h divided by 100 in binary is a step above the detector's 0.123
// µSv/h.
TEST_F(JournalCoresTest, AReadingEqualToTheThresholdTypedInMicroroentgenIsAtIt) {
    rentgen = true;
    window.FormShow();
    window.AlarmClicked(true);
    view.threshold = "12,3";
    window.ThresholdEntered();
    // The detector's word for 1.23 at the power -1.
    const double reading = ReadingDecimalValue(0xFC00 | 123);
    Cycle(TCycleStatus::Ok, reading);
    Cycle(TCycleStatus::Ok, reading);
    EXPECT_TRUE(display.alarm);
    EXPECT_EQ(ReadProfileString(folder.Path() / "ORNET5.INI", "DoseAlarm", "Threshold", ""),
              ShortestDecimalText(reading));
}

// A day of the journal maker's rows at a steady dose: each reading stands
// for one cycle, and the outage and the stopped hour add nothing. (The
// window's line for it is checked with the summary's texts.)
TEST_F(JournalCoresTest, TheDoseAccumulatedOverThePeriodIsTheSteadyDoseOverTheReadings) {
    TJournalMakerOptions options;
    options.end = std::chrono::system_clock::time_point(std::chrono::milliseconds(kNoon));
    options.length = std::chrono::days{1};
    options.steadyDose = 0.25;
    const TMadeJournal made = MakeJournal(folder.Path() / "journal", options);
    const double readingHours =
        std::chrono::duration<double, std::ratio<3600>>(options.cycle * made.readings).count();
    const double cycleHours =
        std::chrono::duration<double, std::ratio<3600>>(options.cycle).count();

    const TJournalStatistics figures = JournalStatistics(
        ReadJournalSpan(folder.Path() / "journal", options.end - options.length, options.end)
            .points);
    EXPECT_NEAR(figures.accumulatedDose, *options.steadyDose * readingHours,
                *options.steadyDose * cycleHours);
}

TEST_F(JournalCoresTest, TornRowsAreCountedAndAHiddenWindowHoldsNoRows) {
    Cycle(TCycleStatus::Ok, 0.12);
    const auto file = folder.Path() / "journal" / "ORNET5-2026-12.csv";
    test::WriteAll(file, test::ReadAll(file) + "2026-12-08T15:00:04.000+03:00,0.1\r\nforeign\r\n");
    Cycle(TCycleStatus::Ok, 0.13);
    window.PeriodClicked(TJournalPeriod::Hour);
    EXPECT_NE(view.summary.find("Пропущено повреждённых строк журнала: 2"), std::string::npos)
        << view.summary;
    window.OpenFolderClicked();
    EXPECT_EQ(openedFolders, std::vector{folder.Path() / "journal"});

    EXPECT_TRUE(window.FormCloseQuery());
    const int charts = view.charts;
    Cycle(TCycleStatus::Ok, 0.14);
    EXPECT_EQ(view.charts, charts);
}

TEST(ChartDrawing, BarsLinesAndTheThresholdSitInsideThePlot) {
    const std::vector<TJournalPoint> points = {{kNoon - 2000, 0.1, TCycleStatus::Ok, false},
                                               {kNoon - 1000, 0.2, TCycleStatus::Ok, false}};
    TJournalChartInput input;
    input.samples = points;
    input.beginUtcMs = kNoon - 10'000;
    input.endUtcMs = kNoon;
    input.width = 100;
    input.height = 50;
    input.formats = {1, "мкЗв/ч", ",", [](std::int64_t) { return 0min; }};
    input.thresholdUSvH = 0.15;
    const TLayoutRect plot{60, 10, 100, 50};
    const TChartDrawing drawing = DrawChart(TJournalChart(input), plot);
    ASSERT_EQ(drawing.rects.size(), 2u);
    for (const TChartRect& bar : drawing.rects) {
        EXPECT_GE(bar.rect.left, plot.left);
        EXPECT_LE(bar.rect.Right(), plot.Right());
        EXPECT_GE(bar.rect.top, plot.top);
        EXPECT_LE(bar.rect.Bottom(), plot.Bottom());
    }
    int thresholds = 0;
    for (const TChartLine& line : drawing.lines) {
        thresholds += line.ink == TChartInk::Threshold ? 1 : 0;
        EXPECT_TRUE(line.x1 >= plot.left - 4 && line.x2 < plot.Right()) << line.x1;
    }
    EXPECT_EQ(thresholds, 1);
    EXPECT_TRUE(std::any_of(drawing.texts.begin(), drawing.texts.end(),
                            [](const TChartText& text) { return text.text == "мкЗв/ч"; }));
}

}  // namespace
}  // namespace ornet5
