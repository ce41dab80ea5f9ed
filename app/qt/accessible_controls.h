#pragma once

namespace ornet5 {

// Tells screen readers what the windows' own controls are: the heading and
// dose labels are labels that read out their visible text, and the unit
// choices are radio buttons (Qt takes a button that is not exclusive in its
// own way for a check box). Safe to call more than once.
void InstallAccessibleControls();

}  // namespace ornet5
