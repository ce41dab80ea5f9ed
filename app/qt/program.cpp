#include "app/qt/program.h"

#include <iostream>

#include <QDesktopServices>
#include <QUrl>

#include "app/app_title.h"
#include "app/qt/accessible_controls.h"
#include "app/qt/face.h"
#include "app/qt/guarded_application.h"
#include "app/qt/journal_window.h"
#include "app/qt/program_icon.h"
#include "app/qt/qt_program_windows.h"
#include "app/qt/signal_quit.h"
#include "app/qt/trelan_adc_face.h"
#include "app/qt/window_references.h"

namespace ornet5 {

namespace {

// What a user who may not open a serial device does about it on Linux.
constexpr const char* kAccessAdvice =
    "добавьте пользователя в группу dialout (sudo usermod -aG dialout $USER) и войдите в "
    "систему заново";

// The desktop's bell.
class TQtAlarmSound : public TAlarmSound {
  public:
    void Beep() override { QApplication::beep(); }
};

bool OpenFolder(const std::filesystem::path& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
}

}  // namespace

TProgram::TProgram(TGuardedApplication& application) : application_(application) {
    QApplication::setWindowIcon(ProgramIcon());
    InstallAccessibleControls();

    face_ = std::make_unique<TFace>();
    Face = face_.get();
    windows_ = std::make_unique<TQtProgramWindows>(*face_);
    events_ = std::make_unique<TProgramEvents>(*windows_);
    // The one way to the report for every handler's escaping error.
    application_.SetErrorHandler([this](const std::exception& error) { events_->Post(error); });

    sound_ = std::make_unique<TQtAlarmSound>();
    recorder_ =
        std::make_unique<TDoseRecorder>(TDoseRecorderServices{face_->Core(), *sound_, std::cerr});
    services_ = std::make_unique<const TSettingsWindowServices>(
        TSettingsWindowServices{face_->Core(), *events_, [this] { return escapeKey_.IsDown(); },
                                formats_, std::cerr, kAccessAdvice, recorder_.get()});
    settingsWindow_ = std::make_unique<TTrelanADCFace>(*services_);
    TrelanADCFace = settingsWindow_.get();
    windows_->SetSettingsWindow(settingsWindow_.get());
    journalServices_ = std::make_unique<const TJournalWindowServices>(TJournalWindowServices{
        *recorder_, *events_, [this] { return settingsWindow_->Core().RentgenChosen(); }, formats_,
        OpenFolder});
    journalWindow_ = std::make_unique<TJournalWindow>(*journalServices_);
    windows_->SetJournalWindow(journalWindow_.get());
    face_->SetEvents(events_.get());

    signalQuit_ = std::make_unique<TSignalQuit>([this] {
        // The final save may still fail; its report must not keep a
        // program that was told to end waiting for a click.
        events_->ReportToErrorLogOnly();
        face_->close();
    });
}

TProgram::~TProgram() {
    signalQuit_.reset();
    face_->SetEvents(nullptr);
    windows_->SetJournalWindow(nullptr);
    journalWindow_.reset();
    windows_->SetSettingsWindow(nullptr);
    settingsWindow_.reset();
    TrelanADCFace = nullptr;
    recorder_.reset();
    // The final save's failure, say, comes after the event loop has ended.
    events_->ReportPosted();
    application_.SetErrorHandler(nullptr);
    events_.reset();
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

}  // namespace ornet5
