#pragma once

#include <windows.h>

#include "serial/line_settings.h"

namespace ornet5 {

// The device control block for a line, field for field, with every field
// the line settings do not name left 0. Kept apart from SetCommState so
// that the mapping (bit fields among it) is checked without a device.
DCB MakeDcb(const TLineSettings& settings);

// The timeouts of an open port: a read returns at once with the bytes
// already waiting; a write returns within its slice with the count the
// device took. Waiting is done apart from both (WaitCommEvent).
COMMTIMEOUTS MakeCommTimeouts();

}  // namespace ornet5
