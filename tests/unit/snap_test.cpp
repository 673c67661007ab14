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
// nested drag moved meanwhile slides on from where it now stands. On a
// monitor elsewhere on the desktop the same steps run against that
// monitor's edges.
TEST(Snap, EndsFlushOrOnScreen) {
  constexpr int kNever = 1 << 30;
  const struct {
    const char* name;
    float left, top;
    float want_left, want_top;
    int want_events;
    int gone_after = kNever;  // yields before the window is gone; -1: before the slide
    float nested_drop = 0;    // where a nested drag drops it in the second yield
    float width = kFormW, height = kFormH;
  } cases[] = {
      // W + L + 400 = 15685 > SW: five one-pixel passes right to 13065.
      {"near the right edge", 12990, 5010, kScreenW - kFormW, 5010, 5},
      // 285, 270, ... 0: twenty passes left.
      {"near the left edge", 300, 5010, 0, 5010, 20},
      // 33 passes right to 0, then the snap step's one pass to -15 and back.
      {"partly off the left edge", -495, 5010, 0, 5010, 34},
      {"partly off the top edge", 6000, -495, 6000, 0, 34},
      // 120 passes left until it is wholly on, then one more by the snap step.
      {"partly off the right edge", 14865, 5010, kScreenW - kFormW, 5010, 120 + 1},
      // 7 passes up to SH - H, then one pass down by the bottom snap step.
      {"bottom edge 105 below", 6000, kScreenH - kFormH + 105, 6000, kScreenH - kFormH, 8},
      {"exactly 400 from the left", 400, 5010, 400, 5010, 0},
      {"flush with the top left", 0, 0, 0, 0, 2},
      {"flush with the bottom", 6000, kScreenH - kFormH, 6000, kScreenH - kFormH, 1},
      {"near the top edge", 6000, 300, 6000, 0, 20},
      {"exactly 400 from the top", 6000, 400, 6000, 400, 0},
      {"exactly 400 above the bottom", 6000, kScreenH - kFormH - 400, 6000, kScreenH - kFormH - 400,
       0},
      {"exactly 400 from the right", kScreenW - kFormW - 400, 5010, kScreenW - kFormW - 400, 5010,
       0},
      // Near both edges at once: the right and bottom steps come last and win.
      {"wider than the screen", 105, 5010, kScreenW - 16005, 5010, 50 + 1 + 1, kNever, 0, 16005},
      {"taller than the screen", 6000, 105, 6000, kScreenH - 12000, 39 + 1 + 1, kNever, 0, kFormW,
       12000},
      {"gone before the slide", 300, 5010, 300, 5010, 0, -1},
      {"gone mid-slide", 300, 5010, 255, 5010, 4, 3},
      // 300 -> 285 on the first pass; 105 -> 90 on the second, then 75 ... 0.
      {"a nested drag drops it nearer", 300, 5010, 0, 5010, 1 + 7, kNever, 105},
  };
  // The primary monitor, and others of its size: on its right; on its left,
  // higher; above it, 100 px in from its left; below it, 200 px further left.
  const std::pair<float, float> monitors[] = {
      {0, 0}, {kScreenW, 0}, {-kScreenW, -3840}, {1500, -kScreenH}, {-3000, kScreenH}};
  for (const auto& c : cases) {
    for (const auto& [x, y] : monitors) {
      SCOPED_TRACE(::testing::Message() << c.name << " on the monitor at " << x << "," << y);
      FakeSnapWindow w(x + c.left, y + c.top, c.width, c.height);
      w.monitor = {x, y, x + kScreenW, y + kScreenH};
      w.alive = c.gone_after >= 0;
      w.on_events = [&](FakeSnapWindow& self) {
        if (self.events > c.gone_after) self.alive = false;
        if (self.events == 2 && c.nested_drop != 0) self.SetLeft(x + c.nested_drop);
      };
      SnapOnScreen(w);
      EXPECT_EQ(w.Left(), x + c.want_left);
      EXPECT_EQ(w.Top(), y + c.want_top);
      EXPECT_EQ(w.events, c.want_events);
    }
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
