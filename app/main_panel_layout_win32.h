// The main window's layout on the real window system: its boxes in pixels
// at the screen's resolution, and its controls made from the table.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "winutil/window_utils_win32.h"

namespace wendrel {

// A box of the layout in pixels. The size is converted on its own, not as
// the far edge less the near one, as a form sizes its controls.
struct PixelBox {
  int x, y, width, height;
};
PixelBox ToPixels(float left, float top, float width, float height, const ScreenDpi& dpi);

// Every control of the layout as a child of `parent`, in creation order,
// showing `font`: each one's id and window. Empty when one could not be
// made.
std::vector<std::pair<int, HWND>> CreateMainPanelControls(HWND parent, HINSTANCE instance,
                                                          const ScreenDpi& dpi, HFONT font);

}  // namespace wendrel
