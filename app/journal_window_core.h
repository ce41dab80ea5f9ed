#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/chart_drawing.h"
#include "app/journal_chart_texts.h"
#include "common/local_time.h"
#include "journal/alarm.h"
#include "measure/poll_values.h"
#include "settings/settings_file.h"
#include "settings/stored_form.h"

namespace ornet5 {

class TDesktopDetector;
class TFormPlacement;
class TProgramEvents;

// What the journal window's core needs of its view.
class TJournalWindowView {
  public:
    virtual ~TJournalWindowView() = default;
    // Checks the period's button and unchecks the others; runs nothing.
    virtual void ShowPeriod(TJournalPeriod period) = 0;
    // The chart changed: draw the core's Drawing() again.
    virtual void ShowChart() = 0;
    // The lines under the chart, joined by line ends.
    virtual void ShowSummary(const std::string& text) = 0;
    virtual void ShowThresholdLabel(const std::string& text) = 0;
    virtual std::string ThresholdText() const = 0;
    virtual void ShowThresholdText(const std::string& text) = 0;
    // Sets the two check boxes; runs nothing.
    virtual void ShowAlarmChecks(bool enabled, bool sound) = 0;
    virtual void ShowAlarmState(const std::string& text) = 0;
};

// Where the focus is when Enter is pressed in the journal window.
enum class TJournalControl { ThresholdField, ThresholdButton, OpenFolderButton, Other };

// What the program gives the journal window; each must outlive it.
struct TJournalWindowServices {
    TDesktopDetector& detector;
    TProgramEvents& events;
    // Whether the main window shows µR/h; else µSv/h.
    std::function<bool()> rentgenChosen;
    const TRegionalFormats& formats;
    // Opens a folder in the desktop's file manager; false when it cannot.
    std::function<bool(const std::filesystem::path&)> openFolder;
    // UTC milliseconds since 1970 now, and the local offset at such a
    // moment.
    std::function<std::int64_t()> nowUtcMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    };
    // Where the window's place is kept.
    TSettingsFileLocation settingsFile = ProgramSettingsFile();
    TUtcOffsetAt utcOffsetAt = [](std::int64_t utcMs) {
        return LocalTimeAt(std::chrono::system_clock::time_point(std::chrono::milliseconds(utcMs)))
            .utcOffset;
    };
};

// The journal window ("Журнал доз") apart from its controls: the chart of
// the dose over the chosen period up to now, in the unit the main window
// shows, updated at each new row while the window is visible; the
// statistics of that period; the alarm's threshold (in the unit shown),
// switch and sound; the journal folder. Its place on the screen is kept in
// the settings file under its own section.
class TJournalWindowCore : public TStoredForm {
  public:
    static constexpr const char* kSection = "TJournalForm";

    // view and window must outlive the core. Listens to the detector's rows.
    TJournalWindowCore(TJournalWindowView& view, TFormWindow& window,
                       const TJournalWindowServices& services);
    ~TJournalWindowCore() override;
    TJournalWindowCore(const TJournalWindowCore&) = delete;
    TJournalWindowCore& operator=(const TJournalWindowCore&) = delete;

    // The view's events.
    // The window is about to appear: its stored place, the period's rows
    // read from the journal, the alarm's settings.
    void FormShow();
    // Always granted; the place is saved and the window hides.
    bool FormCloseQuery();
    void FormDestroy();
    void PeriodClicked(TJournalPeriod period);
    // Applies the threshold field's text: a positive number in the unit
    // shown, with ',' or '.'; an empty field clears the threshold. A text
    // that is no such number changes nothing and says so in the state line.
    void ThresholdEntered();
    // Enter, the same in both editions: in the threshold field it applies
    // the threshold; elsewhere it does what the focused control does, so a
    // push button is pressed, and a check box or a period's button, which
    // answer Space, is left alone.
    void EnterPressed(TJournalControl focused);
    void AlarmClicked(bool enabled);
    void SoundClicked(bool sound);
    void OpenFolderClicked();

    TJournalPeriod Period() const { return period_; }
    // Empty until the window is first shown.
    const TChartDrawing& Drawing() const { return drawing_; }

    std::string ClassName() const override { return kSection; }
    TStoredControl* FindControl(std::string_view) override { return nullptr; }
    void ReportError(const std::exception& error) override;

  private:
    void RowAppended(const TJournalPoint& point);
    void ReadPeriod();
    void Rebuild();
    // The threshold with its label and field, the switches and the state
    // line; the state line alone.
    void ShowAlarm();
    void ShowAlarmState();
    void ApplyAlarmSettings(const TAlarmSettings& settings);
    TChartFormats Formats() const;

    TJournalWindowView& view_;
    const TJournalWindowServices services_;
    std::unique_ptr<TFormPlacement> placement_;
    TJournalPeriod period_ = TJournalPeriod::Day;
    bool visible_ = false;
    // The period's points up to the last rebuild, sorted by time.
    std::vector<TJournalPoint> points_;
    std::size_t skippedLines_ = 0;
    std::size_t unreadableFiles_ = 0;
    TChartDrawing drawing_;
    std::string stateMessage_;
    // The unit factor of the threshold's label and field as last shown.
    double shownUnitFactor_ = 0;
};

}  // namespace ornet5
