#include "app/main_panel_paint_win32.h"

#include <string>

#include "app/main_panel_layout.h"
#include "app/main_panel_layout_win32.h"
#include "winutil/twips.h"
#include "winutil/window_text_win32.h"

namespace wendrel {

namespace {
constexpr COLORREF kFormGrey = RGB(128, 128, 128);
}  // namespace

bool MainPanelPainter::CreateObjects() {
  back_brush_.reset(CreateSolidBrush(kFormGrey));
  if (!back_brush_) return false;
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return true;
}

void MainPanelPainter::EraseBackground(HWND window, HDC dc) const {
  RECT r{};
  GetClientRect(window, &r);
  FillRect(dc, &r, back_brush_.get());
}

void MainPanelPainter::Paint(HWND window) const {
  PaintDc paint(window);
  DrawShapes(paint.get(), true);
}

// The title strip's frame, the body's frame, and the lines.
// With `fill` false only the outlines, for drawing over a label.
void MainPanelPainter::DrawShapes(HDC dc, bool fill) const {
  SelectedObject pen(dc, GetStockObject(BLACK_PEN));
  for (const RectangleLayout& s : MainPanelRectangles()) {
    HGDIOBJ brush = (fill && s.filled) ? static_cast<HGDIOBJ>(GetSysColorBrush(COLOR_BTNFACE))
                                       : GetStockObject(NULL_BRUSH);
    SelectedObject selected(dc, brush);
    const PixelBox box = ToPixels(s.left, s.top, s.width, s.height, dpi_);
    Rectangle(dc, box.x, box.y, box.x + box.width, box.y + box.height);
  }
  for (const LineLayout& l : MainPanelLines()) {
    MoveToEx(dc, TwipsToPixels(l.x1, dpi_.x), TwipsToPixels(l.y1, dpi_.y), nullptr);
    LineTo(dc, TwipsToPixels(l.x2, dpi_.x), TwipsToPixels(l.y2, dpi_.y));
  }
}

void MainPanelPainter::DrawItem(HWND window, const DRAWITEMSTRUCT& item) const {
  if (item.CtlType == ODT_BUTTON) {
    DrawButton(item);
  } else if (item.CtlType == ODT_STATIC) {
    DrawLabel(window, item);
  }
}

void MainPanelPainter::DrawLabel(HWND window, const DRAWITEMSTRUCT& item) const {
  const ControlLayout* control = FindControl(static_cast<int>(item.CtlID));
  if (!control) return;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  HBRUSH background = back_brush_.get();
  COLORREF text_colour = GetSysColor(COLOR_BTNTEXT);
  if (control->look == LabelLook::kTitleText) {
    background = GetSysColorBrush(COLOR_BTNFACE);
    text_colour = GetSysColor(COLOR_APPWORKSPACE);
  } else if (control->look == LabelLook::kTitleBlock) {
    background = GetSysColorBrush(COLOR_APPWORKSPACE);
    text_colour = GetSysColor(COLOR_APPWORKSPACE);
  }
  FillRect(dc, &r, background);
  DrawCaption(item, r, text_colour, DT_LEFT | DT_TOP | DT_WORDBREAK);
  // The title strip's frame runs through the title labels' boxes: draw the
  // window's outlines over the label, in the window's coordinates.
  POINT origin{0, 0};
  MapWindowPoints(item.hwndItem, window, &origin, 1);
  POINT old{};
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  DrawShapes(dc, false);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

// The control's caption in the controls' font, on what is drawn already.
void MainPanelPainter::DrawCaption(const DRAWITEMSTRUCT& item, RECT r, COLORREF colour,
                                   UINT format) const {
  const std::string text = WindowText(item.hwndItem);
  SelectedObject font(item.hDC, font_);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, colour);
  DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &r, format | DT_NOPREFIX);
}

// A face in the app-workspace colour, edged like a push button.
void MainPanelPainter::DrawButton(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(COLOR_APPWORKSPACE));
  DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  RECT text_rect = r;
  if (pressed) OffsetRect(&text_rect, 1, 1);
  DrawCaption(item, text_rect, GetSysColor(COLOR_BTNTEXT), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace wendrel
