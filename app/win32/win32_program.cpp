#include "app/win32/win32_program.h"

#include "app/win32/about_box.h"
#include "app/win32/escape_key.h"
#include "app/win32/face_window.h"
#include "app/win32/journal_window.h"
#include "app/win32/program_log.h"
#include "app/win32/settings_window.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_window_thread.h"

#include <shellapi.h>

namespace ornet5 {

TWin32Program::TWin32Program() : log_(ProgramLogSettings()) {
    TProgramToolkit& toolkit = *this;
    monitor_ = std::make_unique<TMonitorProgram>(toolkit);
}

TWin32Program::~TWin32Program() {
    monitor_.reset();
    // The report goes to the program's events, gone with the monitor.
    TWin32Window::SetErrorReport(nullptr);
    face_.reset();
}

int TWin32Program::Run() {
    face_->Show();
    MSG message{};
    BOOL got = 0;
    while ((got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
        // Tab, the arrow keys, Enter and the accelerators of the settings
        // and the journal window.
        if (::IsDialogMessageW(settingsWindow_->Handle(), &message) ||
            ::IsDialogMessageW(journalWindow_->Handle(), &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return got < 0 ? 1 : static_cast<int>(message.wParam);
}

TMainDisplay& TWin32Program::MakeMainWindow(TProgramEvents& events) {
    TWin32Window::SetErrorReport([&events](const std::exception& error) { events.Report(error); });
    // Logging off or shutting down saves as the program's end does: the
    // process may be ended as soon as the main window has answered, so a
    // failed save goes to the log rather than into a box that would hold
    // the session's end up.
    face_ = std::make_unique<TFaceWindow>(events, [this, &events] {
        events.ReportToErrorLogOnly();
        monitor_->StopMeasuring();
        if (settingsWindow_ != nullptr) {
            settingsWindow_->Core().FormDestroy();
        }
    });
    return face_->Core();
}

std::unique_ptr<TSettingsWindowPart> TWin32Program::MakeSettingsWindow(
    const TSettingsWindowServices& services) {
    auto window = std::make_unique<TSettingsWindow>(services);
    settingsWindow_ = window.get();
    return window;
}

std::unique_ptr<TJournalWindowPart> TWin32Program::MakeJournalWindow(
    const TJournalWindowServices& services) {
    auto window = std::make_unique<TJournalWindow>(services);
    journalWindow_ = window.get();
    return window;
}

std::unique_ptr<TWindowThread> TWin32Program::MakeWindowThread() {
    return std::make_unique<TWin32WindowThread>();
}

std::function<bool()> TWin32Program::EscapeKey() {
    return [] { return EscapeKeyDown(); };
}

void TWin32Program::Beep() {
    ::MessageBeep(MB_ICONWARNING);
}

bool TWin32Program::OpenFolder(const std::filesystem::path& folder) {
    const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
        nullptr, L"open", folder.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // ShellExecute's old contract: above 32 is success.
    return result > 32;
}

void TWin32Program::ShowSettingsWindow() {
    settingsWindow_->ShowAndRaise();
}

void TWin32Program::CloseSettingsWindow() {
    settingsWindow_->Close();
}

void TWin32Program::SetTitleText(const std::string& text) {
    face_->Core().SetTitleText(text);
}

void TWin32Program::RunAboutBox() {
    // A fresh box each time, gone when its run ends, also by an error.
    TAboutBox box(face_->Handle());
    box.RunModal();
}

void TWin32Program::ShowJournalWindow() {
    journalWindow_->ShowAndRaise();
}

void TWin32Program::ShowErrorBox(const std::string& caption, const std::string& text) {
    HWND active = ::GetActiveWindow();
    // Task-modal: every window of the program is disabled while it is open;
    // topmost, so that the always-on-top main window cannot hide it.
    ::MessageBoxW(nullptr, Wide(text).c_str(), Wide(caption).c_str(),
                  MB_OK | MB_ICONSTOP | MB_TASKMODAL | MB_TOPMOST);
    if (active != nullptr && ::IsWindow(active)) {
        ::SetActiveWindow(active);
    }
}

}  // namespace ornet5
