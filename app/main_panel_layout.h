// The main window as designed: its controls, drawing, menu and box texts.
// Geometry is in twips, relative to the window's top-left corner.
#pragma once

#include <string>
#include <vector>

#include "app/main_panel_ids.h"

namespace wendrel {

struct PanelGeometry {
  float left, top, width, height;
};
// 153 x 129 pixels at (326, 215) at 96 dots per inch.
inline constexpr PanelGeometry kMainPanelGeometry{4890, 3225, 2295, 1935};

enum class ControlKind { kLabel, kButton, kTextBox };

// How a label is coloured. Body labels take the window's grey as background
// so they read as text on the panel; the title strip's labels sit on the
// strip's fill.
enum class LabelLook {
  kNone,        // not a label
  kBody,        // default text colour on the window's grey
  kTitleText,   // app-workspace text on the title strip
  kTitleBlock,  // app-workspace text on app-workspace background
};

struct ControlLayout {
  const char* name;
  ControlKind kind;
  const char* caption;
  float left, top, width, height;
  int tab_index;
  int id;
  LabelLook look;
  bool clickable;  // a label whose clicks are handled
  bool counter;    // one of the three idle counters
};

// Every control, in the order of the design table.
const std::vector<ControlLayout>& MainPanelControls();
const ControlLayout* FindControl(int id);

// The order to create the controls in; the first created lies on top. The
// focusable controls come first, in tab index order, for Tab to walk them in
// that order and for the labels' boxes, which reach one pixel into the
// buttons below them, to lie beneath. The counters' boxes overlap the next
// mark's box, so the counters come after the marks and lie beneath them.
std::vector<const ControlLayout*> CreationOrder();

struct RectangleLayout {
  const char* name;
  float left, top, width, height;
  bool filled;  // the title strip is filled, the body only framed
};
struct LineLayout {
  const char* name;
  float x1, y1, x2, y2;
};
const std::vector<RectangleLayout>& MainPanelRectangles();
const std::vector<LineLayout>& MainPanelLines();

struct MenuItemLayout {
  const char* name;
  const char* caption;
  int id;
};
// The items of the Options menu, in order.
const std::vector<MenuItemLayout>& OptionsMenu();

// The caption of the message boxes.
inline constexpr char kAppTitle[] = "wendrel idler";

std::string AboutText();
// "My greets go out to a, b, and c." for {a, b, c}.
std::string GreetsText(const std::vector<std::string>& names);
std::string GreetsText();
std::string ContactText(const std::string& address);
std::string ContactText();
// Shown once a run when Windows keeps the program from typing into the
// client.
inline constexpr char kDeniedText[] =
    "Windows does not let wendrel idler type into the chat client: the client runs with more "
    "rights than the idler (it was started \"as administrator\"). Nothing is posted until both "
    "are started the same way: close both, then start both normally, or both as administrator.";

}  // namespace wendrel
