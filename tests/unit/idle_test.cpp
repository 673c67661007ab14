#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/announcements.h"
#include "app/idle.h"
#include "tests/unit/app_world.h"

namespace wendrel {
namespace {

using Lines = std::vector<std::string>;

const char kClientInfo[] = "\xB7 aim: owl99 aol: 5";  // middle dot

std::string Running(const std::string& d, const std::string& h, const std::string& m) {
  return IdleTimeLine("nightowl", kRunningVerb, d, h, m);
}
std::string Final(const std::string& d, const std::string& h, const std::string& m) {
  return IdleTimeLine("nightowl", kFinalVerb, d, h, m);
}
Lines Pair(const std::string& d, const std::string& h, const std::string& m) {
  return {Running(d, h, m), kClientInfo};
}
Lines Join(std::initializer_list<Lines> parts) {
  Lines all;
  for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::string kStart = "\xB7 nightowl: has started idle., aim: owl99";  // middle dot
const std::string kBanner = BannerLine();

TEST(Idle, NextCount) {
  struct Case {
    const char* name;
    std::string caption;
    std::string want;
  };
  const Case cases[] = {
      {"zero", "0", "1"},
      {"one digit to two", "9", "10"},
      {"past the rollover", "59", "60"},
      {"no exponent at a million", "999999", "1000000"},
      {"leading zero read as a number", "007", "8"},
      {"fraction kept", "1.5", "2.5"},
      {"empty counts as 0", "", "1"},
      {"letters count as 0", "abc", "1"},
      {"trailing text counts as 0", "12abc", "1"},
      {"hex counts as 0", "0x10", "1"},
      {"infinity counts as 0", "inf", "1"},
      {"overflow counts as 0", "1e999", "1"},
      {"sign counts as 0", "-5", "1"},
      {"lone point counts as 0", ".", "1"},
      {"more digits than fit in 64 bits", "100000000000000000000", "100000000000000000000"},
  };
  for (const Case& c : cases) EXPECT_EQ(NextCount(c.caption), c.want) << c.name;
}

// Each handler with a stored, an answered and a cancelled handle, and the
// tick across its rollovers: what is posted, the counters, the timer, and
// how long the rollover's pause held the tick.
TEST(Idle, HandlersAndRollovers) {
  using Handler = void (*)(AppServices&, IdleForm&);
  struct Case {
    const char* name;
    Handler handler;
    std::string handle;
    Lines answers;
    bool timer_before;
    std::string counters_before;  // "d/h/m"
    Lines want_lines;
    std::string want_counters;
    bool want_timer;
    int want_prompts;
    std::uint64_t want_ms = 0;  // the pause the tick took
  };
  const Lines active = {kBanner, "\xB7 now active., id: nightowl"};
  const Lines inactive = {kBanner, "\xB7 now unactive., id: nightowl"};
  const Case cases[] = {
      {"Idle On", StartIdle, "nightowl", {}, false, "0/0/0", {kStart}, "0/0/0", true, 0},
      {"Idle On keeps the counters", StartIdle, "nightowl", {}, false, "0/2/15", {kStart}, "0/2/15", true, 0},
      {"Idle On while on", StartIdle, "nightowl", {}, true, "0/0/7", {kStart}, "0/0/7", true, 0},
      {"Idle On, prompt answered", StartIdle, "", {"nightowl"}, false, "0/0/0", inactive, "0/0/0", true, 1},
      {"Idle On, prompt cancelled", StartIdle, "", {}, false, "0/0/0", {}, "0/0/0", true, 1},
      {"Idle Off", StopIdle, "nightowl", {}, true, "0/2/15", {Final("0", "2", "15")}, "0/0/0", false, 0},
      {"Idle Off while off", StopIdle, "nightowl", {}, false, "0/0/0", {Final("0", "0", "0")}, "0/0/0", false, 0},
      {"Idle Off, prompt answered", StopIdle, "", {"nightowl"}, true, "0/2/15", inactive, "0/2/15", false, 1},
      {"Idle Off, prompt cancelled", StopIdle, "", {}, true, "0/2/15", {}, "0/2/15", false, 1},
      {"tick", IdleTick, "nightowl", {}, true, "0/0/0", Pair("0", "0", "1"), "0/0/1", true, 0},
      {"tick, prompt answered", IdleTick, "", {"nightowl"}, true, "0/0/0", active, "0/0/1", true, 1},
      // No handle at 59: no pause and no rollover.
      {"tick, prompt cancelled", IdleTick, "", {}, true, "0/0/58", {}, "0/0/59", true, 1},
      {"59 minutes roll into an hour", IdleTick, "nightowl", {}, true, "0/0/58",
       Join({Pair("0", "0", "59"), Pair("0", "1", "0")}), "0/1/0", true, 0, 60000},
      {"the tick after the rollover", IdleTick, "nightowl", {}, true, "0/1/0", Pair("0", "1", "1"), "0/1/1", true, 0},
      {"the 23rd hour is shown", IdleTick, "nightowl", {}, true, "0/22/58",
       Join({Pair("0", "22", "59"), Pair("0", "23", "0")}), "0/23/0", true, 0, 60000},
      // One pause and one pair: no 24th hour, no second rollover.
      {"the 24th hour rolls into a day", IdleTick, "nightowl", {}, true, "0/23/58",
       Join({Pair("0", "23", "59"), Pair("1", "0", "0")}), "1/0/0", true, 0, 60000},
      {"later days", IdleTick, "nightowl", {}, true, "6/23/58", Join({Pair("6", "23", "59"), Pair("7", "0", "0")}),
       "7/0/0", true, 0, 60000},
      {"minutes past 59 never roll over", IdleTick, "nightowl", {}, true, "0/3/60", Pair("0", "3", "61"), "0/3/61",
       true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppWorld w(c.handle, c.answers);
    const std::string d = c.counters_before.substr(0, c.counters_before.find('/'));
    const std::string rest = c.counters_before.substr(d.size() + 1);
    const std::string h = rest.substr(0, rest.find('/'));
    FakeIdleForm form(d, h, rest.substr(h.size() + 1));
    if (c.timer_before) form.EnableTimer(true);
    const std::uint64_t begin = w.desktop.NowMs();

    c.handler(w.services, form);

    EXPECT_EQ(w.Posted(), Bolded(c.want_lines));
    EXPECT_EQ(form.Counters(), c.want_counters);
    EXPECT_EQ(form.TimerEnabled(), c.want_timer);
    EXPECT_EQ(form.countdown_restarts, 0);
    EXPECT_EQ(w.prompt.calls, c.want_prompts);
    EXPECT_EQ(form.stay_on_top_calls, c.handler == IdleTick ? 1 : 0);
    EXPECT_FALSE(form.tick_in_progress());
    EXPECT_EQ(w.desktop.NowMs() - begin, c.want_ms);
  }
}

// Each hour is 59 ticks and the rollover's minute of waiting: 1440 minutes.
TEST(Idle, ADayIs24HoursOf59TicksAndAPause) {
  AppWorld w("nightowl");
  FakeIdleForm form;
  form.EnableTimer(true);
  const std::uint64_t begin = w.desktop.NowMs();
  for (int tick = 0; tick < 24 * 59; ++tick) IdleTick(w.services, form);
  EXPECT_EQ(form.Counters(), "1/0/0");
  EXPECT_EQ(w.desktop.NowMs() - begin, 24u * 60000) << "one pause per hour";
  const Lines posted = w.Posted();
  ASSERT_EQ(posted.size(), 2u * (24 * 59 + 24));
  EXPECT_EQ(Lines(posted.end() - 4, posted.end()),
            Bolded(Join({Pair("0", "23", "59"), Pair("1", "0", "0")})));
  for (const std::string& line : posted) {
    EXPECT_EQ(line.find("24/h"), std::string::npos) << line;
  }
}

// What runs inside a tick: the rollover's pause, the handle prompt and the
// Enter loop of a post all let other handlers run. A tick falling due there
// is dropped; "Idle Off" in the pause ends the tick with its own line.
TEST(Idle, EventsInsideATick) {
  using Action = std::function<void(AppWorld&, FakeIdleForm&)>;
  auto in_pause = [](Action a) -> Action {
    return [a](AppWorld& w, FakeIdleForm& f) { w.desktop.After(30000, [a, &w, &f] { a(w, f); }); };
  };
  const Action on = [](AppWorld& w, FakeIdleForm& f) { StartIdle(w.services, f); };
  const Action off = [](AppWorld& w, FakeIdleForm& f) { StopIdle(w.services, f); };
  const Action tick = [](AppWorld& w, FakeIdleForm& f) { IdleTick(w.services, f); };
  struct Case {
    const char* name;
    std::string handle;
    std::string minutes;
    Action arrange;
    Lines want_lines;
    std::string want_counters;
    bool want_timer;
    std::uint64_t want_ms;  // the tick ends with the pause
  };
  const Case cases[] = {
      {"Idle Off in the pause ends the tick", "nightowl", "58", in_pause(off),
       Join({Pair("0", "0", "59"), {Final("0", "0", "59")}}), "0/0/0", false, 60000},
      {"Idle Off then Idle On in the pause still ends it", "nightowl", "58",
       in_pause([off, on](AppWorld& w, FakeIdleForm& f) {
         off(w, f);
         on(w, f);
       }),
       Join({Pair("0", "0", "59"), {Final("0", "0", "59"), kStart}}), "0/0/0", true, 60000},
      // The handle gone from the store and the prompt cancelled: the counters
      // stay, but the timer is off, so no rollover either.
      {"Idle Off in the pause, handle gone, prompt cancelled", "nightowl", "58",
       in_pause([off](AppWorld& w, FakeIdleForm& f) {
         w.store.Write("");
         off(w, f);
       }),
       Pair("0", "0", "59"), "0/0/59", false, 60000},
      {"Idle On again in the pause lets it go on", "nightowl", "58", in_pause(on),
       Join({Pair("0", "0", "59"), {kStart}, Pair("0", "1", "0")}), "0/1/0", true, 60000},
      {"a tick in the pause is dropped", "nightowl", "58", in_pause(tick),
       Join({Pair("0", "0", "59"), Pair("0", "1", "0")}), "0/1/0", true, 60000},
      {"a tick inside the prompt is dropped", "", "0",
       [tick](AppWorld& w, FakeIdleForm& f) { w.prompt.while_open = [tick, &w, &f] { tick(w, f); }; }, {}, "0/0/1",
       true, 0},
      {"a tick inside a post is dropped", "nightowl", "0",
       [tick](AppWorld& w, FakeIdleForm& f) { w.desktop.OnDoEvents(1, [tick, &w, &f] { tick(w, f); }); },
       Pair("0", "0", "1"), "0/0/1", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppWorld w(c.handle);
    FakeIdleForm form("0", "0", c.minutes);
    form.EnableTimer(true);
    c.arrange(w, form);
    const std::uint64_t begin = w.desktop.NowMs();
    IdleTick(w.services, form);
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines));
    EXPECT_EQ(form.Counters(), c.want_counters);
    EXPECT_EQ(form.TimerEnabled(), c.want_timer);
    EXPECT_EQ(form.countdown_restarts, 0);
    EXPECT_EQ(form.stay_on_top_calls, 1);
    EXPECT_EQ(w.desktop.NowMs() - begin, c.want_ms);
    EXPECT_FALSE(form.tick_in_progress());
  }
}

}  // namespace
}  // namespace wendrel
