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

TEST(Idle, HandlersWithAndWithoutAHandle) {
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
  };
  const Case cases[] = {
      {"Idle On", StartIdle, "nightowl", {}, false, "0/0/0", {kStart}, "0/0/0", true, 0},
      {"Idle On keeps the counters", StartIdle, "nightowl", {}, false, "0/2/15", {kStart},
       "0/2/15", true, 0},
      {"Idle On while on", StartIdle, "nightowl", {}, true, "0/0/7", {kStart}, "0/0/7", true, 0},
      {"Idle On, prompt answered", StartIdle, "", {"nightowl"}, false, "0/0/0",
       {kBanner, "\xB7 now unactive., id: nightowl"}, "0/0/0", true, 1},
      {"Idle On, prompt cancelled", StartIdle, "", {}, false, "0/0/0", {}, "0/0/0", true, 1},
      {"Idle Off", StopIdle, "nightowl", {}, true, "0/2/15", {Final("0", "2", "15")}, "0/0/0",
       false, 0},
      {"Idle Off while off", StopIdle, "nightowl", {}, false, "0/0/0", {Final("0", "0", "0")},
       "0/0/0", false, 0},
      {"Idle Off, prompt answered", StopIdle, "", {"nightowl"}, true, "0/2/15",
       {kBanner, "\xB7 now unactive., id: nightowl"}, "0/2/15", false, 1},
      {"Idle Off, prompt cancelled", StopIdle, "", {}, true, "0/2/15", {}, "0/2/15", false, 1},
      {"tick", IdleTick, "nightowl", {}, true, "0/0/0", Pair("0", "0", "1"), "0/0/1", true, 0},
      {"tick, prompt answered", IdleTick, "", {"nightowl"}, true, "0/0/0",
       {kBanner, "\xB7 now active., id: nightowl"}, "0/0/1", true, 1},
      {"tick, prompt cancelled", IdleTick, "", {}, true, "0/0/58", {}, "0/0/59", true, 1},
  };
  for (const Case& c : cases) {
    AppWorld w(c.handle, c.answers);
    const std::string d = c.counters_before.substr(0, c.counters_before.find('/'));
    const std::string rest = c.counters_before.substr(d.size() + 1);
    const std::string h = rest.substr(0, rest.find('/'));
    FakeIdleForm form(d, h, rest.substr(h.size() + 1));
    if (c.timer_before) form.EnableTimer(true);
    const std::uint64_t begin = w.desktop.NowMs();

    c.handler(w.services, form);

    EXPECT_EQ(w.Posted(), Bolded(c.want_lines)) << c.name;
    EXPECT_EQ(form.Counters(), c.want_counters) << c.name;
    EXPECT_EQ(form.TimerEnabled(), c.want_timer) << c.name;
    EXPECT_EQ(form.countdown_restarts, 0) << c.name;
    EXPECT_EQ(w.prompt.calls, c.want_prompts) << c.name;
    EXPECT_EQ(form.stay_on_top_calls, c.handler == IdleTick ? 1 : 0) << c.name;
    EXPECT_FALSE(form.tick_in_progress()) << c.name;
    EXPECT_EQ(w.desktop.NowMs(), begin) << c.name << ": no rollover, no pause";
  }
}

TEST(Idle, Rollovers) {
  struct Case {
    const char* name;
    std::string days, hours, minutes;
    Lines want_lines;
    std::string want_counters;
    std::uint64_t want_ms;  // the pauses the tick took
  };
  const Case cases[] = {
      {"first tick", "0", "0", "0", Pair("0", "0", "1"), "0/0/1", 0},
      {"59 minutes roll into an hour", "0", "0", "58",
       Join({Pair("0", "0", "59"), Pair("0", "1", "0")}), "0/1/0", 60000},
      {"the tick after the rollover", "0", "1", "0", Pair("0", "1", "1"), "0/1/1", 0},
      {"the 23rd hour is shown", "0", "22", "58",
       Join({Pair("0", "22", "59"), Pair("0", "23", "0")}), "0/23/0", 60000},
      // One pause and one pair: no 24th hour, no second rollover.
      {"the 24th hour rolls into a day", "0", "23", "58",
       Join({Pair("0", "23", "59"), Pair("1", "0", "0")}), "1/0/0", 60000},
      {"later days", "6", "23", "58", Join({Pair("6", "23", "59"), Pair("7", "0", "0")}),
       "7/0/0", 60000},
      {"minutes past 59 never roll over", "0", "3", "60", Pair("0", "3", "61"), "0/3/61", 0},
  };
  for (const Case& c : cases) {
    AppWorld w("nightowl");
    FakeIdleForm form(c.days, c.hours, c.minutes);
    form.EnableTimer(true);
    const std::uint64_t begin = w.desktop.NowMs();
    IdleTick(w.services, form);
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines)) << c.name;
    EXPECT_EQ(form.Counters(), c.want_counters) << c.name;
    EXPECT_EQ(w.desktop.NowMs() - begin, c.want_ms) << c.name;
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

TEST(Idle, MinutesPassing59WithoutAHandleStopTheHours) {
  AppWorld w("", {"", "nightowl"});
  FakeIdleForm form("0", "0", "58");
  form.EnableTimer(true);
  IdleTick(w.services, form);  // 59, prompt cancelled
  IdleTick(w.services, form);  // 60, prompt answered
  IdleTick(w.services, form);  // 61
  EXPECT_EQ(w.Posted(), Bolded(Join({{kBanner, "\xB7 now active., id: nightowl"},
                                      Pair("0", "0", "61")})));
  EXPECT_EQ(form.Counters(), "0/0/61");
}

TEST(Idle, EventsDuringTheRolloverPause) {
  using Action = std::function<void(AppWorld&, FakeIdleForm&)>;
  struct Case {
    const char* name;
    Action during;
    Lines want_lines;
    std::string want_counters;
    bool want_timer;
  };
  const Case cases[] = {
      {"Idle Off ends the tick",
       [](AppWorld& w, FakeIdleForm& f) { StopIdle(w.services, f); },
       Join({Pair("0", "0", "59"), {Final("0", "0", "59")}}), "0/0/0", false},
      {"Idle Off then Idle On still ends it",
       [](AppWorld& w, FakeIdleForm& f) {
         StopIdle(w.services, f);
         StartIdle(w.services, f);
       },
       Join({Pair("0", "0", "59"), {Final("0", "0", "59"), kStart}}), "0/0/0", true},
      {"Idle On again lets it go on",
       [](AppWorld& w, FakeIdleForm& f) { StartIdle(w.services, f); },
       Join({Pair("0", "0", "59"), {kStart}, Pair("0", "1", "0")}), "0/1/0", true},
      {"a tick falling due is dropped",
       [](AppWorld& w, FakeIdleForm& f) { IdleTick(w.services, f); },
       Join({Pair("0", "0", "59"), Pair("0", "1", "0")}), "0/1/0", true},
  };
  for (const Case& c : cases) {
    AppWorld w("nightowl");
    FakeIdleForm form("0", "0", "58");
    form.EnableTimer(true);
    const std::uint64_t begin = w.desktop.NowMs();
    w.desktop.After(30000, [&] { c.during(w, form); });
    IdleTick(w.services, form);
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines)) << c.name;
    EXPECT_EQ(form.Counters(), c.want_counters) << c.name;
    EXPECT_EQ(form.TimerEnabled(), c.want_timer) << c.name;
    EXPECT_EQ(form.countdown_restarts, 0) << c.name;
    EXPECT_EQ(w.desktop.NowMs() - begin, 60000u) << c.name << ": the tick ends with the pause";
    EXPECT_FALSE(form.tick_in_progress()) << c.name;
  }
}

TEST(Idle, ATickDuringATickIsDropped) {
  struct Case {
    const char* name;
    std::string handle;
    std::function<void(AppWorld&, FakeIdleForm&)> arrange;
    Lines want_lines;
  };
  const Case cases[] = {
      {"inside the prompt", "",
       [](AppWorld& w, FakeIdleForm& f) {
         w.prompt.while_open = [&w, &f] { IdleTick(w.services, f); };
       },
       {}},
      {"inside a post", "nightowl",
       [](AppWorld& w, FakeIdleForm& f) {
         w.desktop.OnDoEvents(1, [&w, &f] { IdleTick(w.services, f); });
       },
       Pair("0", "0", "1")},
  };
  for (const Case& c : cases) {
    AppWorld w(c.handle);
    FakeIdleForm form;
    form.EnableTimer(true);
    c.arrange(w, form);
    IdleTick(w.services, form);
    EXPECT_EQ(form.Counters(), "0/0/1") << c.name;
    EXPECT_EQ(form.stay_on_top_calls, 1) << c.name;
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines)) << c.name;
    EXPECT_FALSE(form.tick_in_progress()) << c.name;
  }
}

}  // namespace
}  // namespace wendrel
