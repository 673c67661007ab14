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

const std::vector<ControlLayout>& Form1Controls() {
  static const std::vector<ControlLayout> controls = {
      {"Label3", kLabel, "-", 240, 120, 135, 135, 7, kLabel3Id, LabelLook::kTitleBlock, true, false},
      {"Label4", kLabel, "Wendrel Idler", 480, 120, 1335, 255, 8, kLabel4Id, LabelLook::kTitleText, true, false},
      {"Label5", kLabel, "x", 1920, 120, 255, 255, 9, kLabel5Id, LabelLook::kTitleText, true, false},
      {"Label8", kLabel, "d/", 240, 600, 255, 255, 12, kLabel8Id, kBody, false, false},
      {"Label7", kLabel, "0", 480, 600, 495, 255, 11, kLabel7Id, kBody, false, true},
      {"Label9", kLabel, "h/", 720, 600, 255, 255, 13, kLabel9Id, kBody, false, false},
      {"Label6", kLabel, "0", 960, 600, 495, 255, 10, kLabel6Id, kBody, false, true},
      {"Label2", kLabel, "m/", 1200, 600, 255, 255, 14, kLabel2Id, kBody, false, false},
      {"Label1", kLabel, "0", 1440, 600, 495, 255, 0, kLabel1Id, kBody, false, true},
      {"Command1", kButton, "Idle On", 240, 840, 735, 195, 1, kCommand1Id, kNone, false, false},
      {"Command6", kButton, "Idle Off", 1200, 840, 855, 195, 15, kCommand6Id, kNone, false, false},
      {"Command3", kButton, "Exit", 240, 1080, 735, 195, 3, kCommand3Id, kNone, false, false},
      {"Command4", kButton, "Options", 1200, 1080, 855, 195, 4, kCommand4Id, kNone, false, false},
      {"Text2", kTextBox, "Room?", 240, 1440, 735, 285, 5, kText2Id, kNone, false, false},
      {"Command5", kButton, "Enter PR", 1200, 1440, 855, 195, 6, kCommand5Id, kNone, false, false},
      // Never seen, but second in the tab order: Tab from "Idle On" and the
      // space bar stop idle mode.
      {"Command2", kButton, "Idle Off", 72480, -1440, 855, 195, 2, kCommand2Id, kNone, false, false},
  };
  return controls;
}

const ControlLayout* FindControl(int id) {
  for (const ControlLayout& c : Form1Controls())
    if (c.id == id) return &c;
  return nullptr;
}

std::vector<const ControlLayout*> CreationOrder() {
  std::vector<const ControlLayout*> order;
  for (const ControlLayout& c : Form1Controls())
    if (c.kind != kLabel) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(),
                   [](const ControlLayout* a, const ControlLayout* b) { return a->tab_index < b->tab_index; });
  for (const ControlLayout& c : Form1Controls())
    if (c.kind == kLabel && !c.counter) order.push_back(&c);
  for (const ControlLayout& c : Form1Controls())
    if (c.kind == kLabel && c.counter) order.push_back(&c);
  return order;
}

const std::vector<RectangleLayout>& Form1Rectangles() {
  static const std::vector<RectangleLayout> shapes = {
      {"Shape4", 120, 120, 2055, 255, true},
      {"Shape1", 120, 480, 2055, 1335, false},
  };
  return shapes;
}

const std::vector<LineLayout>& Form1Lines() {
  static const std::vector<LineLayout> lines = {
      {"Line4", 1080, 840, 1080, 1680},
      {"Line1", 120, 1800, 120, 720},
      {"Line2", 120, 720, 120, 1560},
  };
  return lines;
}

const std::vector<MenuItemLayout>& OptMenu() {
  static const std::vector<MenuItemLayout> items = {
      {"abt", "about", kMenuAbtId},
      {"gts", "greets", kMenuGtsId},
      {"cnt", "contact", kMenuCntId},
      {"ext", "exit", kMenuExtId},
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
