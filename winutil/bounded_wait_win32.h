// The system's waits, always with a deadline.
#pragma once

#include <windows.h>

namespace wendrel {

// A wait of `ms` as the system's waits take it: INFINITE would make it a
// wait without a deadline.
inline DWORD BoundedWaitMs(unsigned ms) { return ms < INFINITE ? ms : INFINITE - 1; }

}  // namespace wendrel
