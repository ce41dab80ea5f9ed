#pragma once

#include "app/diagnostic_log.h"

namespace ornet5 {

// The Windows edition's diagnostics, which the Linux edition writes to
// standard error: the log %LOCALAPPDATA%\ORNET5\ORNET5.log, and each line
// also to OutputDebugStringW for a debugger or DebugView. Without a data
// folder (the system names none) only the latter.
TDiagnosticLogSettings ProgramLogSettings();

}  // namespace ornet5
