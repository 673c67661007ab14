#include <gtest/gtest.h>

#include "winutil/twips.h"

namespace wendrel {
namespace {

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

}  // namespace
}  // namespace wendrel
