#pragma once

#include <string>

#include "app/qt/window_services.h"
#include "measure/poll_values.h"

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QStatusBar;

namespace ornet5 {

// The poll cycle's six values over the windows' controls: the port, speed
// and unit controls of the settings window as inputs, the main window's
// dose label, the address field and the status bar as results.
class TControlPollValues : public TPollValues {
  public:
    struct TControls {
        QComboBox& port;
        QComboBox& speed;
        QAbstractButton& rentgen;
        QLineEdit& address;
        QStatusBar& status;
    };

    TControlPollValues(const TControls& controls, TMainDisplay& face);

    int PortIndex() const override;
    std::string SpeedText() const override;
    bool RentgenChosen() const override;

    std::string DoseText() const override;
    void SetDoseText(const std::string& text) override;
    void SetDoseCurrent(bool current) override;
    void SetAddressText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;

  private:
    TControls controls_;
    TMainDisplay& face_;
};

}  // namespace ornet5
