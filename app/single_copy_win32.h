// One copy of the program per user: a second start hands over to the first.
//
// Two copies beside one client would type into the same input box at once,
// each taking the other's line for the user's text. So a copy started while
// another runs brings that one to the front and ends, posting nothing.
#pragma once

#include "winutil/handles_win32.h"

namespace wendrel {

// True when this is the only copy; `claim` then holds the name that keeps
// later copies out until this process ends. A copy that is still closing
// is waited for, up to about 15 s. Otherwise the running copy's window (or
// its open prompt) is brought forward and false is returned.
bool ClaimSingleCopy(UniqueKernelHandle& claim);

}  // namespace wendrel
