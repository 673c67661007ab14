// One copy of the program per user: a second start hands over to the first.
//
// Two copies beside one client would type into the same input box at once,
// each taking the other's line for the user's text. So a copy started while
// another runs brings that one to the front and ends, posting nothing.
#pragma once

#include "winutil/handles_win32.h"

namespace wendrel {

// Without a "Global\" prefix the name is the user's session's own, so other
// users on the same machine each run their own copy.
inline constexpr char kSingleCopyName[] = "wendrel idler one copy";

// True when this is the only copy; `claim` then holds the name that keeps
// later copies out until this process ends. A copy that is still closing
// is waited for, up to about 8 s, whatever rights it runs with. Otherwise
// the running copy's window (or its open prompt) is brought forward, or a
// frozen copy left alone, and false is returned.
// `name` is the claim's: the program's own unless a test gives another.
bool ClaimSingleCopy(UniqueKernelHandle& claim, const char* name = kSingleCopyName);

}  // namespace wendrel
