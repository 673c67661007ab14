#include "winutil/pause.h"

#include <cstdint>
#include <limits>

namespace wendrel {

void Pause(EventLoop& loop, int seconds) {
  if (seconds <= 0) return;
  // The start is rounded to the nearest whole second, so the wait lasts
  // between n - 0.5 and n + 0.5 seconds.
  const std::uint64_t start = (loop.NowMs() + 500) / 1000 * 1000;
  const std::uint64_t end = start + static_cast<std::uint64_t>(seconds) * 1000;
  constexpr std::uint64_t kMaxWait = std::numeric_limits<unsigned>::max();
  for (;;) {
    if (loop.NowMs() >= end || loop.Quitting()) return;
    loop.DoEvents();
    const std::uint64_t now = loop.NowMs();
    if (now >= end || loop.Quitting()) return;
    const std::uint64_t remaining = end - now;
    loop.WaitForEvents(static_cast<unsigned>(remaining < kMaxWait ? remaining : kMaxWait));
  }
}

}  // namespace wendrel
