// Idle mode: the counters, the one-minute tick and its rollovers.
#pragma once

#include <string>

#include "app/services.h"

namespace wendrel {

enum class Counter { kDays, kHours, kMinutes };

// What idle mode needs of the main window: the counters are the captions of
// its labels and idle mode is its timer's enabled flag.
class IdlePanel {
 public:
  virtual ~IdlePanel() = default;
  virtual std::string CounterText(Counter c) = 0;
  virtual void SetCounterText(Counter c, const std::string& text) = 0;
  virtual void EnableTimer(bool enabled) = 0;
  virtual bool TimerEnabled() = 0;
  // Starts the running timer's minute over.
  virtual void RestartTimer() = 0;
  virtual void StayOnTop() = 0;
  // True while a tick runs; a tick that falls due meanwhile is dropped.
  virtual bool& TickInProgress() = 0;
};

// The counter's number plus one, as its shortest decimal text.
std::string NextCount(const std::string& caption);

void StartIdle(AppServices& s, IdlePanel& panel);
void StopIdle(AppServices& s, IdlePanel& panel);
void IdleTick(AppServices& s, IdlePanel& panel);

}  // namespace wendrel
