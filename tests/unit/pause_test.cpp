#include "automation/pause.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

// The pause lasts n seconds from its start rounded to the nearest second.
// Without events one wait covers it all (no spinning); nothing or less
// returns at once.
TEST(Pause, LastsNSecondsFromTheRoundedStart) {
  const struct {
    const char* name;
    int seconds;
    std::uint64_t start_fraction_ms;  // of the clock's second when it starts
    std::uint64_t want_ms;
  } cases[] = {
      {"on a whole second", 60, 0, 60000},
      {"just before the half rounds down", 60, 499, 59501},
      {"half a second rounds up", 60, 500, 60500},
      {"late in the second rounds up", 60, 999, 60001},
      {"one second, rounded down", 1, 200, 800},
      {"one second, rounded up", 1, 700, 1300},
      {"nothing", 0, 700, 0},
      {"less than nothing", -1, 700, 0},
      {"the least int", -2147483647 - 1, 700, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    d.AdvanceClock(1000 - d.NowMs() % 1000 + c.start_fraction_ms);
    const std::uint64_t begin = d.NowMs();
    Pause(d, c.seconds);
    EXPECT_EQ(d.NowMs() - begin, c.want_ms);
    EXPECT_EQ(d.Waits().size(), c.want_ms > 0 ? 1u : 0u);
    EXPECT_EQ(d.DoEventsCalls(), c.want_ms > 0 ? 1 : 0);
  }
}

TEST(Pause, HandlesEventsWhileItWaits) {
  FakeDesktop d;
  const std::uint64_t begin = d.NowMs();
  std::uint64_t ran_at = 0;
  d.After(30000, [&] { ran_at = d.NowMs(); });
  d.After(45000, [] {});
  Pause(d, 60);
  EXPECT_EQ(ran_at - begin, 30000u);
  EXPECT_EQ(d.NowMs() - begin, 60000u);
  // One wait up to each event and one for the rest of the minute.
  EXPECT_EQ(d.Waits().size(), 3u);
}

TEST(Pause, LongestWaitDoesNotOverflow) {
  FakeDesktop d;
  d.SetEventCallLimit(2000);  // waits are cut to what one call can take
  const std::uint64_t begin = d.NowMs();
  Pause(d, 2147483647);
  EXPECT_EQ(d.NowMs() - begin, 2147483647ull * 1000);
}

}  // namespace
}  // namespace wendrel
