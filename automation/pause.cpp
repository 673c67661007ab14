#include "automation/pause.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace wendrel {

void Pause(Platform& p, int seconds) {
  if (seconds <= 0) return;
  // The start is rounded to the nearest whole second, so the wait lasts
  // between n - 0.5 and n + 0.5 seconds.
  const std::uint64_t start = (p.NowMs() + 500) / 1000 * 1000;
  const std::uint64_t end = start + static_cast<std::uint64_t>(seconds) * 1000;
  constexpr std::uint64_t kMaxWait = std::numeric_limits<unsigned>::max();
  for (;;) {
    if (p.NowMs() >= end || p.Quitting()) return;
    p.DoEvents();
    const std::uint64_t now = p.NowMs();
    if (now >= end || p.Quitting()) return;
    const std::uint64_t remaining = end - now;
    p.WaitForEvents(static_cast<unsigned>(remaining < kMaxWait ? remaining : kMaxWait));
  }
}

bool WaitForPass(Platform& p, std::uint64_t limit_ms, unsigned retry_ms,
                 const std::function<bool()>& pass) {
  const std::uint64_t deadline = p.NowMs() + limit_ms;
  for (;;) {
    p.DoEvents();
    if (pass()) return true;
    const std::uint64_t now = p.NowMs();
    if (now >= deadline || p.Quitting()) return false;
    p.WaitForEvents(static_cast<unsigned>(std::min<std::uint64_t>(retry_ms, deadline - now)));
  }
}

}  // namespace wendrel
