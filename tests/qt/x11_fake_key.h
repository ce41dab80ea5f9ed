#pragma once

#include <cstdint>

namespace ornet5::test {

// Presses or releases a key on the X server of the application's X11
// connection through the XTEST extension, as a real keyboard would; the
// server's key map changes accordingly. False when not on X11 or the server
// lacks the extension.
bool FakeX11Key(std::uint8_t keyCode, bool press);

}  // namespace ornet5::test
