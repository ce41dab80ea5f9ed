#pragma once

#include <optional>
#include <string>

namespace ornet5 {

// The user's configuration folder by the XDG rules: $XDG_CONFIG_HOME when it
// is an absolute path (a relative or empty value counts as unset), else
// $HOME/.config; nothing when neither gives a folder. The settings file and
// the COM port links both live there.
std::optional<std::string> ConfigHome(const std::optional<std::string>& xdgConfigHome,
                                      const std::optional<std::string>& home);

}  // namespace ornet5
