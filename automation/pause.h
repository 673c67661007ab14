// Waiting while the window stays responsive.
#pragma once

#include <cstdint>
#include <functional>

#include "automation/platform.h"

namespace wendrel {

// Returns once `seconds` have passed (n - 0.5 to n + 0.5 s, as the start is
// rounded to a whole second), handling events meanwhile without spinning.
// seconds <= 0 returns at once without handling any event. Returns early
// once the program is quitting.
void Pause(Platform& p, int seconds);

// Handles pending events, then runs `pass`, once a pass, until `pass`
// returns true (true) or `limit_ms` have gone by or the program is
// quitting (false). Between passes it
// sleeps up to `retry_ms`, waking early for an event, so it never spins.
bool WaitForPass(Platform& p, std::uint64_t limit_ms, unsigned retry_ms,
                 const std::function<bool()>& pass);

}  // namespace wendrel
