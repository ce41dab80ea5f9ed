#include "app/settings_window_core.h"

#include "app/program_events.h"
#include "app/settings_window_design.h"
#include "app/stored_property.h"
#include "settings/ascii_text.h"
#include "settings/form_storage.h"

namespace ornet5 {

namespace {

int EntryCount(TComboBox box) {
    return static_cast<int>(box == TComboBox::Port ? settings_design::kPortEntries.size()
                                                   : settings_design::kSpeedEntries.size());
}

TUnitButton Other(TUnitButton button) {
    return button == TUnitButton::Zv ? TUnitButton::Rentgen : TUnitButton::Zv;
}

}  // namespace

TSettingsWindowCore::TSettingsWindowCore(TSettingsWindowView& view, TFormWindow& window,
                                         const TSettingsWindowServices& services)
    : view_(view), services_(services) {
    auto indexProperty = [this](const char* name, TComboBox box) {
        return std::make_unique<TStoredProperty>(
            name, "ItemIndex", TPropertyKind::Integer, [this, box] { return view_.ItemIndex(box); },
            [this, box](std::int32_t index) { SetItemIndex(box, index); });
    };
    auto checkedProperty = [this](const char* name, TUnitButton button) {
        return std::make_unique<TStoredProperty>(
            name, "Checked", TPropertyKind::Boolean,
            [this, button] { return view_.UnitChecked(button) ? 1 : 0; },
            [this, button](std::int32_t checked) { SetUnitChecked(button, checked != 0); });
    };
    storedControls_.push_back(indexProperty("CB_ComPort", TComboBox::Port));
    storedControls_.push_back(indexProperty("CB_ComPort_Speed", TComboBox::Speed));
    storedControls_.push_back(checkedProperty("rbZv", TUnitButton::Zv));
    storedControls_.push_back(checkedProperty("rbRentgen", TUnitButton::Rentgen));

    formStorage1_ = std::make_unique<TFormStorage>(*this, window, ProgramSettingsFile());
    formStorage1_->SetOptions({TPlacementOption::Position});
    formStorage1_->SetStoredProps({"CB_ComPort_Speed.ItemIndex", "CB_ComPort.ItemIndex",
                                   "rbRentgen.Checked", "rbZv.Checked"});
    formStorage1_->Loaded({});
    ChoiceEdited();
}

TSettingsWindowCore::~TSettingsWindowCore() = default;

void TSettingsWindowCore::UnitClicked(TUnitButton button) {
    services_.events.Run([&] { SetUnitChecked(button, true); });
}

void TSettingsWindowCore::ChoiceEdited() {
    services_.events.Run([this] { services_.choose(Choices()); });
}

TPollChoices TSettingsWindowCore::Choices() const {
    return {view_.ItemIndex(TComboBox::Port), view_.SpeedText(), RentgenChosen()};
}

void TSettingsWindowCore::FormShow() {
    formStorage1_->FormShow();
}

bool TSettingsWindowCore::FormCloseQuery() {
    bool canClose = true;
    services_.events.Run([&] { formStorage1_->FormCloseQuery(canClose); });
    return canClose;
}

void TSettingsWindowCore::FormDestroy() {
    formStorage1_->FormDestroy();
}

void TSettingsWindowCore::SetUnitChecked(TUnitButton button, bool checked) {
    const bool newlyChecked = checked && !view_.UnitChecked(button);
    view_.ShowUnitChecked(button, checked);
    if (newlyChecked) {
        view_.ShowUnitChecked(Other(button), false);
    }
    ChoiceEdited();
    if (!newlyChecked) {
        return;
    }
    if (button == TUnitButton::Zv) {
        services_.events.rbZvClick();
    } else {
        services_.events.rbRentgenClick();
    }
}

void TSettingsWindowCore::SetItemIndex(TComboBox box, int index) {
    if (index >= 0 && index < EntryCount(box)) {
        view_.SelectItem(box, index);
        ChoiceEdited();
    }
}

TStoredControl* TSettingsWindowCore::FindControl(std::string_view name) {
    for (const auto& control : storedControls_) {
        if (SameTextAscii(control->Name(), name)) {
            return control.get();
        }
    }
    return nullptr;
}

// Reported once the handler that met the error has returned, like every
// other error of the window's handlers.
void TSettingsWindowCore::ReportError(const std::exception& error) {
    services_.events.Post(error);
}

}  // namespace ornet5
