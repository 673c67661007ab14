// Sliding the window back onto its monitor and docking it to near edges.
#pragma once

namespace wendrel {

// A rectangle in twips, right and bottom exclusive as the platform's are.
// A monitor left of or above the primary one has negative coordinates.
struct TwipsRect {
  float left, top, right, bottom;
};

// The window's outer rectangle and its monitor, in twips. The platform keeps
// positions in whole pixels, so a set position reads back pixel-rounded.
class SnapWindow {
 public:
  virtual ~SnapWindow() = default;
  virtual float Left() = 0;
  virtual float Top() = 0;
  virtual float Width() = 0;
  virtual float Height() = 0;
  virtual void SetLeft(float twips) = 0;
  virtual void SetTop(float twips) = 0;
  // The whole monitor the window is on (not its work area without the
  // taskbar); with one monitor, the screen at 0,0.
  virtual TwipsRect Monitor() = 0;
  // Lets pending events be handled once.
  virtual void DoEvents() = 0;
  // False once the window is destroyed, hidden or minimised: the slide stops.
  virtual bool CanSlide() = 0;
};

void SnapOnScreen(SnapWindow& w);

}  // namespace wendrel
