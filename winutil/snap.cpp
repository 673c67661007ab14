#include "winutil/snap.h"

#include <cmath>

namespace wendrel {
namespace {

// Twips the window moves a pass, and how near an edge it docks from.
constexpr float kSnapStep = 10.0f;
constexpr float kSnapDistance = 400.0f;

// One reading of the window and its monitor. Every value is a float, and
// every sum below is stored in a float before it is compared, so the tests
// see single-precision results whatever precision the compiler works in.
struct Geometry {
  float l, t, w, h;
  TwipsRect m;
};

Geometry Read(SnapWindow& w) { return {w.Left(), w.Top(), w.Width(), w.Height(), w.Monitor()}; }

float Sum(float a, float b) { return a + b; }
float Sum(float a, float b, float c) { return Sum(Sum(a, b), c); }
float Diff(float a, float b) { return a - b; }

enum class Axis { kLeft, kTop };

struct SnapStep {
  Axis axis;
  float delta;  // added to the position on every pass
  bool (*enter)(const Geometry&);
  bool (*done)(const Geometry&);
  float (*target)(const Geometry&);  // the position set once the slide ends
};

// The order matters: the four off-screen steps first bring the window wholly
// onto its monitor, then the four snap steps dock it, right and bottom last.
// With one monitor its left and top are 0, so every test and target is the
// same float operation as against the screen's width and height alone.
const SnapStep kSteps[] = {
    {Axis::kLeft, kSnapStep,
     [](const Geometry& g) { return g.l < g.m.left; },
     [](const Geometry& g) { return g.l >= g.m.left; },
     [](const Geometry& g) { return g.m.left; }},
    {Axis::kTop, kSnapStep,
     [](const Geometry& g) { return g.t < g.m.top; },
     [](const Geometry& g) { return g.t >= g.m.top; },
     [](const Geometry& g) { return g.m.top; }},
    {Axis::kTop, -kSnapStep,
     [](const Geometry& g) { return Sum(g.h, g.t) > g.m.bottom; },
     [](const Geometry& g) { return Diff(g.m.bottom, g.h) >= g.t; },
     [](const Geometry& g) { return Diff(g.m.bottom, g.h); }},
    {Axis::kLeft, -kSnapStep,
     [](const Geometry& g) { return Sum(g.w, g.l) > g.m.right; },
     [](const Geometry& g) { return Diff(g.m.right, g.w) >= g.l; },
     [](const Geometry& g) { return Diff(g.m.right, g.w); }},
    {Axis::kLeft, -kSnapStep,
     [](const Geometry& g) { return Diff(g.l, kSnapDistance) < g.m.left; },
     [](const Geometry& g) { return g.l <= g.m.left; },
     [](const Geometry& g) { return g.m.left; }},
    {Axis::kTop, -kSnapStep,
     [](const Geometry& g) { return Diff(g.t, kSnapDistance) < g.m.top; },
     [](const Geometry& g) { return g.t <= g.m.top; },
     [](const Geometry& g) { return g.m.top; }},
    {Axis::kLeft, kSnapStep,
     [](const Geometry& g) { return Sum(g.w, g.l, kSnapDistance) > g.m.right; },
     [](const Geometry& g) { return Sum(g.w, g.l) >= g.m.right; },
     [](const Geometry& g) { return Diff(g.m.right, g.w); }},
    {Axis::kTop, kSnapStep,
     [](const Geometry& g) { return Sum(g.h, g.t, kSnapDistance) > g.m.bottom; },
     [](const Geometry& g) { return Sum(g.h, g.t) >= g.m.bottom; },
     [](const Geometry& g) { return Diff(g.m.bottom, g.h); }},
};

float Position(const Geometry& g, Axis a) { return a == Axis::kLeft ? g.l : g.t; }

void SetPosition(SnapWindow& w, Axis a, float twips) {
  if (a == Axis::kLeft) {
    w.SetLeft(twips);
  } else {
    w.SetTop(twips);
  }
}

// Each pass moves the window by at least the step (a whole pixel once the
// platform rounds), so a slide needs about distance / step passes. The bound
// adds the monitor's extent, for a nested drag that moves the window during a
// pass, and a margin; it matters only when a set never takes effect.
long PassLimit(const Geometry& g, const SnapStep& s) {
  const float extent = s.axis == Axis::kLeft ? g.m.right - g.m.left : g.m.bottom - g.m.top;
  const float distance = std::fabs(s.target(g) - Position(g, s.axis)) + std::fabs(extent);
  constexpr float kMaxDistance = 1.0e6f;  // far beyond any desktop, in twips
  const float capped = distance < kMaxDistance ? distance : kMaxDistance;  // NaN too
  return static_cast<long>(capped / kSnapStep) + 64;
}

// Runs one step; false when the window stopped being able to slide.
bool RunStep(SnapWindow& w, const SnapStep& s) {
  Geometry g = Read(w);
  if (!s.enter(g)) return true;
  const long limit = PassLimit(g, s);
  for (long pass = 0; pass < limit; ++pass) {
    w.DoEvents();
    // A handler run in the yield may have minimised, hidden or destroyed the
    // window; its geometry then means nothing, so the slide stops there.
    if (!w.CanSlide()) return false;
    SetPosition(w, s.axis, Sum(Position(Read(w), s.axis), s.delta));
    g = Read(w);
    if (s.done(g)) break;
  }
  SetPosition(w, s.axis, s.target(g));
  return true;
}

}  // namespace

void SnapOnScreen(SnapWindow& w) {
  if (!w.CanSlide()) return;
  for (const SnapStep& s : kSteps) {
    if (!RunStep(w, s)) return;
  }
}

}  // namespace wendrel
