#include "app/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "winutil/twips.h"

namespace wendrel {
namespace {

struct PixelBox {
  int left, top, width, height;
  bool operator==(const PixelBox& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

template <typename Layout>
PixelBox At96(const Layout& c) {
  return {TwipsToPixels(c.left, 96), TwipsToPixels(c.top, 96), TwipsToPixels(c.width, 96),
          TwipsToPixels(c.height, 96)};
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The design table, in pixels at 96 dots per inch; only the title strip's
// labels take clicks.
TEST(Form1Layout, ControlsAt96Dpi) {
  const struct {
    int id;
    const char* caption;
    PixelBox box;
    bool clickable;
  } cases[] = {
      {kLabel3Id, "-", {16, 8, 9, 9}, true},
      {kLabel4Id, "Wendrel Idler", {32, 8, 89, 17}, true},
      {kLabel5Id, "x", {128, 8, 17, 17}, true},
      {kLabel8Id, "d/", {16, 40, 17, 17}, false},
      {kLabel7Id, "0", {32, 40, 33, 17}, false},
      {kLabel9Id, "h/", {48, 40, 17, 17}, false},
      {kLabel6Id, "0", {64, 40, 33, 17}, false},
      {kLabel2Id, "m/", {80, 40, 17, 17}, false},
      {kLabel1Id, "0", {96, 40, 33, 17}, false},
      {kCommand1Id, "Idle On", {16, 56, 49, 13}, false},
      {kCommand6Id, "Idle Off", {80, 56, 57, 13}, false},
      {kCommand3Id, "Exit", {16, 72, 49, 13}, false},
      {kCommand4Id, "Options", {80, 72, 57, 13}, false},
      {kText2Id, "Room?", {16, 96, 49, 19}, false},
      {kCommand5Id, "Enter PR", {80, 96, 57, 13}, false},
      {kCommand2Id, "Idle Off", {4832, -96, 57, 13}, false},
  };
  EXPECT_EQ(Form1Controls().size(), std::size(cases));
  for (const auto& c : cases) {
    const ControlLayout* control = FindControl(c.id);
    ASSERT_NE(control, nullptr) << c.id;
    EXPECT_STREQ(control->caption, c.caption) << control->name;
    EXPECT_TRUE(At96(*control) == c.box) << control->name;
    EXPECT_EQ(control->clickable, c.clickable) << control->name;
  }
}

// Enter and Esc send IDOK and IDCANCEL to the window: no control or menu
// item may have those ids, and no two the same.
TEST(Form1Layout, IdsAreDistinctAndClearOfOkAndCancel) {
  std::set<int> ids{1, 2};  // IDOK, IDCANCEL
  for (const ControlLayout& c : Form1Controls()) ids.insert(c.id);
  for (const MenuItemLayout& m : OptMenu()) ids.insert(m.id);
  EXPECT_EQ(ids.size(), 2 + Form1Controls().size() + OptMenu().size());
}

// The control created first lies on top (the window's Tab order follows
// it too). Where boxes overlap, the buttons and the room box must stay
// whole, and the marks must not be hidden by the counters whose boxes
// reach over them.
TEST(Form1Layout, CreationOrderPutsTheRightBoxOnTop) {
  const std::vector<const ControlLayout*> order = CreationOrder();
  ASSERT_EQ(order.size(), Form1Controls().size());
  auto rank = [&](const ControlLayout* c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
  int overlaps = 0;
  for (const ControlLayout& a : Form1Controls()) {
    for (const ControlLayout& b : Form1Controls()) {
      if (&a == &b || !Overlap(At96(a), At96(b))) continue;
      ++overlaps;
      const bool a_label = a.kind == ControlKind::kLabel, b_label = b.kind == ControlKind::kLabel;
      if ((!a_label && b_label) || (a_label && b_label && !a.counter && b.counter)) {
        EXPECT_LT(rank(&a), rank(&b)) << a.name << " over " << b.name;
      }
    }
  }
  // The counters over the next marks, and the counter row over the top row
  // of the buttons: the table does overlap.
  EXPECT_GT(overlaps, 0);
}

// 120 twips of margin to the window's edges; the title strip holds the three
// title labels, the body every other control but the one placed outside.
TEST(Form1Layout, RectanglesFrameTheirControls) {
  const auto& shapes = Form1Rectangles();
  ASSERT_EQ(shapes.size(), 2u);
  for (const ControlLayout& c : Form1Controls()) {
    if (c.id == kCommand2Id) continue;
    const RectangleLayout& s = shapes[c.clickable ? 0 : 1];
    EXPECT_TRUE(c.left >= s.left && c.top >= s.top && c.left + c.width <= s.left + s.width &&
                c.top + c.height <= s.top + s.height)
        << c.name;
  }
  EXPECT_EQ(shapes[0].left, 120);
  EXPECT_EQ(shapes[0].top, 120);
  EXPECT_EQ(shapes[0].left + shapes[0].width + 120, kForm1Geometry.width);
  EXPECT_EQ(shapes[1].top + shapes[1].height + 120, kForm1Geometry.height);
}

TEST(Form1Layout, MenuAndBoxTexts) {
  std::vector<std::string> captions;
  for (const MenuItemLayout& m : OptMenu()) captions.push_back(m.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"about", "greets", "contact", "exit"}));
  EXPECT_EQ(GreetsText({"a", "b", "c"}), "My greets go out to a, b, and c.");
  EXPECT_EQ(GreetsText().rfind("My greets go out to ", 0), 0u);
  EXPECT_EQ(ContactText("me@example.com"),
            "e-mail me at me@example.com for and idea's that you might have to make it better.");
}

}  // namespace
}  // namespace wendrel
