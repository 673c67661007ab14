// Twips (1/1440 inch) and the display's pixels.
#pragma once

namespace wendrel {

// The nearest whole pixel, halves away from zero.
int TwipsToPixels(float twips, int dpi);
float PixelsToTwips(int pixels, int dpi);

// The pixel a window edge at `current_px` moves to when asked to stand at
// `target_twips`. Where a pixel is two twips-steps wide or more (72 dpi and
// below), plain rounding could land back on the current pixel for a request
// half a pixel away, and a slide would never end; such a request moves one
// whole pixel toward the target instead.
int PixelForMove(int current_px, float target_twips, int dpi);

}  // namespace wendrel
