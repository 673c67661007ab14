// Waiting while the window stays responsive.
#pragma once

#include "winutil/event_loop.h"

namespace wendrel {

// Returns once `seconds` have passed (n - 0.5 to n + 0.5 s, as the start is
// rounded to a whole second), handling events meanwhile without spinning.
// seconds <= 0 returns at once without handling any event. Returns early
// once the program is quitting.
void Pause(EventLoop& loop, int seconds);

}  // namespace wendrel
