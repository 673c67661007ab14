// What the program keeps between the lines it posts: the automation
// procedures themselves keep nothing. Only the thread that owns the
// connection to the client uses a session; `closing` and `closing_due_ms`
// are set from another.
#pragma once

#include <atomic>
#include <cstdint>
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

struct ChatSession {
  ChatLimits limits;
  // When the line being typed is given up should the client stay silent.
  std::uint64_t line_due_ms = 0;
  // When the job now running was handed over, if it came through a queue;
  // a line's wait for a silent client counts from then.
  std::optional<std::uint64_t> handed_ms;
  // What the user had typed into `draft_box` before the last line, and
  // keys pressed while the line was in the box, while a silent client
  // keeps it from going back (0: nothing held).
  Hwnd draft_box = 0;
  std::string draft;

  // Set when the program closes: silent clients and stuck boxes get the
  // short bound, and once a line has given up under it the lines after it
  // are given up at once. The bound is set just before the flag, on the
  // platform's clock: the time the closing lines have, from the close on.
  std::atomic<bool> closing{false};
  std::atomic<std::uint64_t> closing_due_ms{UINT64_MAX};
  // Whether the line under way began once the program was closing, and
  // whether such a line has given up: a line given up before says nothing
  // of a client that may have answered again since.
  bool closing_line = false;
  bool closing_gave_up = false;
  // Lines given up since the start, for the program's record.
  unsigned given_up = 0;
  // Windows refused to let a line into the client: it runs with more
  // rights than the program, and the user must be told.
  bool denied = false;
};

// When the time given to the closing lines is up; never while the program
// runs on.
inline std::uint64_t ClosingDue(const ChatSession& chat) {
  return chat.closing ? chat.closing_due_ms.load() : UINT64_MAX;
}

}  // namespace wendrel
