#pragma once

#include <QIcon>

namespace ornet5 {

// The program's icon, carried inside the program: a 32 x 32 picture with 16
// colours (scripts/make-program-icon.sh draws it).
QIcon ProgramIcon();

}  // namespace ornet5
