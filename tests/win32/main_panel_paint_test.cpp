// How the main window looks, read back from its own pixels: Wine's null
// driver keeps what a window draws, so a wrong brush, colour or frame shows
// as a wrong pixel.
#include "app/main_panel_paint_win32.h"

#include <gtest/gtest.h>

#include "app/main_panel_ids.h"
#include "app/main_panel_win32.h"
#include "tests/support/app_doubles.h"

namespace wendrel::testing {
namespace {

COLORREF PixelOf(HWND hwnd, int x, int y) {
  WindowDc dc(hwnd);
  return GetPixel(dc.get(), x, y);
}

// Whether any pixel of the window's client area has `colour`: where text
// falls depends on the font, that it is drawn does not.
bool Shows(HWND hwnd, COLORREF colour) {
  RECT r{};
  GetClientRect(hwnd, &r);
  WindowDc dc(hwnd);
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x)
      if (GetPixel(dc.get(), x, y) == colour) return true;
  return false;
}

TEST(MainPanelPaint, PanelFramesLabelsAndButtonsInTheirColours) {
  if (GetScreenDpi().x != 96) GTEST_SKIP() << "the points below are for 96 DPI";
  TestServices s("nightowl", {});
  std::unique_ptr<MainPanel> panel =
      MainPanel::Create(GetModuleHandleA(nullptr), s.services, [] {});
  ASSERT_TRUE(panel);
  HWND hwnd = panel->hwnd();
  panel->Show(SW_SHOWNOACTIVATE);
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const COLORREF grey = RGB(128, 128, 128), black = RGB(0, 0, 0);
  const COLORREF face = GetSysColor(COLOR_BTNFACE), workspace = GetSysColor(COLOR_APPWORKSPACE);
  const COLORREF text = GetSysColor(COLOR_BTNTEXT);

  // The panel in pixels: the title strip's frame filled, the body's frame
  // and the line between the button columns.
  const struct { const char* name; int x, y; COLORREF colour; } points[] = {
      {"the panel", 4, 4, grey},
      {"the title strip's edge", 8, 8, black},
      {"inside the title strip", 28, 12, face},
      {"the body frame's bottom edge", 100, 120, black},
      {"inside the body frame", 70, 117, grey},
      {"the line between the columns", 72, 60, black},
  };
  for (const auto& p : points) EXPECT_EQ(PixelOf(hwnd, p.x, p.y), p.colour) << p.name;

  // Each control: its background at an inner point, and its caption drawn.
  const struct { int id; int x, y; COLORREF back, caption; } controls[] = {
      {kMinimiseLabel, 2, 2, workspace, workspace}, {kTitleLabel, 85, 12, face, workspace},
      {kMinutesLabel, 30, 12, grey, text},          {kIdleOnButton, 3, 10, workspace, text},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.id);
    HWND control = GetDlgItem(hwnd, c.id);
    EXPECT_EQ(PixelOf(control, c.x, c.y), c.back);
    EXPECT_TRUE(Shows(control, c.caption));
  }
  // A raised button: light above and left, dark below and right.
  RECT r{};
  GetClientRect(GetDlgItem(hwnd, kExitButton), &r);
  EXPECT_EQ(PixelOf(GetDlgItem(hwnd, kExitButton), r.right - 1, r.bottom - 1),
            GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(PixelOf(GetDlgItem(hwnd, kExitButton), 0, 0), GetSysColor(COLOR_3DLIGHT));
}

}  // namespace
}  // namespace wendrel::testing
