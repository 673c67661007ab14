#include "app/main_panel_layout_win32.h"

#include "app/main_panel_layout.h"
#include "winutil/twips.h"

namespace wendrel {

PixelBox ToPixels(float left, float top, float width, float height, const ScreenDpi& dpi) {
  return {TwipsToPixels(left, dpi.x), TwipsToPixels(top, dpi.y), TwipsToPixels(width, dpi.x),
          TwipsToPixels(height, dpi.y)};
}

std::vector<std::pair<int, HWND>> CreateMainPanelControls(HWND parent, HINSTANCE instance,
                                                          const ScreenDpi& dpi, HFONT font) {
  std::vector<std::pair<int, HWND>> controls;
  for (const ControlLayout* c : CreationOrder()) {
    // Every control clips its siblings, so where boxes overlap the one
    // created first is the one seen. Every control is a group of its own,
    // so the arrow keys of the keyboard navigation go nowhere.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_GROUP;
    DWORD ex_style = 0;
    const char* cls = "Static";
    switch (c->kind) {
      case ControlKind::kLabel:
        style |= SS_OWNERDRAW | (c->clickable ? SS_NOTIFY : 0);
        break;
      case ControlKind::kButton:
        cls = "Button";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
      case ControlKind::kTextBox:
        cls = "Edit";
        style |= ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
        ex_style = WS_EX_CLIENTEDGE;
        break;
    }
    const PixelBox box = ToPixels(c->left, c->top, c->width, c->height, dpi);
    HWND child = CreateWindowExA(ex_style, cls, c->caption, style, box.x, box.y, box.width,
                                 box.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(c->id)), instance,
                                 nullptr);
    if (!child) return {};
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    controls.emplace_back(c->id, child);
  }
  return controls;
}

}  // namespace wendrel
