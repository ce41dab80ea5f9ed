#pragma once

#include <functional>
#include <string>

#include "app/face_core.h"
#include "app/win32/window_base.h"

namespace ornet5 {

class TProgramEvents;

// The main window "ОРНЕТ-5": a heading and the dose rate in very large
// digits, always on top, fixed single frame with the system menu and the
// close button only. A right click anywhere (the labels included), the
// context-menu key or Shift+F10 opens its popup menu. Closing it ends the
// program's message loop; logging off or shutting down saves first.
class TFaceWindow : public TWin32Window, private TFaceView {
  public:
    // onEndSession runs when Windows ends the session (logging off or
    // shutting down), before the process is ended from outside.
    TFaceWindow(TProgramEvents& events, std::function<void()> onEndSession);
    ~TFaceWindow() override;

    void Show();

    TFaceCore& Core() { return core_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void BuildMenu();
    void BuildLabels();
    void PopupAt(POINT screenPoint);
    void DrawLabel(const DRAWITEMSTRUCT& item) const;

    void ShowTitleText(const std::string& text) override;
    void ShowDoseText(const std::string& text) override;
    // An old dose is drawn in the grey of text that does not apply now, an
    // alarm's in red.
    void ShowDoseInk(TDoseInk ink) override;

    TProgramEvents& events_;
    std::function<void()> onEndSession_;
    // Declared in the order of the window's components.
    HMENU popupMenu1_ = nullptr;
    // The action's hint is kept but never shown.
    std::string actOptionsShowHint_;
    HWND labelTitle_ = nullptr;
    HWND labelDose_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT doseFont_ = nullptr;
    TDoseInk doseInk_ = TDoseInk::Normal;
    TFaceCore core_{*this};
};

}  // namespace ornet5
