#pragma once

#include <string>
#include <string_view>

namespace ornet5 {

// The dose text shown in the main window: at most two significant digits
// and no digit past the second decimal, e.g. "0,12", "10,00", "1,2E02".
// The reading is first written with 18 significant digits and that text is
// rounded half up, so a double just below a rounding boundary may still
// round up. decimalSeparator is the user's regional one.
// Readings are never negative; should one be, the text of its magnitude
// gets a leading minus sign. Infinities and NaN give "inf" and "nan".
std::string DoseText(double reading, std::string_view decimalSeparator);

}  // namespace ornet5
