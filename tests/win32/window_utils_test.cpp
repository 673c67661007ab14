#include "winutil/window_utils_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "automation/fake_desktop.h"
#include "winutil/twips.h"

namespace wendrel {
namespace {

struct Popup {
  Popup() {
    hwnd = CreateWindowExA(0, "Static", "popup", WS_POPUP | WS_VISIBLE, 326, 215, 153, 129, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
  }
  ~Popup() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
  }
  RECT Rect() const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  HWND hwnd;
};

// Stay-on-top joins the topmost group and leaves the window where it was;
// the snap-back's view of the window is in twips at the display's DPI, and
// a 10-twip step moves one whole pixel.
TEST(Win32SnapWindow, StaysOnTopAndReadsAndSetsTwips) {
  Popup p;
  ASSERT_TRUE(p.hwnd);
  StayOnTop(p.hwnd);
  StayOnTop(p.hwnd);
  EXPECT_TRUE(GetWindowLongA(p.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  FakeDesktop desktop;
  Win32SnapWindow w(p.hwnd, desktop);
  const ScreenDpi dpi = GetScreenDpi();
  EXPECT_FLOAT_EQ(w.Left(), PixelsToTwips(326, dpi.x));
  EXPECT_FLOAT_EQ(w.Top(), PixelsToTwips(215, dpi.y));
  EXPECT_FLOAT_EQ(w.Width(), PixelsToTwips(153, dpi.x));
  EXPECT_FLOAT_EQ(w.Height(), PixelsToTwips(129, dpi.y));
  EXPECT_FLOAT_EQ(w.ScreenWidth(), PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), dpi.x));
  EXPECT_FLOAT_EQ(w.ScreenHeight(), PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), dpi.y));

  w.SetLeft(w.Left() + 10);
  EXPECT_EQ(p.Rect().left, 327);
  EXPECT_EQ(p.Rect().top, 215);
  w.SetTop(w.Top() - 10);
  EXPECT_EQ(p.Rect().top, 214);
  EXPECT_EQ(p.Rect().left, 327);
  EXPECT_EQ(p.Rect().right - p.Rect().left, 153);
  EXPECT_EQ(p.Rect().bottom - p.Rect().top, 129);
  w.SetLeft(PixelsToTwips(-33, dpi.x));
  EXPECT_EQ(p.Rect().left, -33);
  EXPECT_FLOAT_EQ(w.Left(), PixelsToTwips(-33, dpi.x));

  const int before = desktop.DoEventsCalls();
  w.DoEvents();
  EXPECT_EQ(desktop.DoEventsCalls(), before + 1);
}

TEST(Win32SnapWindow, NoSlideForAHiddenMinimisedOrGoneWindow) {
  Popup p;
  ASSERT_TRUE(p.hwnd);
  FakeDesktop desktop;
  Win32SnapWindow w(p.hwnd, desktop);
  EXPECT_TRUE(w.CanSlide());
  ShowWindow(p.hwnd, SW_MINIMIZE);
  EXPECT_FALSE(w.CanSlide());
  ShowWindow(p.hwnd, SW_RESTORE);
  EXPECT_TRUE(w.CanSlide());
  ShowWindow(p.hwnd, SW_HIDE);
  EXPECT_FALSE(w.CanSlide());
  DestroyWindow(p.hwnd);
  EXPECT_FALSE(w.CanSlide());
}

}  // namespace
}  // namespace wendrel
