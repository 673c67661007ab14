// A millisecond clock that keeps counting past the 49.7-day wrap of a
// 32-bit tick count (GetTickCount, the clock every Windows from XP on has).
#pragma once

#include <atomic>
#include <cstdint>

namespace wendrel {

class TickClock {
 public:
  using TickSource = std::uint32_t (*)();

  constexpr explicit TickClock(TickSource source) : source_(source) {}

  // The 32-bit tick extended to 64 bits. Safe to call from any thread; right
  // as long as calls are less than 2^32 ms (49.7 days) apart.
  std::uint64_t Now();

 private:
  TickSource source_;
  // The last reading as returned: its low half is the tick it was made from.
  std::atomic<std::uint64_t> last_{0};
};

#ifdef _WIN32
// GetTickCount extended: the one clock of the process (tick_clock_win32.cpp).
std::uint64_t SystemTickMs();
#endif

}  // namespace wendrel
