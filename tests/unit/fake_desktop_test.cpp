// Where the procedures lean on the platform, the fake desktop must answer as
// the real one does, or every test built on it proves nothing.
#include "automation/fake_desktop.h"

#include <gtest/gtest.h>

#include <cstring>

#include "automation/client_contract.h"

namespace wendrel {
namespace {

TEST(FakeDesktop, FindsChildrenAsTheSystemDoes) {
  FakeDesktop d;
  FakeClient client = d.AddClient("4");
  const Hwnd lower = client.AddRoom("Lower").window.hwnd();
  const Hwnd upper = client.AddRoom("Upper", Z::kTop).window.hwnd();
  const Hwnd mdi = client.mdi().hwnd();
  // From the top of the z-order, each search going on after the given sibling.
  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, nullptr), upper);
  EXPECT_EQ(d.FindWindowExA(mdi, upper, kChildClass, nullptr), lower);
  EXPECT_EQ(d.FindWindowExA(mdi, lower, kChildClass, nullptr), 0u);
  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, "Lower"), lower);
  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, "lower"), 0u) << "captions match exactly";
  EXPECT_EQ(d.FindWindowExA(mdi, client.frame().hwnd(), kChildClass, nullptr), 0u) << "not a sibling";
  EXPECT_EQ(d.FindWindowA(kFrameClass, nullptr), client.frame().hwnd());
  EXPECT_EQ(d.FindWindowExA(0, 0, kFrameClass, nullptr), 0u) << "no window, no children";
}

TEST(FakeDesktop, GoneAndHungWindowsAnswerNothingAndReadsStayInTheBuffer) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("4").AddRoom("Lobby");
  room.input.SetText("typed");
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(d.GetTextInto(room.input.hwnd(), buffer, 4), 3u);
  EXPECT_STREQ(buffer, "typ");
  EXPECT_EQ(buffer[4], 'z');

  room.input.SetHung(true);
  EXPECT_EQ(d.GetTextLength(room.input.hwnd()), 0);
  EXPECT_EQ(d.GetTextInto(room.input.hwnd(), buffer, sizeof buffer), 0u);
  EXPECT_FALSE(d.SetText(room.input.hwnd(), "x"));
  EXPECT_EQ(room.input.Text(), "typed");

  room.input.SetHung(false);
  const Hwnd input = room.input.hwnd();
  room.window.Destroy();
  EXPECT_EQ(d.GetTextLength(input), 0);
  EXPECT_FALSE(d.SendChar(input, kCharEnter));
}

// The real wait ends when a message arrives; here, when the next scheduled
// action falls due, and that action runs in the next DoEvents.
TEST(FakeDesktop, WaitsEndAtTheNextEvent) {
  FakeDesktop d;
  const std::uint64_t start = d.NowMs();
  bool ran = false;
  d.After(50, [&] { ran = true; });
  d.WaitForEvents(1000);
  EXPECT_EQ(d.NowMs(), start + 50);
  EXPECT_FALSE(ran);
  d.DoEvents();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace wendrel
