#include "winutil/window_utils_win32.h"

#include <gtest/gtest.h>

#include "tests/support/support_win32.h"
#include "winutil/twips.h"

namespace wendrel::testing {
namespace {

// A window left partly or wholly off the one monitor slides back flush with
// its nearest edges; that monitor is the whole screen the screen's metrics
// give. A minimised, hidden or destroyed window does not slide. Stay-on-top
// is seen in the main window's tests.
TEST(Win32SnapWindow, SnapsBackOnScreen) {
  const long right = GetSystemMetrics(SM_CXSCREEN), bottom = GetSystemMetrics(SM_CYSCREEN);
  const ScreenDpi dpi = GetScreenDpi();
  struct Case {
    const char* name;
    long x, y, want_x, want_y;
  };
  const Case cases[] = {
      {"partly off the bottom right", right - 100, bottom - 100, right - 153, bottom - 129},
      {"wholly off the top left", -400, -300, 0, 0},
  };
  Win32Platform platform;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND hwnd = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, c.x, c.y, 153, 129, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    Win32SnapWindow window(hwnd, platform);
    const TwipsRect m = window.Monitor();
    EXPECT_EQ(std::vector<float>({m.left, m.top, m.right, m.bottom}),
              std::vector<float>({0, 0, PixelsToTwips(right, dpi.x), PixelsToTwips(bottom, dpi.y)}));
    SnapOnScreen(window);
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
              std::vector<long>({c.want_x, c.want_y, c.want_x + 153, c.want_y + 129}));
    for (auto [show, can_slide] : {std::pair{SW_MINIMIZE, false}, {SW_RESTORE, true}, {SW_HIDE, false}}) {
      ShowWindow(hwnd, show);
      EXPECT_EQ(window.CanSlide(), can_slide) << show;
    }
    DestroyWindow(hwnd);
    EXPECT_FALSE(window.CanSlide());
  }
}

}  // namespace
}  // namespace wendrel::testing
