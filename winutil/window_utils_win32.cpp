#include "winutil/window_utils_win32.h"

#include "winutil/handles_win32.h"
#include "winutil/twips.h"

namespace wendrel {

namespace {
// SC_MOVE plus HTCAPTION: the move loop that a press on a title bar starts.
constexpr WPARAM kMoveByCaption = 0xF012;
}  // namespace

ScreenDpi GetScreenDpi() {
  ScreenDpi dpi;
  WindowDc screen(nullptr);
  if (screen.get()) {
    const int x = GetDeviceCaps(screen.get(), LOGPIXELSX);
    const int y = GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (x > 0) dpi.x = x;
    if (y > 0) dpi.y = y;
  }
  return dpi;
}

Win32SnapWindow::Win32SnapWindow(HWND hwnd, EventLoop& loop)
    : hwnd_(hwnd), loop_(loop), dpi_(GetScreenDpi()) {}

RECT Win32SnapWindow::Rect() const {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  return r;
}

float Win32SnapWindow::Left() { return PixelsToTwips(Rect().left, dpi_.x); }
float Win32SnapWindow::Top() { return PixelsToTwips(Rect().top, dpi_.y); }
float Win32SnapWindow::Width() {
  const RECT r = Rect();
  return PixelsToTwips(r.right - r.left, dpi_.x);
}
float Win32SnapWindow::Height() {
  const RECT r = Rect();
  return PixelsToTwips(r.bottom - r.top, dpi_.y);
}

void Win32SnapWindow::SetLeft(float twips) {
  const RECT r = Rect();
  SetWindowPos(hwnd_, nullptr, PixelForMove(r.left, twips, dpi_.x), r.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32SnapWindow::SetTop(float twips) {
  const RECT r = Rect();
  SetWindowPos(hwnd_, nullptr, r.left, PixelForMove(r.top, twips, dpi_.y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The whole monitor the window is mostly on, or nearest to when it is on
// none, not its work area without the taskbar. With one monitor that is the
// primary screen at 0,0, the same rectangle the screen's metrics give.
TwipsRect Win32SnapWindow::Monitor() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  RECT r{};
  if (GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info)) {
    r = info.rcMonitor;
  } else {
    r = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return {PixelsToTwips(r.left, dpi_.x), PixelsToTwips(r.top, dpi_.y),
          PixelsToTwips(r.right, dpi_.x), PixelsToTwips(r.bottom, dpi_.y)};
}

void Win32SnapWindow::DoEvents() { loop_.DoEvents(); }

bool Win32SnapWindow::CanSlide() {
  return IsWindow(hwnd_) && IsWindowVisible(hwnd_) && !IsIconic(hwnd_);
}

bool FormDrag(HWND hwnd, EventLoop& loop) {
  RECT before{};
  GetWindowRect(hwnd, &before);
  ReleaseCapture();
  SendMessageA(hwnd, WM_SYSCOMMAND, kMoveByCaption, 0);
  // A handler run inside the move loop may have closed the window.
  if (!IsWindow(hwnd)) return true;
  RECT after{};
  GetWindowRect(hwnd, &after);
  const bool moved = after.left != before.left || after.top != before.top;
  Win32SnapWindow window(hwnd, loop);
  SnapOnScreen(window);
  return moved;
}

void StayOnTop(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

}  // namespace wendrel
