#pragma once

#include <memory>

#include "app/program_toolkit.h"
#include "app/settings_window_core.h"
#include "app/win32/win32_form_window.h"
#include "app/win32/window_base.h"

namespace ornet5 {

// The connection settings window's Win32 view, "Измеритель на Trelan":
// creates the controls where the design puts them and forwards their
// messages to the window's core, which keeps the settings store and hands
// the user's choices to the measuring engine. Closing it only hides it.
class TSettingsWindow : public TWin32Window,
                        public TSettingsWindowPart,
                        private TSettingsWindowView {
  public:
    explicit TSettingsWindow(const TSettingsWindowServices& services);
    ~TSettingsWindow() override;

    // Shows the window, the settings store loading first, and brings it to
    // the front; an already visible window only comes to the front.
    void ShowAndRaise();
    // The ordinary close path: the store saves, the window hides.
    void Close();

    TSettingsWindowCore& Core() override { return *core_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void BuildControls();
    void OnCommand(int id, int code);

    HWND Box(TComboBox box) const { return box == TComboBox::Port ? cbComPort_ : cbComPortSpeed_; }
    HWND Button(TUnitButton button) const { return button == TUnitButton::Zv ? rbZv_ : rbRentgen_; }

    int ItemIndex(TComboBox box) const override;
    void SelectItem(TComboBox box, int index) override;
    std::string SpeedText() const override;
    bool UnitChecked(TUnitButton button) const override;
    void ShowUnitChecked(TUnitButton button, bool checked) override;
    void ShowAddressText(const std::string& text) override;
    void ShowStatusText(const std::string& text) override;

    // Declared in the order of the window's components.
    HWND groupBox1_ = nullptr;
    HWND cbComPort_ = nullptr;
    HWND cbComPortSpeed_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND groupBox2_ = nullptr;
    HWND leDeviceAdr_ = nullptr;
    HWND rbZv_ = nullptr;
    HWND rbRentgen_ = nullptr;

    std::unique_ptr<TWin32FormWindow> formWindow_;
    std::unique_ptr<TSettingsWindowCore> core_;
};

}  // namespace ornet5
