#pragma once

namespace ornet5 {

// Whether the Escape key is held down now, whichever program has the
// focus: the key's physical state, which an exchange reads at the start of
// each attempt while the message loop is blocked.
bool EscapeKeyDown();

}  // namespace ornet5
