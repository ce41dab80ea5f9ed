#include "app/monitor_program.h"

#include <ostream>

#include "app/alarm_settings_file.h"
#include "common/overloaded.h"
#include "common/program_data_folder.h"

namespace ornet5 {

namespace {

// The running program's journal folder inside its data folder, if the
// system names one; without it no journal is kept.
std::optional<std::filesystem::path> ProgramJournalFolder() {
    const std::optional<std::filesystem::path> dataFolder = ProgramDataFolder();
    if (!dataFolder) {
        return std::nullopt;
    }
    return JournalFolder(*dataFolder);
}

TDetectorSetup DesktopDetectorSetup(const TProgramToolkit& toolkit,
                                    std::chrono::milliseconds pollPeriod) {
    const TSettingsFileLocation settingsFile = ProgramSettingsFile();
    const TIniFile ini(settingsFile.path, settingsFile.name);
    TDetectorSetup setup;
    setup.portName = TSettingsWindowCore::kDesignPortName;
    setup.recorder = {ProgramJournalFolder(), LoadAlarmSettings(ini)};
    setup.accessAdvice = toolkit.AccessAdvice();
    setup.period = pollPeriod;
    return setup;
}

}  // namespace

TMonitorProgram::TMonitorProgram(TProgramToolkit& toolkit, std::chrono::milliseconds pollPeriod)
    : toolkit_(toolkit),
      events_(toolkit.Windows(), toolkit.Diagnostics()),
      face_(toolkit.MakeMainWindow(events_)),
      detector_(engine_.Add(DesktopDetectorSetup(toolkit, pollPeriod),
                            TDetectorServices{toolkit.Formats(), toolkit.EscapeKey()})),
      desktopDetector_(detector_.Recorder(), ProgramSettingsFile()) {
    windowThread_ = toolkit_.MakeWindowThread();
    windowObserver_ = std::make_unique<TWindowThreadObserver>(
        *windowThread_, [this](const TDetectorEvent& event) { Show(event); });
    detector_.AddObserver(*windowObserver_);
    settingsServices_ = std::make_unique<const TSettingsWindowServices>(TSettingsWindowServices{
        events_, [this](const TPollChoices& choices) { detector_.SetChoices(choices); }});
    settingsWindow_ = toolkit_.MakeSettingsWindow(*settingsServices_);
    journalServices_ = std::make_unique<const TJournalWindowServices>(TJournalWindowServices{
        desktopDetector_, events_, [this] { return settingsWindow_->Core().RentgenChosen(); },
        toolkit_.Formats(),
        [this](const std::filesystem::path& folder) { return toolkit_.OpenFolder(folder); }});
    journalWindow_ = toolkit_.MakeJournalWindow(*journalServices_);
    engine_.Start();
}

TMonitorProgram::~TMonitorProgram() {
    engine_.Stop();
    // Whatever the detector said last is of no use to windows about to go.
    detector_.RemoveObserver(*windowObserver_);
    windowThread_.reset();
    journalWindow_.reset();
    settingsWindow_.reset();
    // The final save's failure, say, comes after the event loop has ended.
    events_.ReportPosted();
}

void TMonitorProgram::Show(const TDetectorEvent& event) {
    std::visit(
        TOverloaded{
            [this](const TStatusTextEvent& e) { settingsWindow_->Core().ShowStatusText(e.text); },
            [this](const TAddressTextEvent& e) { settingsWindow_->Core().ShowAddressText(e.text); },
            [this](const TDoseTextEvent& e) { face_.SetDoseText(e.text); },
            [this](const TDoseCurrentEvent& e) { face_.SetDoseCurrent(e.current); },
            [this](const TAlarmEvent& e) { face_.SetAlarm(e.on); },
            [this](const TAlarmSoundEvent&) { toolkit_.Beep(); },
            [this](const TRowEvent& e) { desktopDetector_.RowRecorded(e.row); },
            // The handler that met the error has long returned: the box may
            // open now, and polling goes on behind it.
            [this](const TCycleErrorEvent& e) {
                events_.ReportCycleError(e.message, e.cycleStart);
            },
            [this](const TDiagnosticEvent& e) { toolkit_.Diagnostics() << e.line << std::endl; },
        },
        event);
}

}  // namespace ornet5
