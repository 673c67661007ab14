// Waits SECONDS in the program's own Pause, with the real event loop and
// a window of its own, so that `make bench` can measure the processor time a
// wait costs. "spin" runs the same loop with a wait that returns at once: the
// busy-waiting loop the real one is compared with.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "winutil/event_loop_win32.h"
#include "winutil/pause.h"

namespace {

class SpinningLoop : public wendrel::Win32EventLoop {
 public:
  void WaitForEvents(unsigned) override {}
};

}  // namespace

int main(int argc, char** argv) {
  const bool spin = argc == 3 && std::strcmp(argv[1], "spin") == 0;
  if (argc != 3 || (!spin && std::strcmp(argv[1], "real") != 0)) {
    std::fputs("usage: pause_bench real|spin SECONDS\n", stderr);
    return 2;
  }
  const int seconds = std::atoi(argv[2]);
  // A window, as the idler has, so that the loop has a queue to pump.
  HWND window = CreateWindowExA(0, "Static", "pause bench", WS_OVERLAPPED, 0, 0, 100, 40,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (!window) return 1;
  wendrel::Win32EventLoop real;
  SpinningLoop spinning;
  wendrel::EventLoop& loop = spin ? static_cast<wendrel::EventLoop&>(spinning) : real;
  const ULONGLONG start = GetTickCount64();
  wendrel::Pause(loop, seconds);
  std::printf("%.1f\n", static_cast<double>(GetTickCount64() - start) / 1000.0);
  DestroyWindow(window);
  return 0;
}
