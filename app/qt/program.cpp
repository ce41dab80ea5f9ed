#include "app/qt/program.h"

#include <iostream>

#include <QDesktopServices>
#include <QUrl>

#include "app/qt/accessible_controls.h"
#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/journal_window.h"
#include "app/qt/program_icon.h"
#include "app/qt/qt_program_windows.h"
#include "app/qt/qt_window_thread.h"
#include "app/qt/signal_quit.h"
#include "app/qt/trelan_adc_face.h"
#include "app/qt/window_references.h"

namespace ornet5 {

TProgram::TProgram(TGuardedApplication& application, std::chrono::milliseconds pollPeriod)
    : application_(application) {
    QApplication::setWindowIcon(ProgramIcon());
    InstallAccessibleControls();
    face_ = std::make_unique<TFace>();
    Face = face_.get();
    windows_ = std::make_unique<TQtProgramWindows>(*face_);
    TProgramToolkit& toolkit = *this;
    monitor_ = std::make_unique<TMonitorProgram>(toolkit, pollPeriod);
    signalQuit_ = std::make_unique<TSignalQuit>([this] {
        // The final save may still fail; its report must not keep a
        // program that was told to end waiting for a click.
        monitor_->Events().ReportToErrorLogOnly();
        face_->close();
    });
}

TProgram::~TProgram() {
    signalQuit_.reset();
    face_->SetEvents(nullptr);
    windows_->SetJournalWindow(nullptr);
    windows_->SetSettingsWindow(nullptr);
    TrelanADCFace = nullptr;
    monitor_.reset();
    application_.SetErrorHandler(nullptr);
    windows_.reset();
    face_.reset();
    Face = nullptr;
}

int TProgram::Run() {
    face_->show();
    // A bare X server has no window manager to activate the new window, and
    // the first activation is what loads the stored settings.
    face_->activateWindow();
    return application_.exec();
}

TProgramWindows& TProgram::Windows() {
    return *windows_;
}

TMainDisplay& TProgram::MakeMainWindow(TProgramEvents& events) {
    // The one way to the report for every handler's escaping error.
    application_.SetErrorHandler([&events](const std::exception& error) { events.Post(error); });
    face_->SetEvents(&events);
    return face_->Core();
}

std::unique_ptr<TSettingsWindowPart> TProgram::MakeSettingsWindow(
    const TSettingsWindowServices& services) {
    auto window = std::make_unique<TTrelanADCFace>(services);
    settingsWindow_ = window.get();
    TrelanADCFace = settingsWindow_;
    windows_->SetSettingsWindow(settingsWindow_);
    return window;
}

std::unique_ptr<TJournalWindowPart> TProgram::MakeJournalWindow(
    const TJournalWindowServices& services) {
    auto window = std::make_unique<TJournalWindow>(services);
    journalWindow_ = window.get();
    windows_->SetJournalWindow(journalWindow_);
    return window;
}

std::unique_ptr<TWindowThread> TProgram::MakeWindowThread() {
    return std::make_unique<TQtWindowThread>();
}

std::ostream& TProgram::Diagnostics() {
    return std::cerr;
}

// What a user who may not open a serial device does about it on Linux.
std::string TProgram::AccessAdvice() const {
    return "добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите в "
           "систему заново";
}

std::function<bool()> TProgram::EscapeKey() {
    return [this] { return escapeKey_.IsDown(); };
}

// The desktop's bell.
void TProgram::Beep() {
    QApplication::beep();
}

bool TProgram::OpenFolder(const std::filesystem::path& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

}  // namespace ornet5
