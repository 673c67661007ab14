// The window's half of the platform: its event loop and the clock.
//
// The window's thread gets this and nothing that reaches the client: the
// calls that do are Platform's, which only the posting thread holds.
#pragma once

#include "winutil/clock.h"

namespace wendrel {

class EventLoop : public Clock {
 public:
  // Handles every pending user-interface event once, then returns.
  virtual void DoEvents() = 0;
  // Sleeps until an event arrives or `milliseconds` have passed, whichever
  // is first; does not dispatch it (DoEvents does).
  virtual void WaitForEvents(unsigned milliseconds) = 0;
  // True once the program has been told to end: long waits give way.
  virtual bool Quitting() = 0;
};

}  // namespace wendrel
