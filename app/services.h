// What the main window's handlers need from outside the window itself.
#pragma once

#include <string>

#include "automation/chat_session.h"
#include "automation/platform.h"

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
};

struct AppServices {
  Platform& platform;
  HandleStore& store;
  HandlePrompt& prompt;
  // The one connection to the client: the lines waiting their turn and
  // whether a room entry is under way.
  ChatSession& chat;
};

}  // namespace wendrel
