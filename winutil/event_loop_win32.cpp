#include "winutil/event_loop_win32.h"

#include <algorithm>

#include "winutil/bounded_wait_win32.h"
#include "winutil/tick_clock.h"

namespace wendrel {
namespace {

// A pump pass handles what is waiting now; a handler that keeps posting to
// itself must not keep one pass going for ever.
constexpr int kMaxMessagesPerPump = 512;

// Handlers run inside the waits of other handlers (a drag, the rollover's
// pause); this many nested pumps means something re-enters without end,
// and the stack comes first.
constexpr int kMaxPumpDepth = 32;

}  // namespace

void Win32EventLoop::DoEvents() {
  if (pump_depth_ >= kMaxPumpDepth) return;
  ++pump_depth_;
  MSG msg;
  for (int handled = 0; handled < kMaxMessagesPerPump; ++handled) {
    if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    if (msg.message == WM_QUIT) {
      // The program's own message loop must still see it and end.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      quit_seen_ = true;
      break;
    }
    if (dialog_ != nullptr && ::IsWindow(dialog_) &&
        ::IsDialogMessageA(dialog_, &msg)) {
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  --pump_depth_;
}

void Win32EventLoop::WaitForEvents(unsigned milliseconds) {
  const DWORD ms = BoundedWaitMs(milliseconds);
  if (quit_seen_) {
    // The re-posted WM_QUIT would wake every wait at once; a loop still
    // running while the program quits must sleep, not spin.
    ::Sleep(std::min<DWORD>(ms, 50));
    return;
  }
  ::MsgWaitForMultipleObjectsEx(0, nullptr, ms, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
}

std::uint64_t Win32EventLoop::NowMs() { return SystemTickMs(); }

}  // namespace wendrel
