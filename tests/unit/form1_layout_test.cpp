#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "winutil/twips.h"

namespace wendrel {
namespace {

struct PixelBox {
  int left, top, width, height;
};

PixelBox At96(const ControlSpec& c) {
  return {TwipsToPixels(c.left, 96), TwipsToPixels(c.top, 96), TwipsToPixels(c.width, 96),
          TwipsToPixels(c.height, 96)};
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The design table, in pixels at 96 dots per inch.
TEST(Form1Layout, ControlsAt96Dpi) {
  struct Case {
    int id;
    const char* caption;
    PixelBox box;
  };
  const Case cases[] = {
      {kLabel3Id, "-", {16, 8, 9, 9}},
      {kLabel4Id, "Wendrel Idler", {32, 8, 89, 17}},
      {kLabel5Id, "x", {128, 8, 17, 17}},
      {kLabel8Id, "d/", {16, 40, 17, 17}},
      {kLabel7Id, "0", {32, 40, 33, 17}},
      {kLabel9Id, "h/", {48, 40, 17, 17}},
      {kLabel6Id, "0", {64, 40, 33, 17}},
      {kLabel2Id, "m/", {80, 40, 17, 17}},
      {kLabel1Id, "0", {96, 40, 33, 17}},
      {kCommand1Id, "Idle On", {16, 56, 49, 13}},
      {kCommand6Id, "Idle Off", {80, 56, 57, 13}},
      {kCommand3Id, "Exit", {16, 72, 49, 13}},
      {kCommand4Id, "Options", {80, 72, 57, 13}},
      {kText2Id, "Room?", {16, 96, 49, 19}},
      {kCommand5Id, "Enter PR", {80, 96, 57, 13}},
      {kCommand2Id, "Idle Off", {4832, -96, 57, 13}},
  };
  EXPECT_EQ(Form1Controls().size(), std::size(cases));
  for (const Case& c : cases) {
    const ControlSpec* spec = FindControl(c.id);
    ASSERT_NE(spec, nullptr) << c.id;
    EXPECT_STREQ(spec->caption, c.caption) << spec->name;
    const PixelBox box = At96(*spec);
    EXPECT_EQ(box.left, c.box.left) << spec->name;
    EXPECT_EQ(box.top, c.box.top) << spec->name;
    EXPECT_EQ(box.width, c.box.width) << spec->name;
    EXPECT_EQ(box.height, c.box.height) << spec->name;
  }
}

TEST(Form1Layout, IdsAreDistinctAndClearOfOkAndCancel) {
  std::set<int> ids;
  for (const ControlSpec& c : Form1Controls()) ids.insert(c.id);
  for (const MenuItemSpec& m : OptMenu()) ids.insert(m.id);
  EXPECT_EQ(ids.size(), Form1Controls().size() + OptMenu().size());
  // Enter and Esc send IDOK and IDCANCEL to the window.
  EXPECT_EQ(ids.count(1), 0u);
  EXPECT_EQ(ids.count(2), 0u);
  EXPECT_EQ(FindControl(1), nullptr);
}

TEST(Form1Layout, FocusableControlsAreCreatedInTabOrder) {
  std::vector<std::string> focusable;
  for (const ControlSpec* c : CreationOrder())
    if (c->kind != ControlKind::kLabel) focusable.push_back(c->name);
  EXPECT_EQ(focusable, (std::vector<std::string>{"Command1", "Command2", "Command3", "Command4", "Text2",
                                                 "Command5", "Command6"}));
  EXPECT_EQ(CreationOrder().size(), Form1Controls().size());
}

// The control created first lies on top. Where boxes overlap, the buttons
// and the room box must stay whole, and the marks must not be hidden by the
// counters whose boxes reach over them.
TEST(Form1Layout, OverlappingBoxesLeaveTheRightOneOnTop) {
  const std::vector<const ControlSpec*> order = CreationOrder();
  auto rank = [&](const ControlSpec* c) {
    for (size_t i = 0; i < order.size(); ++i)
      if (order[i] == c) return i;
    return order.size();
  };
  int overlaps = 0;
  for (const ControlSpec& a : Form1Controls()) {
    for (const ControlSpec& b : Form1Controls()) {
      if (&a == &b || !Overlap(At96(a), At96(b))) continue;
      ++overlaps;
      const bool a_first = (a.kind != ControlKind::kLabel && b.kind == ControlKind::kLabel) ||
                           (a.kind == ControlKind::kLabel && b.kind == ControlKind::kLabel && !a.counter &&
                            b.counter);
      if (a_first) {
        EXPECT_LT(rank(&a), rank(&b)) << a.name << " over " << b.name;
      }
    }
  }
  // The counters over the next marks, and the counter row over the top row
  // of the buttons: the table does overlap.
  EXPECT_GT(overlaps, 0);
}

TEST(Form1Layout, OnlyTheTitleStripLabelsTakeClicks) {
  std::vector<std::string> clickable;
  for (const ControlSpec& c : Form1Controls())
    if (c.clickable) clickable.push_back(c.name);
  EXPECT_EQ(clickable, (std::vector<std::string>{"Label3", "Label4", "Label5"}));
}

TEST(Form1Layout, Window) {
  EXPECT_EQ(TwipsToPixels(kForm1Geometry.left, 96), 326);
  EXPECT_EQ(TwipsToPixels(kForm1Geometry.top, 96), 215);
  EXPECT_EQ(TwipsToPixels(kForm1Geometry.width, 96), 153);
  EXPECT_EQ(TwipsToPixels(kForm1Geometry.height, 96), 129);
}

TEST(Form1Layout, RectanglesFrameTheirControls) {
  const auto& shapes = Form1Rectangles();
  ASSERT_EQ(shapes.size(), 2u);
  auto inside = [](const ControlSpec& c, const RectangleSpec& s) {
    return c.left >= s.left && c.top >= s.top && c.left + c.width <= s.left + s.width &&
           c.top + c.height <= s.top + s.height;
  };
  for (const ControlSpec& c : Form1Controls()) {
    if (c.id == kCommand2Id) continue;  // outside the window on purpose
    const bool title = c.id == kLabel3Id || c.id == kLabel4Id || c.id == kLabel5Id;
    EXPECT_TRUE(inside(c, shapes[title ? 0 : 1])) << c.name;
  }
  // 120 twips of margin to the window's edges.
  EXPECT_EQ(shapes[0].left, 120);
  EXPECT_EQ(shapes[0].top, 120);
  EXPECT_EQ(shapes[0].left + shapes[0].width + 120, kForm1Geometry.width);
  EXPECT_EQ(shapes[1].top + shapes[1].height + 120, kForm1Geometry.height);
}

TEST(Form1Layout, OptMenu) {
  std::vector<std::string> captions;
  for (const MenuItemSpec& m : OptMenu()) captions.push_back(m.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"about", "greets", "contact", "exit"}));
}

TEST(Form1Layout, BoxTexts) {
  struct Case {
    const char* name;
    std::vector<std::string> names;
    std::string text;
  };
  const Case cases[] = {
      {"three", {"a", "b", "c"}, "My greets go out to a, b, and c."},
      {"two", {"a", "b"}, "My greets go out to a, and b."},
      {"one", {"a"}, "My greets go out to a."},
  };
  for (const Case& c : cases) EXPECT_EQ(GreetsText(c.names), c.text) << c.name;
  const std::string greets = GreetsText();
  EXPECT_EQ(greets.rfind("My greets go out to ", 0), 0u);
  EXPECT_NE(greets.find(", and "), std::string::npos);
  EXPECT_EQ(greets.back(), '.');
  EXPECT_EQ(ContactText("me@example.com"),
            "e-mail me at me@example.com for and idea's that you might have to make it better.");
  EXPECT_EQ(AboutText(), "");
}

}  // namespace
}  // namespace wendrel
