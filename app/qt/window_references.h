#pragma once

namespace ornet5 {

class TFace;
class TTrelanADCFace;
class TAboutBox;

// Program-wide references to the windows. Face and TrelanADCFace are set by
// the program's start-up and stay valid until its end; AboutBox is set only
// while an about box runs.
extern TFace* Face;
extern TTrelanADCFace* TrelanADCFace;
extern TAboutBox* AboutBox;

}  // namespace ornet5
