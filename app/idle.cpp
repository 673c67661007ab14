#include "app/idle.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/announcements.h"
#include "automation/discovery.h"
#include "winutil/pause.h"
#include "winutil/scoped_flag.h"

namespace wendrel {
namespace {

constexpr int kRolloverPauseSeconds = 60;

void PostRunningPair(AppServices& s, IdlePanel& panel, const std::string& handle) {
  Announce(s, IdleTimeLine(handle, kRunningVerb, panel.CounterText(Counter::kDays),
                           panel.CounterText(Counter::kHours),
                           panel.CounterText(Counter::kMinutes)));
  AnnounceWith(s, ClientInfoLine);
}

// Digits with at most one decimal point between digits: what a counter
// caption may hold. Signs, exponents, "inf" and hex are not counts.
bool IsPlainDecimal(const std::string& text) {
  std::size_t digits = 0;
  std::size_t points = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.' && i > 0 && i + 1 < text.size() && points == 0) {
      ++points;
    } else {
      return false;
    }
  }
  return digits > 0;
}

// Doubles are written and read by the C library on purpose: the C++ one
// would more than double the size of the program. On Windows that is the
// system's own (msvcrt): MinGW's C99 versions, which C++ code gets by
// default, would add some 35 KB. The two agree on every count the program
// writes itself (whole numbers below 2^53).
void FormatFixed(char* text, std::size_t size, int precision, double value) {
#ifdef _WIN32
  _snprintf(text, size - 1, "%.*f", precision, value);
  text[size - 1] = '\0';
#else
  std::snprintf(text, size, "%.*f", precision, value);
#endif
}

double ParseDecimal(const char* text) {
#ifdef _WIN32
  return atof(text);  // msvcrt's; strtod would be MinGW's
#else
  return std::strtod(text, nullptr);
#endif
}

// The shortest decimal text that reads back as `value`, never in exponent
// form.
std::string ShortestDecimal(double value) {
  char text[400];
  if (value == std::floor(value)) {
    FormatFixed(text, sizeof text, 0, value);
    return text;
  }
  for (int precision = 1; precision <= 17; ++precision) {
    FormatFixed(text, sizeof text, precision, value);
    if (ParseDecimal(text) == value) break;
  }
  return text;
}

void AdvanceCounter(IdlePanel& panel, Counter c) {
  panel.SetCounterText(c, NextCount(panel.CounterText(c)));
}

}  // namespace

std::string NextCount(const std::string& caption) {
  // The labels only ever hold what this program wrote, but a caption that is
  // not a finite number counts as 0 rather than failing the tick.
  double value = IsPlainDecimal(caption) ? ParseDecimal(caption.c_str()) : 0;
  if (!std::isfinite(value)) value = 0;
  return ShortestDecimal(value + 1);
}

void StartIdle(AppServices& s, IdlePanel& panel) {
  // Enabling a running timer could restart its countdown; a second
  // "Idle On" only repeats the start line.
  if (!panel.TimerEnabled()) panel.EnableTimer(true);
  const HandleCheck check = EnsureHandle(s, kInactiveStatus);
  if (!check.stored) return;
  AnnounceWith(s, [handle = check.handle](Platform& p) {
    return IdleStartLine(handle, GetAimScreenName(p));
  });
}

void StopIdle(AppServices& s, IdlePanel& panel) {
  panel.EnableTimer(false);
  const HandleCheck check = EnsureHandle(s, kInactiveStatus);
  if (!check.stored) return;
  Announce(s, IdleTimeLine(check.handle, kFinalVerb, panel.CounterText(Counter::kDays),
                           panel.CounterText(Counter::kHours),
                           panel.CounterText(Counter::kMinutes)));
  panel.SetCounterText(Counter::kDays, "0");
  panel.SetCounterText(Counter::kHours, "0");
  panel.SetCounterText(Counter::kMinutes, "0");
}

void IdleTick(AppServices& s, IdlePanel& panel) {
  // A tick that falls due while another runs (in the rollover's pause, the
  // prompt or a post) is dropped: the rollover's minute of waiting stands in
  // for it, and a nested tick would push "59" to "60" before the rollover.
  if (panel.TickInProgress()) return;
  const ScopedFlag scope(panel.TickInProgress());

  AdvanceCounter(panel, Counter::kMinutes);
  panel.StayOnTop();
  const HandleCheck check = EnsureHandle(s, kActiveStatus);
  if (!check.stored) return;
  PostRunningPair(s, panel, check.handle);
  if (panel.CounterText(Counter::kMinutes) != "59") return;

  Pause(s.loop, kRolloverPauseSeconds);
  // "Idle Off" during the pause has posted the final line and reset the
  // counters; rolling them over now would post a time that never was.
  if (!panel.TimerEnabled() || panel.CounterText(Counter::kMinutes) != "59") return;
  // The rollover's pair stands for the minute of the pause: the next tick
  // comes a whole minute after it, not when the timer's old minute ends.
  panel.RestartTimer();
  panel.SetCounterText(Counter::kMinutes, "0");
  if (panel.CounterText(Counter::kHours) == "23") {
    // A day has 24 hours: the 24th rolls straight into the days.
    panel.SetCounterText(Counter::kHours, "0");
    AdvanceCounter(panel, Counter::kDays);
  } else {
    AdvanceCounter(panel, Counter::kHours);
  }
  PostRunningPair(s, panel, check.handle);
}

}  // namespace wendrel
