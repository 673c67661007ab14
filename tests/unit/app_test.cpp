// The main window's pure logic: its controls as designed, their drawing,
// menu and box texts, and the counters counting on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/idle.h"
#include "app/main_panel_layout.h"
#include "winutil/twips.h"

namespace wendrel {
namespace {

using PixelBox = std::array<int, 4>;  // left, top, width, height

template <typename Layout>
PixelBox At96(const Layout& c) {
  return {TwipsToPixels(c.left, 96), TwipsToPixels(c.top, 96), TwipsToPixels(c.width, 96),
          TwipsToPixels(c.height, 96)};
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
}

// At 96 dots per inch every edge lies on a whole pixel and the controls keep
// the panel's lines: the title strip's three labels; the counter row, a mark
// or a counter every 16 px, each counter reaching over the next mark; the
// buttons and the room box in two columns of three rows; and the unseen
// second Idle Off, the size of the one it stands for, far outside.
TEST(MainPanelLayout, ControlsKeepThePanelsLinesAt96Dpi) {
  for (const ControlLayout& c : MainPanelControls())
    for (float twips : {c.left, c.top, c.width, c.height})
      EXPECT_EQ(std::fmod(twips, 15.0f), 0.0f) << c.name;
  std::vector<std::pair<int, PixelBox>> want = {
      {kMinimiseLabel, {16, 8, 9, 9}}, {kTitleLabel, {32, 8, 89, 17}},
      {kExitLabel, {128, 8, 17, 17}},
      {kHiddenIdleOffButton, {4832, -96, 57, 13}}};
  const int counter_row[] = {kDaysMarkLabel, kDaysLabel,        kHoursMarkLabel,
                             kHoursLabel,    kMinutesMarkLabel, kMinutesLabel};  // d/ 0 h/ 0 m/ 0
  for (int i = 0; i < 6; ++i)
    want.push_back({counter_row[i], {16 + 16 * i, 40, i % 2 ? 33 : 17, 17}});
  const int columns[2][3] = {{kIdleOnButton, kExitButton, kRoomBox},
                             {kIdleOffButton, kOptionsButton, kEnterRoomButton}};
  const int row_tops[] = {56, 72, 96};
  for (int row = 0; row < 3; ++row) {
    want.push_back({columns[0][row], {16, row_tops[row], 49, row == 2 ? 19 : 13}});
    want.push_back({columns[1][row], {80, row_tops[row], 57, 13}});
  }
  for (const auto& [id, box] : want) {
    const ControlLayout* control = FindControl(id);
    ASSERT_NE(control, nullptr) << id;
    EXPECT_EQ(At96(*control), box) << control->name;
  }
}

// Enter and Esc send IDOK and IDCANCEL to the window: no control or menu
// item may have those ids, and no two the same.
TEST(MainPanelLayout, IdsAreDistinctAndClearOfOkAndCancel) {
  std::set<int> ids{1, 2};  // IDOK, IDCANCEL
  for (const ControlLayout& c : MainPanelControls()) ids.insert(c.id);
  for (const MenuItemLayout& m : OptionsMenu()) ids.insert(m.id);
  EXPECT_EQ(ids.size(), 2 + MainPanelControls().size() + OptionsMenu().size());
}

// The control created first lies on top (the window's Tab order follows
// it too). Where boxes overlap, the buttons and the room box must stay
// whole, and the marks must not be hidden by the counters whose boxes
// reach over them.
TEST(MainPanelLayout, CreationOrderPutsTheRightBoxOnTop) {
  const std::vector<const ControlLayout*> order = CreationOrder();
  ASSERT_EQ(order.size(), MainPanelControls().size());
  auto rank = [&](const ControlLayout* c) {
    return std::find(order.begin(), order.end(), c) - order.begin();
  };
  int overlaps = 0;
  for (const ControlLayout& a : MainPanelControls()) {
    // The idle counters are the three labels idle mode counts in.
    EXPECT_EQ(a.counter, a.id == kDaysLabel || a.id == kHoursLabel || a.id == kMinutesLabel) << a.name;
    for (const ControlLayout& b : MainPanelControls()) {
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
TEST(MainPanelLayout, RectanglesFrameTheirControls) {
  const auto& shapes = MainPanelRectangles();
  ASSERT_EQ(shapes.size(), 2u);
  for (const ControlLayout& c : MainPanelControls()) {
    if (c.id == kHiddenIdleOffButton) continue;
    const RectangleLayout& s = shapes[c.clickable ? 0 : 1];
    EXPECT_TRUE(c.left >= s.left && c.top >= s.top && c.left + c.width <= s.left + s.width &&
                c.top + c.height <= s.top + s.height)
        << c.name;
  }
  EXPECT_EQ(shapes[0].left, 120);
  EXPECT_EQ(shapes[0].top, 120);
  EXPECT_EQ(shapes[0].left + shapes[0].width + 120, kMainPanelGeometry.width);
  EXPECT_EQ(shapes[1].top + shapes[1].height + 120, kMainPanelGeometry.height);
}

TEST(MainPanelLayout, CaptionsMenuAndBoxTexts) {
  std::vector<std::string> captions, items;
  for (const ControlLayout& c : MainPanelControls()) captions.push_back(c.caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"-", "Wendrel Idler", "x", "d/", "0", "h/", "0",
                                                "m/", "0", "Idle On", "Idle Off", "Exit", "Options",
                                                "Room?", "Enter PR", "Idle Off"}));
  for (const MenuItemLayout& m : OptionsMenu()) items.push_back(m.caption);
  EXPECT_EQ(items, (std::vector<std::string>{"about", "greets", "contact", "exit"}));
  EXPECT_EQ(GreetsText({"a", "b", "c"}), "My greets go out to a, b, and c.");
  EXPECT_EQ(GreetsText().rfind("My greets go out to ", 0), 0u);
  EXPECT_EQ(ContactText("me@example.com"),
            "e-mail me at me@example.com for and idea's that you might have to make it better.");
}

// Plus one in doubles, written back in the shortest decimal form; what is
// not a plain decimal, or more than a double holds, counts as 0.
TEST(NextCount, CaptionPlusOne) {
  const std::pair<std::string, const char*> cases[] = {
      {"0", "1"}, {"9", "10"}, {"59", "60"}, {"999999", "1000000"}, {"007", "8"}, {"1.5", "2.5"},
      {"0.1", "1.1"},
      {"", "1"}, {"abc", "1"}, {"12abc", "1"}, {" 5", "1"}, {"-5", "1"}, {"1e3", "1"},
      {"0x10", "1"}, {"inf", "1"},
      {".", "1"}, {".5", "1"}, {"5.", "1"}, {"1.2.3", "1"}, {std::string(400, '9'), "1"},
      {"100000000000000000000", "100000000000000000000"},
      {"9007199254740993", "9007199254740992"}};  // past 2^53
  for (const auto& [caption, want] : cases)
    EXPECT_EQ(NextCount(caption), want) << '"' << caption << '"';
}

}  // namespace
}  // namespace wendrel
