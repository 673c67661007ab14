// Sliding the window back onto the screen and docking it to near edges.
#pragma once

namespace wendrel {

// The window's outer rectangle and the screen, in twips. The platform keeps
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
  virtual float ScreenWidth() = 0;
  virtual float ScreenHeight() = 0;
  // Lets pending events be handled once.
  virtual void DoEvents() = 0;
  // False once the window is destroyed, hidden or minimised: the slide stops.
  virtual bool CanSlide() = 0;
};

inline constexpr float kSnapStep = 10.0f;
inline constexpr float kSnapDistance = 400.0f;

void SnapOnScreen(SnapWindow& w);

}  // namespace wendrel
