// The window thread's event loop and clock on the real window system.
#pragma once

#include <windows.h>

#include "winutil/event_loop.h"

namespace wendrel {

class Win32EventLoop : public EventLoop {
 public:
  // A window whose keyboard navigation (Tab, Enter, Esc) DoEvents handles
  // with IsDialogMessageA; nullptr for none.
  void SetDialogWindow(HWND hwnd) { dialog_ = hwnd; }

  void DoEvents() override;
  void WaitForEvents(unsigned milliseconds) override;
  bool Quitting() override { return quit_seen_; }
  std::uint64_t NowMs() override;

 private:
  HWND dialog_ = nullptr;
  int pump_depth_ = 0;
  bool quit_seen_ = false;
};

}  // namespace wendrel
