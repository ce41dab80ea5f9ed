#pragma once

namespace ornet5 {

// What the main window needs of the connection settings window: its show
// operation (load the stored settings, become visible, come to the front)
// and its ordinary close path (save, then hide).
class TOptionsWindow {
  public:
    virtual ~TOptionsWindow() = default;
    virtual void ShowAndRaise() = 0;
    virtual void Close() = 0;
};

}  // namespace ornet5
