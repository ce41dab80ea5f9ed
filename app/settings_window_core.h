#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "app/face_core.h"
#include "measure/cycle_outcome.h"
#include "measure/poll_values.h"
#include "serial/cp_drv.h"
#include "settings/stored_form.h"

namespace ornet5 {

class TFormStorage;
class TPollCycle;
class TPortOpenLog;
class TProgramEvents;
class TStoredProperty;
class TWindowExchangeEnvironment;

enum class TComboBox { Port, Speed };
enum class TUnitButton { Zv, Rentgen };

// What the connection settings window's core needs of its view: the values
// of its controls, and the poll timer.
class TSettingsWindowView {
  public:
    virtual ~TSettingsWindowView() = default;
    // The selected entry of a combo box, or -1 for none.
    virtual int ItemIndex(TComboBox box) const = 0;
    // Selects an entry that exists; its text becomes the edit text.
    virtual void SelectItem(TComboBox box, int index) = 0;
    virtual std::string SpeedText() const = 0;
    virtual bool UnitChecked(TUnitButton button) const = 0;
    // Checks or unchecks the button, nothing else: only a checked one is a
    // tab stop, and no handler runs.
    virtual void ShowUnitChecked(TUnitButton button, bool checked) = 0;
    virtual void ShowAddressText(const std::string& text) = 0;
    virtual void ShowStatusText(const std::string& text) = 0;
    // Starts the window's poll timer, whose ticks the view passes to
    // TimerTrelanTimer; false when the toolkit refuses a timer.
    virtual bool StartPollTimer(std::chrono::milliseconds period) = 0;
};

// What the program gives the connection settings window; each must outlive
// the window.
struct TSettingsWindowServices {
    TMainDisplay& face;
    // What happens on the window's events (poll tick, unit choice), and
    // the standard error report for errors that escape its handlers.
    TProgramEvents& events;
    // The Escape key's physical state at the moment of the call.
    std::function<bool()> escapeDown;
    const TRegionalFormats& formats;
    // Where the reasons a port cannot be opened are written: standard error
    // on Linux, the program's log on Windows.
    std::ostream& diagnostics;
    // Added to the "no permission" reason: what the user can do about it
    // on this system; may be empty.
    std::string accessAdvice;
    // Who hears how each poll cycle ended (the journal, the alarm); may be
    // null.
    TCycleObserver* cycles = nullptr;
};

// The connection settings window apart from its controls: the serial port
// driver (which tells the diagnostics why a port does not open), the poll
// cycle over the window's controls, its 3000 ms timer, the settings store
// with the entries it keeps, and the unit buttons' rule. The view creates
// its controls, then this core, and forwards its events here.
class TSettingsWindowCore : public TPollValues, public TStoredForm {
  public:
    // The section of the settings file, named after the window's class,
    // as it has always been.
    static constexpr const char* kSection = "TTrelanADCFace";
    static constexpr const char* kDesignPortName = "\\\\.\\COM3";
    static constexpr std::chrono::milliseconds kPollPeriod{3000};

    // Starts the poll timer (throws when it cannot) and attaches the
    // settings store, which has not touched the file yet. view, window
    // and driverTicks must outlive the core.
    TSettingsWindowCore(TSettingsWindowView& view, TFormWindow& window, TTickSource& driverTicks,
                        const TSettingsWindowServices& services);
    ~TSettingsWindowCore() override;
    TSettingsWindowCore(const TSettingsWindowCore&) = delete;
    TSettingsWindowCore& operator=(const TSettingsWindowCore&) = delete;

    // The view's events. The poll timer's tick runs one poll cycle through
    // the program's events, whose report opens its box only once the tick
    // is over, so that polling goes on behind it.
    void TimerTrelanTimer();
    // The user checks a unit button (mouse, Space, arrow keys).
    void UnitClicked(TUnitButton button);
    // The window is about to appear: the store loads, before it is mapped.
    void FormShow();
    // A close was asked for: it is always granted, and the store saves.
    bool FormCloseQuery();
    // The window is going away, or the session ends: the store saves when
    // it has not since it last loaded.
    void FormDestroy();

    TCPDrv& CommPort() { return commPort_; }
    TFormStorage& FormStorage1() { return *formStorage1_; }

    // The poll cycle's values: the window's controls, and the main window.
    int PortIndex() const override;
    std::string SpeedText() const override;
    bool RentgenChosen() const override;
    std::string DoseText() const override;
    void SetDoseText(const std::string& text) override;
    void SetDoseCurrent(bool current) override;
    void SetAddressText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;

    // The window as the settings store reaches it by name.
    std::string ClassName() const override { return kSection; }
    TStoredControl* FindControl(std::string_view name) override;
    void ReportError(const std::exception& error) override;

  private:
    // Checking a button unchecks the other and runs its click handler;
    // checking a checked one runs nothing; unchecking only unchecks, so the
    // stored settings may leave both unchecked.
    void SetUnitChecked(TUnitButton button, bool checked);
    // An index that names no entry leaves the box as it stands: clearing the
    // selection would also clear the text, and an empty speed stops every
    // poll.
    void SetItemIndex(TComboBox box, int index);

    TSettingsWindowView& view_;
    const TSettingsWindowServices services_;
    TCPDrv commPort_;
    std::unique_ptr<TPortOpenLog> portOpenLog_;
    std::unique_ptr<TWindowExchangeEnvironment> exchangeEnvironment_;
    std::unique_ptr<TPollCycle> pollCycle_;
    std::vector<std::unique_ptr<TStoredProperty>> storedControls_;
    std::unique_ptr<TFormStorage> formStorage1_;
};

}  // namespace ornet5
