#pragma once

#include <cstdint>
#include <optional>

#include <QObject>

namespace ornet5 {

// The Escape key's physical state, whichever window has the focus. On X11
// it is read from the server's key map at each call, so a press is seen even
// while the event loop is blocked in an exchange; elsewhere it is the state
// the program last saw in a key event.
class TEscapeKey : public QObject {
    Q_OBJECT

  public:
    // Watches the application's key events; one instance per program.
    TEscapeKey();
    ~TEscapeKey() override;

    bool IsDown();
    // True when the state comes from the X11 key map.
    bool ReadsX11KeyMap();
    // Escape's key code on the X server; 0 when it has none or off X11.
    std::uint8_t X11KeyCode();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<bool> X11State();

    bool lastSeenDown_ = false;
    // Escape's key code on the X server, looked up once; 0 when it has none.
    std::optional<std::uint8_t> x11KeyCode_;
};

}  // namespace ornet5
