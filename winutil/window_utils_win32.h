// Dragging the borderless main window, sliding it back on screen, and
// keeping it above other windows.
#pragma once

#include <windows.h>

#include "winutil/event_loop.h"
#include "winutil/snap.h"

namespace wendrel {

// The display's dots per inch, across and down.
struct ScreenDpi {
  int x = 96;
  int y = 96;
};
ScreenDpi GetScreenDpi();

// A top-level window seen in twips, for SnapOnScreen.
class Win32SnapWindow : public SnapWindow {
 public:
  Win32SnapWindow(HWND hwnd, EventLoop& loop);

  float Left() override;
  float Top() override;
  float Width() override;
  float Height() override;
  void SetLeft(float twips) override;
  void SetTop(float twips) override;
  TwipsRect Monitor() override;
  void DoEvents() override;
  bool CanSlide() override;

 private:
  RECT Rect() const;

  HWND hwnd_;
  EventLoop& loop_;
  ScreenDpi dpi_;
};

// Runs the system's mouse move of the window as if its caption had been
// grabbed, then SnapOnScreen. Returns whether the move itself changed the
// window's position, so a press that did not move it can count as a click.
bool FormDrag(HWND hwnd, EventLoop& loop);

// Puts the window into the topmost group without moving or sizing it.
void StayOnTop(HWND hwnd);

}  // namespace wendrel
