// What the main window's handlers need from outside the window itself.
#pragma once

#include <string>

#include "automation/client_link.h"
#include "winutil/event_loop.h"

namespace wendrel {

// The per-user settings store that holds the handle.
class HandleStore {
 public:
  virtual ~HandleStore() = default;
  // The stored handle, "" when none is stored.
  virtual std::string Read() = 0;
  virtual void Write(const std::string& handle) = 0;
};

// The modal input box. Returns the typed text on OK, "" on Cancel.
class HandlePrompt {
 public:
  virtual ~HandlePrompt() = default;
  virtual std::string Ask(const std::string& text, const std::string& title) = 0;
  // The program is ending: a box that is open closes as if cancelled.
  virtual void Cancel() = 0;
};

struct AppServices {
  // The window thread's own: its event loop, its waits and its clock.
  EventLoop& loop;
  HandleStore& store;
  HandlePrompt& prompt;
  // The one connection to the client: every line and room entry goes there.
  ClientLink& link;
};

}  // namespace wendrel
