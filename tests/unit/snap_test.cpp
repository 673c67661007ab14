#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

#include "winutil/snap.h"

namespace wendrel {
namespace {

constexpr float kTwipsPerPixel = 15.0f;
constexpr float kScreenW = 15360.0f;  // 1024 pixels
constexpr float kScreenH = 11520.0f;  // 768 pixels
constexpr float kFormW = 2295.0f;
constexpr float kFormH = 1935.0f;
constexpr TwipsRect kOneMonitor{0, 0, kScreenW, kScreenH};
// Second monitors around that one, in pixels: 1280 x 1024 on its right;
// 1280 x 1024 on its left, bottoms aligned; 800 x 600 above, 100 in from
// its left; 1280 x 720 below, reaching 200 further left.
constexpr TwipsRect kRightMonitor{kScreenW, 0, 34560, 15360};
constexpr TwipsRect kLeftMonitor{-19200, -3840, 0, kScreenH};
constexpr TwipsRect kAboveMonitor{1500, -9000, 13500, 0};
constexpr TwipsRect kBelowMonitor{-3000, kScreenH, 16200, 22320};

// A window on a 96-dpi screen: positions are kept in whole pixels, so a set
// rounds to the nearest pixel and reads back as pixels * 15 twips.
class FakeSnapWindow : public SnapWindow {
 public:
  FakeSnapWindow(float left, float top, float width = kFormW, float height = kFormH)
      : left_(left), top_(top), width_(width), height_(height) {}

  float Left() override { return left_; }
  float Top() override { return top_; }
  float Width() override { return width_; }
  float Height() override { return height_; }
  void SetLeft(float twips) override { if (movable) left_ = Snap(twips); }
  void SetTop(float twips) override { if (movable) top_ = Snap(twips); }
  TwipsRect Monitor() override { return monitor; }
  void DoEvents() override {
    ++events;
    if (on_events) on_events(*this);
  }
  bool CanSlide() override { return alive; }

  static float Snap(float twips) { return std::round(twips / kTwipsPerPixel) * kTwipsPerPixel; }

  TwipsRect monitor = kOneMonitor;
  bool movable = true;
  bool alive = true;
  int events = 0;
  std::function<void(FakeSnapWindow&)> on_events;

 private:
  float left_, top_, width_, height_;
};

// Where the slide leaves the window and how many passes (one yield each) it
// took; a window gone in a yield stops the slide there, and one that a
// nested drag moved meanwhile slides on from where it now stands.
TEST(Snap, EndsFlushOrOnScreen) {
  constexpr int kNever = 1 << 30;
  struct Case {
    const char* name;
    TwipsRect monitor;  // the monitor the window is on
    float left, top, width, height;
    float want_left, want_top;
    int want_events;
    int gone_after = kNever;  // yields before the window is gone; -1: before the slide
    float nested_drop = 0;    // where a nested drag drops it in the second yield
  };
  const float bottom_105_below = kScreenH - kFormH + 105.0f;  // 9690
  const Case cases[] = {
      // W + L + 400 = 15685 > SW: five one-pixel passes right to 13065.
      {"near the right edge", kOneMonitor, 12990, 5010, kFormW, kFormH, kScreenW - kFormW, 5010, 5},
      // 285, 270, ... 0: twenty passes left.
      {"near the left edge", kOneMonitor, 300, 5010, kFormW, kFormH, 0, 5010, 20},
      // 33 passes right to 0, then the snap step's one pass to -15 and back.
      {"partly off the left edge", kOneMonitor, -495, 5010, kFormW, kFormH, 0, 5010, 34},
      {"partly off the top edge", kOneMonitor, 6000, -495, kFormW, kFormH, 6000, 0, 34},
      // 7 passes up to SH - H, then one pass down by the bottom snap step.
      {"bottom edge 105 below", kOneMonitor, 6000, bottom_105_below, kFormW, kFormH, 6000, kScreenH - kFormH, 8},
      {"middle of the screen", kOneMonitor, 6000, 4000, kFormW, kFormH, 6000, 4000, 0},
      {"exactly 400 from the left", kOneMonitor, 400, 5010, kFormW, kFormH, 400, 5010, 0},
      {"flush with the top left", kOneMonitor, 0, 0, kFormW, kFormH, 0, 0, 2},
      {"flush with the bottom", kOneMonitor, 6000, kScreenH - kFormH, kFormW, kFormH, 6000, kScreenH - kFormH, 1},
      {"near the top edge", kOneMonitor, 6000, 300, kFormW, kFormH, 6000, 0, 20},
      {"exactly 400 above the bottom", kOneMonitor, 6000, kScreenH - kFormH - 400, kFormW, kFormH,
       6000, kScreenH - kFormH - 400, 0},
      // Near both edges at once: the right and bottom steps come last and win.
      {"wider than the screen", kOneMonitor, 105, 5010, 16005, kFormH, kScreenW - 16005, 5010, 50 + 1 + 1},
      {"taller than the screen", kOneMonitor, 6000, 105, kFormW, 12000, 6000, kScreenH - 12000, 39 + 1 + 1},
      {"gone before the slide", kOneMonitor, 300, 5010, kFormW, kFormH, 300, 5010, 0, -1},
      {"gone during the first yield", kOneMonitor, 300, 5010, kFormW, kFormH, 300, 5010, 1, 0},
      {"gone mid-slide", kOneMonitor, 300, 5010, kFormW, kFormH, 255, 5010, 4, 3},
      // 300 -> 285 on the first pass; 105 -> 90 on the second, then 75 ... 0.
      {"a nested drag drops it nearer", kOneMonitor, 300, 5010, kFormW, kFormH, 0, 5010, 1 + 7, kNever, 105},
      // On a second monitor the same steps run against that monitor's edges.
      {"right monitor, 105 off its right", kRightMonitor, 32370, 5010, kFormW, kFormH, 34560 - kFormW, 5010, 7 + 1},
      {"left monitor, near its left, off its top", kLeftMonitor, -18900, -4335, kFormW, kFormH, -19200, -3840,
       33 + 20 + 1},
      {"smaller monitor above, bottom 105 below it", kAboveMonitor, 6000, -1830, kFormW, kFormH, 6000, -kFormH,
       7 + 1},
      {"monitor below, near its right, off its bottom", kBelowMonitor, 13830, 20490, kFormW, kFormH,
       16200 - kFormW, 22320 - kFormH, 7 + 5 + 1},
      {"exactly 400 below the top of the one above", kAboveMonitor, 6000, -8600, kFormW, kFormH, 6000, -8600, 0},
      {"exactly 400 from the right of the right one", kRightMonitor, 34560 - kFormW - 400, 5010, kFormW, kFormH,
       34560 - kFormW - 400, 5010, 0},
      // Across the primary's right edge: it goes wholly onto whichever of
      // the two monitors it belongs to.
      {"across two, onto the right one", kRightMonitor, 14865, 5010, kFormW, kFormH, kScreenW, 5010, 33 + 1},
      {"across two, onto the primary", kOneMonitor, 14865, 5010, kFormW, kFormH, kScreenW - kFormW, 5010,
       120 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSnapWindow w(c.left, c.top, c.width, c.height);
    w.monitor = c.monitor;
    w.alive = c.gone_after >= 0;
    w.on_events = [&c](FakeSnapWindow& self) {
      if (self.events > c.gone_after) self.alive = false;
      if (self.events == 2 && c.nested_drop != 0) self.SetLeft(c.nested_drop);
    };
    SnapOnScreen(w);
    EXPECT_EQ(w.Left(), c.want_left);
    EXPECT_EQ(w.Top(), c.want_top);
    EXPECT_EQ(w.events, c.want_events);
  }
}

// Snapping left, off the left edge and off the bottom, a window that
// never moves must not keep the slide going.
TEST(Snap, AWindowThatNeverMovesDoesNotHang) {
  for (auto [left, top] : {std::pair{300.0f, 5010.0f}, {-495.0f, 5010.0f}, {6000.0f, 9690.0f}}) {
    FakeSnapWindow w(left, top);
    w.movable = false;
    SnapOnScreen(w);
    EXPECT_GT(w.events, 0) << left << "," << top;
    EXPECT_LT(w.events, 8 * 2000) << left << "," << top;
  }
}

}  // namespace
}  // namespace wendrel
