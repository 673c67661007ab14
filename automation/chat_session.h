// What the program keeps between the lines it posts, owned by the main
// window's services: the automation procedures themselves keep nothing.
//
// SendChat yields to the event loop while it presses Enter, so a handler run
// in that yield may hand over another line. Typing it at once would mix two
// lines in one input box; instead it waits here and the call already typing
// sends it next, in order, before the user's own text is put back.
#pragma once

#include <deque>
#include <string>

#include "automation/platform.h"

namespace wendrel {

struct ChatSession {
  std::deque<std::string> pending;
  bool typing = false;
  // The input box of the current run of lines (0: none held) and what the
  // user had typed there before its first line; it goes back when the run
  // is over or when a later line goes to another box.
  Hwnd draft_box = 0;
  std::string draft;
  // True while EnterPrivateRoom waits for its room, so that a second
  // "Enter PR" pressed inside that wait is ignored rather than nested.
  bool entering_room = false;
};

// Sets a flag for the life of a scope and clears it however the scope ends.
class ScopedFlag {
 public:
  explicit ScopedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~ScopedFlag() { flag_ = false; }
  ScopedFlag(const ScopedFlag&) = delete;
  ScopedFlag& operator=(const ScopedFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace wendrel
