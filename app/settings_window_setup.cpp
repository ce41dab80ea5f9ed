#include "app/settings_window_setup.h"

#include "settings/settings_file.h"

namespace ornet5::settings_window {

std::unique_ptr<TFormStorage> MakeStore(TStoredForm& form) {
    auto store = std::make_unique<TFormStorage>(form, ProgramSettingsFile());
    store->SetOptions({TPlacementOption::Position});
    store->SetStoredProps({"CB_ComPort_Speed.ItemIndex", "CB_ComPort.ItemIndex",
                           "rbRentgen.Checked", "rbZv.Checked"});
    store->Loaded({});
    return store;
}

}  // namespace ornet5::settings_window
