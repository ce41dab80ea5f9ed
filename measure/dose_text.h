#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// The dose text shown in the main window: at most two significant digits
// and no digit past the second decimal, e.g. "0,12", "10,00", "1,2E02".
// reading is never negative; decimalSeparator is the user's regional one.
std::string DoseText(double reading, std::string_view decimalSeparator);

// A detector's address from its three address bytes: "4.2.31" for 04 02 1F.
std::string DeviceAddressText(std::string_view addressBytes);

}  // namespace ornet5
