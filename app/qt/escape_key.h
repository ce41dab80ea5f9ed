#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include <QObject>

struct xcb_connection_t;

namespace ornet5 {

// The Escape key's physical state, whichever window has the focus. On X11
// it is read from the server's key map at each call, so a press is seen
// whatever the window thread is doing; elsewhere it is the state the
// program last saw in a key event. IsDown may be called from any thread:
// the detector's exchange reads it there.
class TEscapeKey : public QObject {
    Q_OBJECT

  public:
    // Watches the application's key events; one instance per program, made
    // on the window thread.
    TEscapeKey();
    ~TEscapeKey() override;

    bool IsDown() const;
    // True when the state comes from the X11 key map.
    bool ReadsX11KeyMap() const;
    // Escape's key code on the X server; 0 when it has none or off X11.
    std::uint8_t X11KeyCode() const { return x11KeyCode_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<bool> X11State() const;

    std::atomic<bool> lastSeenDown_ = false;
    // The X server's connection, which libxcb lets any thread use, and
    // Escape's key code there, looked up once; null and 0 off X11.
    xcb_connection_t* x11_ = nullptr;
    std::uint8_t x11KeyCode_ = 0;
};

}  // namespace ornet5
