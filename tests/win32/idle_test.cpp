// Idle mode and the pause, with the simulated client in a version 5 room
// and the clock in the test's hands.
#include "app/idle.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>

#include "tests/support/app_doubles.h"
#include "tests/support/texts.h"
#include "winutil/pause.h"

namespace wendrel::testing {
namespace {

using Handler = void (*)(AppServices&, IdlePanel&);
void OffThenOn(AppServices& s, IdlePanel& f) { StopIdle(s, f); StartIdle(s, f); }
void OnTwice(AppServices& s, IdlePanel& f) { StartIdle(s, f); StartIdle(s, f); }

// Each handler with a stored, an answered and a cancelled handle, the tick
// across its rollovers, and other handlers run inside the rollover's pause:
// the room's bytes, the counters, the timer (on before, but for Idle On),
// the prompt and the pause on the virtual clock.
TEST(Idle, HandlersPostCountAndRollOver) {
  const char* owl = "nightowl";
  const Lines p59 = TickLines("0/d 0/h 59/m"), off59 = p59 + Lines{FinalLine("0/d 0/h 59/m")};
  const Counts zero = {"0", "0", "0"}, at58 = {"0", "0", "58"};
  const Lines inactive = {kBanner, InactiveLine(owl)};
  const struct {
    const char* name; Handler run; const char* handle; Lines answers; Counts before;
    Handler in_pause;
    Lines want; Counts after; bool pause;
  } cases[] = {
      {"Idle On twice", OnTwice, owl, {}, {"0", "2", "15"}, nullptr, {kStart, kStart},
       {"0", "2", "15"}, false},
      {"Idle On, answer kept as typed", StartIdle, "", {" Owl "}, zero, nullptr,
       {kBanner, InactiveLine(" Owl ")}, zero, false},
      {"Idle On, prompt cancelled", StartIdle, "", {}, zero, nullptr, {}, zero, false},
      {"Idle Off", StopIdle, owl, {}, {"0", "2", "15"}, nullptr, {FinalLine("0/d 2/h 15/m")}, zero,
       false},
      {"Idle Off, prompt answered", StopIdle, "", {owl}, {"0", "2", "15"}, nullptr, inactive,
       {"0", "2", "15"}, false},
      {"tick, prompt answered", IdleTick, "", {owl}, zero, nullptr, {kBanner, ActiveLine(owl)},
       {"0", "0", "1"}, false},
      {"tick to 59, prompt cancelled", IdleTick, "", {}, at58, nullptr, {}, {"0", "0", "59"},
       false},
      {"59 minutes", IdleTick, owl, {}, at58, nullptr, p59 + TickLines("0/d 1/h 0/m"),
       {"0", "1", "0"}, true},
      {"a day", IdleTick, owl, {}, {"4", "23", "58"}, nullptr,
       TickLines("4/d 23/h 59/m") + TickLines("5/d 0/h 0/m"),
       {"5", "0", "0"}, true},
      {"past 59", IdleTick, owl, {}, {"0", "3", "60"}, nullptr, TickLines("0/d 3/h 61/m"),
       {"0", "3", "61"}, false},
      {"Idle Off and On in the pause", IdleTick, owl, {}, at58, OffThenOn, off59 + Lines{kStart},
       zero, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimThread sim(kOwlsClient);
    TestServices s(c.handle, c.answers);
    CounterPanel panel(c.before);
    panel.timer = c.run != StartIdle && c.run != OnTwice;
    // The handlers themselves never run a DoEvents outside the pause.
    if (c.in_pause) s.loop.After(0, [&] { c.in_pause(s.services, panel); });
    c.run(s.services, panel);
    ASSERT_TRUE(s.Flush());
    EXPECT_EQ(sim.Chat(), InRoom(c.want));
    EXPECT_EQ(panel.captions, c.after);
    EXPECT_EQ(panel.timer, c.run != StopIdle);
    EXPECT_EQ(panel.restarts, 0) << "Idle On started the countdown over";
    EXPECT_EQ(panel.restarted, c.pause && !c.in_pause ? 1 : 0)
        << "the minute starts over after the rollover";
    EXPECT_EQ(panel.on_top, c.run == IdleTick ? 1 : 0);
    EXPECT_EQ(s.loop.Waits(), std::vector<unsigned>(c.pause, 60000));
    EXPECT_EQ(s.asked, Lines(*c.handle ? 0 : 1, kHandleQuestion + "|wendrel idler"));
    EXPECT_EQ(s.handle, *c.handle || c.answers.empty() ? c.handle : c.answers[0]);
  }
}

// Takes every job and runs none: the day below is about the count, and
// the bytes of each kind of tick are above.
struct CountingLink : ClientLink {
  void Hand(Job) override { ++jobs; }
  void HandRoomEntry(Job) override { ++jobs; }
  void SetDeniedNotice(std::function<void()>) override {}
  bool Flush(unsigned) override { return true; }
  bool Close(unsigned) override { return true; }
  int jobs = 0;
};

// A day of the timer's ticks, Idle On clicked at various moments into a
// second: every tick that counts shows the time idle mode has run, so the
// tick after a rollover comes a minute after its pair, never at once. The
// rollover's pause lasts 59.5 to 60.5 s, so the count may lag by half a
// second an hour.
TEST(Idle, ADayOfTicksCountsOneMinuteATick) {
  for (const std::uint64_t into_second : {0, 250, 499, 500, 750, 999}) {
    SCOPED_TRACE(into_second);
    TestServices s("nightowl", {});
    CountingLink link;
    AppServices services{s.loop, s, s, link};
    CounterPanel panel({"0", "0", "0"});
    s.loop.Advance(1000 - s.loop.NowMs() % 1000 + into_second);
    const std::uint64_t start = s.loop.NowMs();
    int ticks = 0, off = 0;
    panel.Tick(s.loop, [&] {
      if (panel.ticking) return IdleTick(services, panel);  // dropped
      IdleTick(services, panel);
      ++ticks;
      const auto count = [&](Counter c) { return std::stoll(panel.CounterText(c)); };
      const std::int64_t minutes =
          count(Counter::kDays) * 1440 + count(Counter::kHours) * 60 + count(Counter::kMinutes);
      const std::int64_t ran = static_cast<std::int64_t>(s.loop.NowMs() - start);
      off += std::llabs(ran - minutes * 60000) >= 30000;
    });
    StartIdle(services, panel);
    s.loop.RunUntil(start + 24 * 3600000ull + 30000);
    EXPECT_EQ(ticks, 24 * 59);
    EXPECT_EQ(off, 0) << "ticks that showed a minute more or less than had passed";
    EXPECT_EQ(panel.captions, (Counts{"1", "0", "0"}));
    EXPECT_EQ(panel.restarted, 24);
    EXPECT_EQ(link.jobs, 1 + 2 * (24 * 59 + 24))
        << "the start line, then a pair a tick and a rollover";
  }
}

// n seconds from the start rounded to the nearest second, in one wait while
// nothing happens (the clock moves only by the waits); nothing or less
// returns at once, handling no event.
TEST(Pause, LastsNSecondsFromTheRoundedStart) {
  // start: into the clock's second
  const struct { int seconds; unsigned start_ms, want_ms; } cases[] = {
      {60, 0, 60000}, {60, 499, 59501}, {60, 500, 60500}, {60, 999, 60001}, {1, 200, 800},
      {1, 700, 1300},
      {0, 700, 0}, {-1, 700, 0}, {INT_MIN, 700, 0}};
  for (const auto& c : cases) {
    VirtualEventLoop p;
    p.Advance(1000 - p.NowMs() % 1000 + c.start_ms);
    bool handled = false;
    p.After(0, [&] { handled = true; });
    Pause(p, c.seconds);
    EXPECT_EQ(p.Waits(), std::vector<unsigned>(c.want_ms ? 1 : 0, c.want_ms))
        << c.seconds << " s at " << c.start_ms;
    EXPECT_EQ(handled, c.want_ms > 0) << c.seconds << " s";
  }
  VirtualEventLoop p;
  const std::uint64_t begin = p.NowMs();
  Pause(p, INT_MAX);
  EXPECT_EQ(p.NowMs() - begin, INT_MAX * 1000ull) << "longer than one wait can take";
}

}  // namespace
}  // namespace wendrel::testing
