#include "app/main_panel_layout.h"

#include <algorithm>

namespace wendrel {

namespace {

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kButton = ControlKind::kButton;
constexpr ControlKind kTextBox = ControlKind::kTextBox;
constexpr LabelLook kNone = LabelLook::kNone;
constexpr LabelLook kBody = LabelLook::kBody;

}  // namespace

const std::vector<ControlLayout>& MainPanelControls() {
  // clang-format off
  static const std::vector<ControlLayout> controls = {
      {"MinimiseLabel", kLabel, "-", 240, 120, 135, 135, 7, kMinimiseLabel, LabelLook::kTitleBlock, true, false},
      {"TitleLabel", kLabel, "Wendrel Idler", 480, 120, 1335, 255, 8, kTitleLabel, LabelLook::kTitleText, true, false},
      {"ExitLabel", kLabel, "x", 1920, 120, 255, 255, 9, kExitLabel, LabelLook::kTitleText, true, false},
      {"DaysMarkLabel", kLabel, "d/", 240, 600, 255, 255, 12, kDaysMarkLabel, kBody, false, false},
      {"DaysLabel", kLabel, "0", 480, 600, 495, 255, 11, kDaysLabel, kBody, false, true},
      {"HoursMarkLabel", kLabel, "h/", 720, 600, 255, 255, 13, kHoursMarkLabel, kBody, false, false},
      {"HoursLabel", kLabel, "0", 960, 600, 495, 255, 10, kHoursLabel, kBody, false, true},
      {"MinutesMarkLabel", kLabel, "m/", 1200, 600, 255, 255, 14, kMinutesMarkLabel, kBody, false, false},
      {"MinutesLabel", kLabel, "0", 1440, 600, 495, 255, 0, kMinutesLabel, kBody, false, true},
      {"IdleOnButton", kButton, "Idle On", 240, 840, 735, 195, 1, kIdleOnButton, kNone, false, false},
      {"IdleOffButton", kButton, "Idle Off", 1200, 840, 855, 195, 15, kIdleOffButton, kNone, false, false},
      {"ExitButton", kButton, "Exit", 240, 1080, 735, 195, 3, kExitButton, kNone, false, false},
      {"OptionsButton", kButton, "Options", 1200, 1080, 855, 195, 4, kOptionsButton, kNone, false, false},
      {"RoomBox", kTextBox, "Room?", 240, 1440, 735, 285, 5, kRoomBox, kNone, false, false},
      {"EnterRoomButton", kButton, "Enter PR", 1200, 1440, 855, 195, 6, kEnterRoomButton, kNone, false, false},
      // Never seen, but second in the tab order: Tab from "Idle On" and the
      // space bar stop idle mode.
      {"HiddenIdleOffButton", kButton, "Idle Off", 72480, -1440, 855, 195, 2, kHiddenIdleOffButton, kNone, false, false},
  };
  // clang-format on
  return controls;
}

const ControlLayout* FindControl(int id) {
  for (const ControlLayout& c : MainPanelControls())
    if (c.id == id) return &c;
  return nullptr;
}

std::vector<const ControlLayout*> CreationOrder() {
  std::vector<const ControlLayout*> order;
  for (const ControlLayout& c : MainPanelControls())
    if (c.kind != kLabel) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const ControlLayout* a, const ControlLayout* b) {
    return a->tab_index < b->tab_index;
  });
  for (const ControlLayout& c : MainPanelControls())
    if (c.kind == kLabel && !c.counter) order.push_back(&c);
  for (const ControlLayout& c : MainPanelControls())
    if (c.kind == kLabel && c.counter) order.push_back(&c);
  return order;
}

const std::vector<RectangleLayout>& MainPanelRectangles() {
  static const std::vector<RectangleLayout> shapes = {
      {"TitleStrip", 120, 120, 2055, 255, true},
      {"BodyFrame", 120, 480, 2055, 1335, false},
  };
  return shapes;
}

const std::vector<LineLayout>& MainPanelLines() {
  static const std::vector<LineLayout> lines = {
      {"ColumnDivider", 1080, 840, 1080, 1680},
      {"LeftEdgeLong", 120, 1800, 120, 720},
      {"LeftEdgeShort", 120, 720, 120, 1560},
  };
  return lines;
}

const std::vector<MenuItemLayout>& OptionsMenu() {
  static const std::vector<MenuItemLayout> items = {
      {"AboutMenuItem", "about", kAboutMenuItem},
      {"GreetsMenuItem", "greets", kGreetsMenuItem},
      {"ContactMenuItem", "contact", kContactMenuItem},
      {"ExitMenuItem", "exit", kExitMenuItem},
  };
  return items;
}

std::string AboutText() { return ""; }

std::string GreetsText(const std::vector<std::string>& names) {
  std::string text = "My greets go out to ";
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += (i + 1 == names.size()) ? ", and " : ", ";
    text += names[i];
  }
  return text + ".";
}

std::string GreetsText() {
  return GreetsText({"quillfeather", "mossbyte", "lanternjaw", "driftwood", "cobaltkit"});
}

std::string ContactText(const std::string& address) {
  return "e-mail me at " + address + " for and idea's that you might have to make it better.";
}

std::string ContactText() { return ContactText("zarnik@example.com"); }

}  // namespace wendrel
