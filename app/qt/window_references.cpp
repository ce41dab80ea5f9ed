#include "app/qt/window_references.h"

namespace ornet5 {

TFace* Face = nullptr;
TTrelanADCFace* TrelanADCFace = nullptr;
TAboutBox* AboutBox = nullptr;

}  // namespace ornet5
