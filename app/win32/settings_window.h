#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/win32/win32_tick_source.h"
#include "app/win32/window_base.h"
#include "measure/poll_values.h"

namespace ornet5 {

class TCPDrv;
class TFaceWindow;
class TFormStorage;
class TPollCycle;
class TProgramEvents;
class TWin32StoredForm;
class TWindowExchangeEnvironment;

// The connection settings window "Измеритель на Trelan": port, speed and
// unit for the poll cycle, the address of the detector that answered and
// the outcome of the last exchange. It owns the serial port driver, the
// settings store and the 3000 ms poll timer, which runs from the window's
// creation to its end, visible or not. Closing it only hides it.
class TSettingsWindow : public TWin32Window, public TPollValues {
  public:
    TSettingsWindow(TProgramEvents& events, TFaceWindow& face, const TRegionalFormats& formats,
                    std::function<bool()> escapeDown);
    ~TSettingsWindow() override;

    // Shows the window, the settings store loading first, and brings it to
    // the front; an already visible window only comes to the front.
    void ShowAndRaise();
    // The ordinary close path: the store saves, the window hides.
    void Close();
    // The save that the window's destruction makes when none has been made
    // since the last load; also when Windows ends the session.
    void FinalSave();

    // The poll cycle's six values, over the controls.
    int PortIndex() const override;
    std::string SpeedText() const override;
    bool RentgenChosen() const override;
    std::string DoseText() const override;
    void SetDoseText(const std::string& text) override;
    void SetDoseCurrent(bool current) override;
    void SetAddressText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void BuildPortGroup();
    void BuildAddressGroup();
    void BuildUnitChoice();
    void BuildStatusBar();
    void StartPolling();
    void AttachFormStorage();
    // The unit buttons: checking one unchecks the other and runs its click
    // handler, checking a checked one runs nothing, unchecking only
    // unchecks. The checked one is the tab stop.
    void SetUnitChecked(HWND button, bool checked);
    void OnCommand(int id, int code);

    TProgramEvents& events_;
    TFaceWindow& face_;
    const TRegionalFormats& formats_;
    std::function<bool()> escapeDown_;
    std::unique_ptr<TWin32TickSource> driverTicks_;

    // Declared in the order of the window's components.
    std::unique_ptr<TCPDrv> commPort_;
    HWND groupBox1_ = nullptr;
    HWND cbComPort_ = nullptr;
    HWND cbComPortSpeed_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND groupBox2_ = nullptr;
    HWND leDeviceAdr_ = nullptr;
    std::unique_ptr<TWin32StoredForm> storedForm_;
    std::unique_ptr<TFormStorage> formStorage1_;
    HWND rbZv_ = nullptr;
    HWND rbRentgen_ = nullptr;

    std::unique_ptr<TWindowExchangeEnvironment> exchangeEnvironment_;
    std::unique_ptr<TPollCycle> pollCycle_;
};

}  // namespace ornet5
