// Lines waiting to be typed into the chat room.
//
// SendChat yields to the event loop while it presses Enter, so a handler run
// in that yield may hand over another line. Typing it at once would mix two
// lines in one input box; instead it waits here and the call already typing
// sends it next, in order, before the user's own text is put back.
#pragma once

#include <deque>
#include <string>

namespace wendrel {

struct ChatOutbox {
  std::deque<std::string> pending;
  bool typing = false;
};

}  // namespace wendrel
