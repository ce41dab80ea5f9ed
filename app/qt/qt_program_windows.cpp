#include "app/qt/qt_program_windows.h"

#include <utility>

#include "app/qt/about_box.h"
#include "app/qt/face.h"
#include "app/qt/journal_window.h"
#include "app/qt/trelan_adc_face.h"

namespace ornet5 {

TQtProgramWindows::TQtProgramWindows(TFace& face) : face_(face) {
    errorBox_.SetMainWindow(&face_);
}

void TQtProgramWindows::ShowSettingsWindow() {
    if (settingsWindow_ != nullptr) {
        settingsWindow_->ShowAndRaise();
    }
}

void TQtProgramWindows::CloseSettingsWindow() {
    if (settingsWindow_ != nullptr) {
        settingsWindow_->close();
    }
}

void TQtProgramWindows::SetTitleText(const std::string& text) {
    face_.Core().SetTitleText(text);
}

void TQtProgramWindows::RunAboutBox() {
    ornet5::RunAboutBox(face_);
}

void TQtProgramWindows::ShowJournalWindow() {
    if (journalWindow_ != nullptr) {
        journalWindow_->ShowAndRaise();
    }
}

void TQtProgramWindows::ShowErrorBox(const std::string& caption, const std::string& text) {
    errorBox_.Show(caption, text);
}

void TQtProgramWindows::CallLater(std::function<void()> call) {
    QMetaObject::invokeMethod(&laterCalls_, std::move(call), Qt::QueuedConnection);
}

}  // namespace ornet5
