#pragma once

#include <functional>
#include <string>

#include <QObject>

#include "app/program_events.h"
#include "app/qt/error_report.h"

namespace ornet5 {

class TFace;
class TJournalWindow;
class TTrelanADCFace;

// The Qt windows as the event logic sees them: the main window, the
// connection settings window (once it exists), the about box and the
// error report's box.
class TQtProgramWindows : public TProgramWindows {
  public:
    explicit TQtProgramWindows(TFace& face);

    // The settings window must outlive this object or be reset to nullptr;
    // without one, showing and closing it do nothing.
    void SetSettingsWindow(TTrelanADCFace* window) { settingsWindow_ = window; }
    // Likewise the journal window.
    void SetJournalWindow(TJournalWindow* window) { journalWindow_ = window; }

    void ShowSettingsWindow() override;
    void CloseSettingsWindow() override;
    void SetTitleText(const std::string& text) override;
    void RunAboutBox() override;
    void ShowJournalWindow() override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;
    void CallLater(std::function<void()> call) override;

  private:
    TFace& face_;
    TTrelanADCFace* settingsWindow_ = nullptr;
    TJournalWindow* journalWindow_ = nullptr;
    TErrorReport errorBox_;
    // Calls not yet made die with this object.
    QObject laterCalls_;
};

}  // namespace ornet5
