#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/cycle_values.h"
#include "settings/stored_form.h"

namespace ornet5 {

class TFormStorage;
class TProgramEvents;
class TStoredProperty;

enum class TComboBox { Port, Speed };
enum class TUnitButton { Zv, Rentgen };

// What the connection settings window's core needs of its view: the values
// of its controls, and its two text fields.
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
};

// What the program gives the connection settings window; each must outlive
// the window.
struct TSettingsWindowServices {
    // What happens on the window's events (the unit choice), and the
    // standard error report for errors that escape its handlers.
    TProgramEvents& events;
    // Hands the port, speed and unit as the controls now stand to the
    // detector that the window chooses for; called on the window thread
    // whenever one of them may have changed.
    std::function<void(const TPollChoices&)> choose;
};

// The connection settings window apart from its controls: the settings
// store with the entries it keeps, the unit buttons' rule, and the user's
// choices handed on to the measuring engine, which polls with them and
// sends back the address and status texts shown here. The view creates its
// controls, then this core, and forwards its events here.
class TSettingsWindowCore : public TStoredForm {
  public:
    // The section of the settings file, named after the window's class,
    // as it has always been.
    static constexpr const char* kSection = "TTrelanADCFace";
    // The detector's device until a port entry is chosen.
    static constexpr const char* kDesignPortName = "\\\\.\\COM3";

    // Hands the design's choices over and attaches the settings store,
    // which has not touched the file yet. view and window must outlive
    // the core.
    TSettingsWindowCore(TSettingsWindowView& view, TFormWindow& window,
                        const TSettingsWindowServices& services);
    ~TSettingsWindowCore() override;
    TSettingsWindowCore(const TSettingsWindowCore&) = delete;
    TSettingsWindowCore& operator=(const TSettingsWindowCore&) = delete;

    // The view's events.
    // The user checks a unit button (mouse, Space, arrow keys).
    void UnitClicked(TUnitButton button);
    // A combo box's selection or text changed, by the user or otherwise.
    void ChoiceEdited();
    // The window is about to appear: the store loads, before it is mapped.
    void FormShow();
    // A close was asked for: it is always granted, and the store saves.
    bool FormCloseQuery();
    // The window is going away, or the session ends: the store saves when
    // it has not since it last loaded.
    void FormDestroy();

    // What the detector publishes for this window.
    void ShowAddressText(const std::string& text) { view_.ShowAddressText(text); }
    void ShowStatusText(const std::string& text) { view_.ShowStatusText(text); }

    // The choices as the controls now stand.
    TPollChoices Choices() const;
    // True when µR/h is chosen, false for µSv/h.
    bool RentgenChosen() const { return view_.UnitChecked(TUnitButton::Rentgen); }
    TFormStorage& FormStorage1() { return *formStorage1_; }

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
    std::vector<std::unique_ptr<TStoredProperty>> storedControls_;
    std::unique_ptr<TFormStorage> formStorage1_;
};

}  // namespace ornet5
