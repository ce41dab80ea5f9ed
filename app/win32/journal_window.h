#pragma once

#include <array>
#include <memory>

#include "app/journal_window_core.h"
#include "app/program_toolkit.h"
#include "app/win32/win32_form_window.h"
#include "app/win32/window_base.h"

namespace ornet5 {

// The journal window's Win32 view, "Журнал доз": the controls where the
// design puts them, the chart drawn from the core's drawing, and the
// controls' messages forwarded to the core. Closing it only hides it.
class TJournalWindow : public TWin32Window, public TJournalWindowPart, private TJournalWindowView {
  public:
    explicit TJournalWindow(const TJournalWindowServices& services);
    ~TJournalWindow() override;

    // Shows the window, the core reading its period first, and brings it
    // to the front; an already visible window only comes to the front.
    void ShowAndRaise();

    TJournalWindowCore& Core() override { return *core_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void BuildControls();
    void OnCommand(int id, int code);
    TJournalControl FocusedControl() const;
    void DrawChart(const DRAWITEMSTRUCT& item) const;
    HWND Control(int id) const { return ::GetDlgItem(Handle(), id); }

    void ShowPeriod(TJournalPeriod period) override;
    void ShowChart() override;
    void ShowSummary(const std::string& text) override;
    void ShowThresholdLabel(const std::string& text) override;
    std::string ThresholdText() const override;
    void ShowThresholdText(const std::string& text) override;
    void ShowAlarmChecks(bool enabled, bool sound) override;
    void ShowAlarmState(const std::string& text) override;

    std::unique_ptr<TWin32FormWindow> formWindow_;
    std::unique_ptr<TJournalWindowCore> core_;
};

}  // namespace ornet5
