// How the main window looks: the grey panel, the title strip and the
// frames drawn on it, and the owner-drawn labels and buttons.
#pragma once

#include <windows.h>

#include "winutil/handles_win32.h"
#include "winutil/window_utils_win32.h"

namespace wendrel {

class MainPanelPainter {
 public:
  explicit MainPanelPainter(ScreenDpi dpi) : dpi_(dpi) {}

  // The panel's brush and the controls' font; false when the brush cannot
  // be made.
  bool CreateObjects();
  const ScreenDpi& dpi() const { return dpi_; }
  HFONT font() const { return font_; }

  // WM_ERASEBKGND, WM_PAINT and WM_DRAWITEM of `window`.
  void EraseBackground(HWND window, HDC dc) const;
  void Paint(HWND window) const;
  void DrawItem(HWND window, const DRAWITEMSTRUCT& item) const;

 private:
  void DrawShapes(HDC dc, bool fill) const;
  void DrawLabel(HWND window, const DRAWITEMSTRUCT& item) const;
  void DrawButton(const DRAWITEMSTRUCT& item) const;
  void DrawCaption(const DRAWITEMSTRUCT& item, RECT r, COLORREF colour, UINT format) const;

  ScreenDpi dpi_;
  UniqueHbrush back_brush_;
  HFONT font_ = nullptr;  // a stock font: not ours to free
};

}  // namespace wendrel
