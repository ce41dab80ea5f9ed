#pragma once

#include <memory>

#include "settings/form_storage.h"

namespace ornet5 {

// What the connection settings window is apart from its controls, the same
// in both editions: the port the driver starts on, the poll period, the
// help context, and the settings store with the entries it keeps.
namespace settings_window {

inline constexpr const char* kDesignPortName = "\\\\.\\COM3";
inline constexpr int kPollPeriodMs = 3000;
// Stored with the window; no help file stands behind it.
inline constexpr int kHelpContext = 680;

// The window's settings store over its stored form, in the program's
// settings file, loaded and attached: the window's position and the
// speed, port and unit choices, under the keys the settings file has
// always had.
std::unique_ptr<TFormStorage> MakeStore(TStoredForm& form);

}  // namespace settings_window

}  // namespace ornet5
