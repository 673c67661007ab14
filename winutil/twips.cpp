#include "winutil/twips.h"

#include <cmath>

namespace wendrel {
namespace {

constexpr int kTwipsPerInch = 1440;

}  // namespace

int TwipsToPixels(float twips, int dpi) {
  return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / kTwipsPerInch));
}

float PixelsToTwips(int pixels, int dpi) {
  return static_cast<float>(static_cast<double>(pixels) * kTwipsPerInch / dpi);
}

int PixelForMove(int current_px, float target_twips, int dpi) {
  const int px = TwipsToPixels(target_twips, dpi);
  if (px != current_px) return px;
  const double delta = static_cast<double>(target_twips) * dpi / kTwipsPerInch - current_px;
  if (delta >= 0.5) return current_px + 1;
  if (delta <= -0.5) return current_px - 1;
  return px;
}

}  // namespace wendrel
