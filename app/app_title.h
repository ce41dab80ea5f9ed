#pragma once

namespace ornet5 {

// The program's title: the main window's caption and the caption of the
// error report's message boxes. It is deliberately not given to Qt as the
// application display name, because Qt would then append it to every
// window's caption.
inline constexpr const char* kApplicationTitle = "ОРНЕТ-5";

}  // namespace ornet5
