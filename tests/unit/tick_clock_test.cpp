#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "winutil/tick_clock.h"

namespace wendrel {
namespace {

std::atomic<std::uint32_t> tick{0};
std::uint32_t Tick() { return tick; }

// Readings of the 32-bit tick, in order, and the clock each must give.
TEST(TickClock, CountsOnAcrossWraps) {
  const struct {
    const char* name;
    std::vector<std::uint32_t> ticks;
    std::vector<std::uint64_t> want;
  } cases[] = {
      {"before, at and after the wrap", {0xFFFFFFF0u, 0xFFFFFFFFu, 0, 0x10},
       {0xFFFFFFF0u, 0xFFFFFFFFu, 1ull << 32, (1ull << 32) + 0x10}},
      {"three wraps, half a wrap a reading", {5, 0x80000005u, 5, 0x80000005u, 5, 0x80000005u, 5},
       {5, 0x80000005u, 0x100000005u, 0x180000005u, 0x200000005u, 0x280000005u, 0x300000005u}},
      {"a reading just short of a whole wrap later", {10, 9}, {10, 0x100000009u}},
  };
  for (const auto& c : cases) {
    TickClock clock(Tick);
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
      tick = c.ticks[i];
      EXPECT_EQ(clock.Now(), c.want[i]) << c.name << ", reading " << i;
    }
  }
}

// Threads reading at once, each read moving the tick by a sixteenth of a
// wrap (never a whole wrap between two stored readings, whatever the
// interleaving): every wrap is counted once, so the clock ends at the
// tick's full count.
TEST(TickClock, ThreadsReadingAtOnceCountEachWrapOnce) {
  static std::atomic<std::uint64_t> reads;
  reads = 0;
  constexpr std::uint32_t kStep = 0x10000000u;
  TickClock clock([]() -> std::uint32_t { return static_cast<std::uint32_t>(++reads * kStep); });
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] { for (int i = 0; i < 2000; ++i) clock.Now(); });
  for (std::thread& t : threads) t.join();
  const std::uint64_t now = clock.Now();
  EXPECT_EQ(now, reads * kStep);
}

}  // namespace
}  // namespace wendrel
