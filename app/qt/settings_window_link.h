#pragma once

#include "app/qt/options_window.h"

namespace ornet5 {

class TTrelanADCFace;

// The main window's view of the connection settings window.
class TSettingsWindowLink : public TOptionsWindow {
  public:
    explicit TSettingsWindowLink(TTrelanADCFace& window) : window_(window) {}
    void ShowAndRaise() override;
    void Close() override;

  private:
    TTrelanADCFace& window_;
};

}  // namespace ornet5
