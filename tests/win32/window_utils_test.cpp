#include "winutil/window_utils_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/support_win32.h"

namespace wendrel::testing {
namespace {

std::vector<RECT> Monitors() {
  std::vector<RECT> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM out) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (GetMonitorInfoA(monitor, &info))
          reinterpret_cast<std::vector<RECT>*>(out)->push_back(info.rcMonitor);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

// On every monitor, a window left partly off it slides back flush with the
// nearest edges of the monitor it is mostly on. A minimised, hidden or
// destroyed window does not slide. Stay-on-top is seen in the main window's
// tests.
TEST(Win32SnapWindow, SnapsBackOnItsMonitor) {
  const std::vector<RECT> monitors = Monitors();
  ASSERT_FALSE(monitors.empty());
  // Set by tests/monitors, which gives Wine a desktop of several.
  if (const char* expected = std::getenv("WENDREL_EXPECT_MONITORS")) {
    ASSERT_EQ(monitors.size(), std::strtoul(expected, nullptr, 10));
  }
  constexpr long kW = 153, kH = 129;
  Win32EventLoop loop;
  for (const RECT& m : monitors) {
    // Mostly on this monitor, so it is the nearest even beside another.
    const struct {
      const char* name;
      long x, y, want_x, want_y;
    } cases[] = {
        {"partly off the bottom right", m.right - 100, m.bottom - 100, m.right - kW, m.bottom - kH},
        {"partly off the top left", m.left - 50, m.top - 40, m.left, m.top},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message()
                   << c.name << " of the monitor at " << m.left << "," << m.top);
      HWND hwnd = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, c.x, c.y, kW, kH, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
      Win32SnapWindow window(hwnd, loop);
      SnapOnScreen(window);
      RECT r{};
      GetWindowRect(hwnd, &r);
      EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
                std::vector<long>({c.want_x, c.want_y, c.want_x + kW, c.want_y + kH}));
      for (auto [show, can_slide] :
           {std::pair{SW_MINIMIZE, false}, {SW_RESTORE, true}, {SW_HIDE, false}}) {
        ShowWindow(hwnd, show);
        EXPECT_EQ(window.CanSlide(), can_slide) << show;
      }
      DestroyWindow(hwnd);
      EXPECT_FALSE(window.CanSlide());
    }
  }
}

}  // namespace
}  // namespace wendrel::testing
