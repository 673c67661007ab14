#include "winutil/tick_clock.h"

namespace wendrel {

std::uint64_t TickClock::Now() {
  std::uint64_t last = last_.load();
  for (;;) {
    // Read after `last`, so the tick is never older than the one `last` was
    // made from, and the unsigned difference counts a wrap in between. When
    // another thread has stored a reading meanwhile, the exchange fails and
    // the tick is read again.
    const std::uint32_t tick = source_();
    const std::uint64_t now =
        last + static_cast<std::uint32_t>(tick - static_cast<std::uint32_t>(last));
    if (last_.compare_exchange_weak(last, now)) return now;
  }
}

}  // namespace wendrel
