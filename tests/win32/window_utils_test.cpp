#include "winutil/window_utils_win32.h"

#include <gtest/gtest.h>

#include "tests/support/support_win32.h"

namespace wendrel::testing {
namespace {

// A window left partly off the screen slides back flush with its edges; a
// minimised, hidden or destroyed one does not slide. Stay-on-top is seen
// in the main window's tests.
TEST(Win32SnapWindow, SnapsBackOnScreen) {
  const long right = GetSystemMetrics(SM_CXSCREEN), bottom = GetSystemMetrics(SM_CYSCREEN);
  HWND hwnd = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, right - 100, bottom - 100, 153, 129, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  Win32EventLoop loop;
  Win32SnapWindow window(hwnd, loop);
  SnapOnScreen(window);
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
            std::vector<long>({right - 153, bottom - 129, right, bottom}));
  for (auto [show, can_slide] : {std::pair{SW_MINIMIZE, false}, {SW_RESTORE, true}, {SW_HIDE, false}}) {
    ShowWindow(hwnd, show);
    EXPECT_EQ(window.CanSlide(), can_slide) << show;
  }
  DestroyWindow(hwnd);
  EXPECT_FALSE(window.CanSlide());
}

}  // namespace
}  // namespace wendrel::testing
