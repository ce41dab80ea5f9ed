#include "app/win32/escape_key.h"

#include <windows.h>

namespace ornet5 {

// The high bit is the state now; the low bit ("pressed since the last
// call") would report a press long over, so it is not looked at.
bool EscapeKeyDown() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

}  // namespace ornet5
