#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ornet5 {

// One of the XDG base folders: the variable's value (XDG_CONFIG_HOME,
// XDG_DATA_HOME, ...) when it is an absolute path (a relative or empty value
// counts as unset), else home/underHome; nothing when neither gives a folder.
std::optional<std::string> XdgBaseFolder(const std::optional<std::string>& variable,
                                         const std::optional<std::string>& home,
                                         std::string_view underHome);

}  // namespace ornet5
