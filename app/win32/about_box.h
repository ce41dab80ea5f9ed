#pragma once

#include "app/win32/window_base.h"

#include <olectl.h>

namespace ornet5 {

// The about box "О программе": program name, version and the detector
// family, with the program's picture stretched into its frame. Enter or
// the OK button ends it with the result OK, the title bar's close button
// with the result Cancel; Escape does nothing.
class TAboutBox : public TWin32Window {
  public:
    // Created hidden, centred over the main window.
    explicit TAboutBox(HWND mainWindow);
    ~TAboutBox() override;

    // Runs the box modally: the program's other windows are disabled, and
    // the message loop goes on dispatching their timers. Returns IDOK or
    // IDCANCEL.
    int RunModal();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void BuildControls();
    void DrawPicture(const DRAWITEMSTRUCT& item) const;
    void EndModal(int result);

    HWND okButton_ = nullptr;
    // The picture as Windows' OLE picture object, or null when it cannot be
    // decoded: the frame then stays empty.
    IPicture* picture_ = nullptr;
    int result_ = 0;
    bool running_ = false;
};

}  // namespace ornet5
