// The handle prompt: a modal input box built in memory.
#pragma once

#include <windows.h>

#include <string>

#include "app/services.h"

namespace wendrel {

// Dialog item ids of the box, for programs that answer it.
inline constexpr int kPromptEditId = 100;
inline constexpr int kPromptTextId = 101;

class DialogHandlePrompt : public HandlePrompt {
 public:
  explicit DialogHandlePrompt(HINSTANCE instance) : instance_(instance) {}

  // The main window, which may still be hidden while it loads; the box goes
  // without an owner once that window is gone.
  void SetOwner(HWND owner) { owner_ = owner; }

  // The typed text on OK, "" on Cancel or close. Only one box is open at a
  // time: an ask while one is open returns "" at once, as if cancelled, so
  // that ticks of the idle timer cannot pile box upon box while nobody is
  // there to answer.
  std::string Ask(const std::string& text, const std::string& title) override;
  // Closes the open box as Cancel would.
  void Cancel() override;

  // What the box's procedure fills in.
  struct Box {
    HWND* dialog;
    std::string answer;
  };

 private:
  HINSTANCE instance_;
  HWND owner_ = nullptr;
  bool open_ = false;
  HWND dialog_ = nullptr;  // the open box, once it is made
};

}  // namespace wendrel
