#include "app/qt/settings_window_link.h"

#include "app/qt/trelan_adc_face.h"

namespace ornet5 {

void TSettingsWindowLink::ShowAndRaise() {
    window_.ShowAndRaise();
}

void TSettingsWindowLink::Close() {
    window_.close();
}

}  // namespace ornet5
