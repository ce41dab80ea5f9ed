#pragma once

#include <string_view>

namespace ornet5 {

// One line on stderr, after the local time of day with milliseconds.
void LogLine(std::string_view text);

}  // namespace ornet5
