// The window thread's pure logic: the snap-back's slide, the twips it moves
// in, and the clock counting on across the tick's wrap.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

#include "winutil/snap.h"
#include "winutil/tick_clock.h"
#include "winutil/twips.h"

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

TEST(Twips, ToPixels) {
  const struct {
    const char* name;
    float twips;
    int dpi, pixels;
  } cases[] = {
      // The design's boxes at 96 dots per inch are checked with the layout.
      {"two thirds of a pixel rounds up", 10, 96, 1},
      {"a third of a pixel rounds down", 5, 96, 0},
      {"half a pixel rounds away from zero", 7.5f, 96, 1},
      {"negative half rounds away from zero", -7.5f, 96, -1},
      {"window left at 120 is a half", 4890, 120, 408},
  };
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.name;
}

// Every pass of a slide moves its edge 10 twips from where it stands; the
// edge must move one pixel each time, in either direction, or the slide
// would never end.
TEST(Twips, EveryTenTwipStepMovesOnePixel) {
  for (int dpi : {72, 96, 120, 144, 168, 192, 240}) {
    for (int px = -50; px <= 50; ++px) {
      const float here = PixelsToTwips(px, dpi);
      const int right = PixelForMove(px, here + 10, dpi);
      const int left = PixelForMove(px, here - 10, dpi);
      EXPECT_GE(right, px + 1) << "dpi " << dpi << " px " << px;
      EXPECT_LE(left, px - 1) << "dpi " << dpi << " px " << px;
      // No more than the step allows, plus the rounding.
      EXPECT_LE(right - px, static_cast<int>(10.0 * dpi / 1440 + 1.5)) << "dpi " << dpi;
      EXPECT_LE(px - left, static_cast<int>(10.0 * dpi / 1440 + 1.5)) << "dpi " << dpi;
    }
  }
}

TEST(Twips, ExactTargetsStayPut) {
  const struct {
    const char* name;
    int current;
    float target;
    int dpi, expected;
  } cases[] = {
      {"a request a hair off the pixel", 871, 13065.001f, 96, 871},
      // 8.57 twips a pixel: the difference of two converted sizes is not
      // an exact multiple and must not nudge the edge.
      {"uneven pixel size", 871, PixelsToTwips(1024, 168) - PixelsToTwips(153, 168), 168, 871},
      {"far jump", 0, 300, 96, 20},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PixelForMove(c.current, c.target, c.dpi), c.expected) << c.name;
}

std::atomic<std::uint32_t> tick{0};
std::uint32_t Tick() { return tick; }

// Readings of the 32-bit tick, in order, and the clock each must give.
TEST(TickClock, CountsOnAcrossWraps) {
  const struct {
    const char* name;
    std::vector<std::uint32_t> ticks;
    std::vector<std::uint64_t> want;
  } cases[] = {
      {"before, at and after the wrap", {0xFFFFFFF0u, 0xFFFFFFFFu, 0, 0x10},
       {0xFFFFFFF0u, 0xFFFFFFFFu, 1ull << 32, (1ull << 32) + 0x10}},
      {"three wraps, half a wrap a reading", {5, 0x80000005u, 5, 0x80000005u, 5, 0x80000005u, 5},
       {5, 0x80000005u, 0x100000005u, 0x180000005u, 0x200000005u, 0x280000005u, 0x300000005u}},
      {"a reading just short of a whole wrap later", {10, 9}, {10, 0x100000009u}},
  };
  for (const auto& c : cases) {
    TickClock clock(Tick);
    for (std::size_t i = 0; i < c.ticks.size(); ++i) {
      tick = c.ticks[i];
      EXPECT_EQ(clock.Now(), c.want[i]) << c.name << ", reading " << i;
    }
  }
}

// Threads reading at once, each read moving the tick by a sixteenth of a
// wrap (never a whole wrap between two stored readings, whatever the
// interleaving): every wrap is counted once, so the clock ends at the
// tick's full count.
TEST(TickClock, ThreadsReadingAtOnceCountEachWrapOnce) {
  static std::atomic<std::uint64_t> reads;
  reads = 0;
  constexpr std::uint32_t kStep = 0x10000000u;
  TickClock clock([]() -> std::uint32_t { return static_cast<std::uint32_t>(++reads * kStep); });
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] { for (int i = 0; i < 2000; ++i) clock.Now(); });
  for (std::thread& t : threads) t.join();
  const std::uint64_t now = clock.Now();
  EXPECT_EQ(now, reads * kStep);
}

}  // namespace
}  // namespace wendrel
