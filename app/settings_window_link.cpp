#include "app/settings_window_link.h"

#include "settings/trelan_adc_face.h"

namespace ornet5 {

void TSettingsWindowLink::ShowAndRaise() {
    window_.ShowAndRaise();
}

void TSettingsWindowLink::Close() {
    window_.close();
}

}  // namespace ornet5
