// What the program keeps between the lines it posts: the automation
// procedures themselves keep nothing. One thread at a time uses a session,
// the one that owns the connection to the client; only `closing` may be set
// from another.
//
// SendChat yields to the event loop while it presses Enter, so work run in
// that yield may hand over another line. Typing it at once would mix two
// lines in one input box; instead it waits here and the call already typing
// sends it next, in order, before the user's own text is put back.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "automation/platform.h"

namespace wendrel {

struct ChatLimits {
  // A box that never empties must not keep us typing for ever; ten seconds
  // of a client that answers is far beyond any client that works.
  std::uint64_t enter_ms = 10000;
  // A line waits this long after it was handed over for a client that has
  // stopped answering; then it is given up.
  std::uint64_t silence_ms = 60000;
  // Once the program is closing, a silent client or a stuck box gets only
  // this much more in all: a closed program must be gone within seconds,
  // and with its draft back in the box.
  std::uint64_t closing_ms = 3000;
};

using LineMaker = std::function<std::string(Platform&)>;

struct PendingLine {
  LineMaker make;
  std::uint64_t due_ms;  // given up if the client is silent after this
};

struct ChatSession {
  ChatLimits limits;
  std::deque<PendingLine> pending;
  bool typing = false;
  // When the line being typed is given up should the client stay silent.
  std::uint64_t line_due_ms = 0;
  // When the work now running was handed over, if it came through a queue;
  // a line's wait for a silent client counts from then.
  std::optional<std::uint64_t> handed_ms;
  // The input box of the current run of lines (0: none held) and what the
  // user had typed there before its first line; it goes back when the run
  // is over or when a later line goes to another box.
  Hwnd draft_box = 0;
  std::string draft;
  // True while EnterPrivateRoom waits for its room, so that a second
  // "Enter PR" pressed inside that wait is ignored rather than nested.
  bool entering_room = false;

  // Set when the program closes: silent clients get the short bound, and
  // once one line has been given up the lines after it are given up at once.
  std::atomic<bool> closing{false};
  std::optional<std::uint64_t> closing_due_ms;  // set on the first look
  bool last_given_up = false;
  // Lines given up since the start, for the program's record.
  unsigned given_up = 0;
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
