#pragma once

#include "app/window_layout.h"

// The about box's design: its texts and the place of every control, read by
// both front ends.
namespace ornet5::about_design {

inline constexpr const char* kCaption = "О программе";
inline constexpr const char* kProductNameText = "ORNET-5";
inline constexpr const char* kVersionText = "версия 1.0";
inline constexpr const char* kCommentsText =
    "Программа предназначена для считывания показаний мощности дозы из приборов серии ОРНЕТ-5";
inline constexpr const char* kOkCaption = "OK";

inline constexpr TLayoutSize kClientSize{298, 213};
// A double bevel: inner edge raised, outer edge lowered.
inline constexpr TLayoutRect kPanel1{8, 8, 281, 161};
// In Panel1: the program's picture, stretched to fill its frame.
inline constexpr TLayoutRect kProgramIcon{8, 8, 121, 57};
inline constexpr TLayoutRect kProductName{144, 16, 129, 13};
inline constexpr TLayoutRect kVersion{144, 40, 129, 13};
// Centred and wrapped; its height is that of the three wrapped lines.
inline constexpr TLayoutRect kComments{8, 112, 240, 39};
// The default button.
inline constexpr TLayoutRect kOkButton{111, 180, 75, 25};

}  // namespace ornet5::about_design
