// The fake desktop must behave like the real one where the procedures lean
// on it, or every test built on it proves nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

TEST(FakeDesktop, FindsChildrenInZOrderAfterTheGivenSibling) {
  FakeDesktop d;
  FakeClient client = d.AddClient("4");
  FakeRoom lower = client.AddRoom("Lower");
  FakeRoom upper = client.AddRoom("Upper", Z::kTop);
  const Hwnd mdi = client.mdi().hwnd();

  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, nullptr), upper.window.hwnd());
  EXPECT_EQ(d.FindWindowExA(mdi, upper.window.hwnd(), kChildClass, nullptr), lower.window.hwnd());
  EXPECT_EQ(d.FindWindowExA(mdi, lower.window.hwnd(), kChildClass, nullptr), 0u);
  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, "Lower"), lower.window.hwnd());
  EXPECT_EQ(d.FindWindowExA(mdi, 0, kChildClass, "lower"), 0u) << "captions match exactly";
  // A sibling that is not a child of the parent finds nothing.
  EXPECT_EQ(d.FindWindowExA(mdi, client.frame().hwnd(), kChildClass, nullptr), 0u);
  EXPECT_EQ(d.FindWindowA(kFrameClass, nullptr), client.frame().hwnd());
  EXPECT_EQ(d.FindWindowExA(0, 0, kFrameClass, nullptr), 0u) << "no window, no children";
}

TEST(FakeDesktop, ChatInputPostsOnEnterAndEmpties) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("5").AddRoom("Lobby 12");
  ASSERT_TRUE(d.SetText(room.input.hwnd(), "hello"));
  ASSERT_TRUE(d.SendChar(room.input.hwnd(), kCharEnter));
  EXPECT_EQ(room.Lines(), std::vector<std::string>{"hello"});
  EXPECT_EQ(room.input.Text(), "");
  ASSERT_EQ(d.Transcript().size(), 1u);
  EXPECT_EQ(d.Transcript()[0].room_caption, "Lobby 12");

  room.input.PostAfterEnters(3);
  d.SetText(room.input.hwnd(), "slow");
  d.SendChar(room.input.hwnd(), kCharEnter);
  d.SendChar(room.input.hwnd(), kCharEnter);
  EXPECT_EQ(room.input.Text(), "slow");
  d.SendChar(room.input.hwnd(), kCharEnter);
  EXPECT_EQ(room.input.Text(), "");
  EXPECT_EQ(room.Lines().size(), 2u);
}

TEST(FakeDesktop, GoneAndHungWindowsAnswerNothing) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("4").AddRoom("Lobby");
  room.input.SetText("typed");
  room.input.SetHung(true);
  char buffer[16];
  EXPECT_EQ(d.GetTextLength(room.input.hwnd()), 0);
  EXPECT_EQ(d.GetTextInto(room.input.hwnd(), buffer, sizeof buffer), 0u);
  EXPECT_FALSE(d.SetText(room.input.hwnd(), "x"));
  EXPECT_EQ(room.input.Text(), "typed");

  room.input.SetHung(false);
  const Hwnd input = room.input.hwnd();
  room.window.Destroy();
  EXPECT_FALSE(room.input.Alive());
  EXPECT_EQ(d.GetTextLength(input), 0);
  EXPECT_FALSE(d.SendChar(input, kCharEnter));
  EXPECT_EQ(d.FindWindowExA(d.AddClient("4").mdi().hwnd(), 0, kChildClass, nullptr), 0u);
}

TEST(FakeDesktop, GetTextIntoCopiesAtMostCapacityLessOne) {
  FakeDesktop d;
  FakeWindow w = d.AddTopLevel("Edit", "abcdef");
  char buffer[8];
  std::memset(buffer, 'z', sizeof buffer);
  EXPECT_EQ(d.GetTextInto(w.hwnd(), buffer, 4), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'z');
}

TEST(FakeDesktop, ScheduledActionsRunInsideDoEvents) {
  FakeDesktop d;
  std::vector<std::string> ran;
  const std::uint64_t start = d.NowMs();
  d.After(50, [&] { ran.push_back("timed"); });
  d.OnDoEvents(2, [&] { ran.push_back("second call"); });

  d.DoEvents();
  EXPECT_TRUE(ran.empty());
  d.WaitForEvents(1000);
  EXPECT_EQ(d.NowMs(), start + 50) << "a wait ends when the next action falls due";
  d.DoEvents();
  EXPECT_EQ(ran, (std::vector<std::string>{"timed", "second call"}));
  d.WaitForEvents(20);
  EXPECT_EQ(d.NowMs(), start + 70);
  EXPECT_EQ(d.DoEventsCalls(), 2);
  EXPECT_EQ(d.Waits(), (std::vector<unsigned>{1000, 20}));
}

TEST(FakeDesktop, SpaceOnOkClosesTheDialog) {
  FakeDesktop d;
  FakeDialog dialog = d.AddErrorDialog("The room you requested is full.");
  EXPECT_EQ(d.FindWindowExA(dialog.window.hwnd(),
                            d.FindWindowExA(dialog.window.hwnd(), 0, kStaticClass, nullptr),
                            kStaticClass, nullptr),
            dialog.message.hwnd());
  d.PostKey(dialog.ok.hwnd(), kWmKeyDown, kVkSpace);
  EXPECT_TRUE(dialog.window.Alive());
  d.PostKey(dialog.ok.hwnd(), kWmKeyUp, kVkSpace);
  EXPECT_FALSE(dialog.window.Alive());
  EXPECT_EQ(d.ClosedDialogs(), std::vector<std::string>{"The room you requested is full."});
}

TEST(FakeDesktop, KeywordRoutesRecordTheAddress) {
  FakeDesktop d;
  FakeClient newer = d.AddClient("5");
  std::string seen;
  newer.OnKeyword([&](const std::string& typed) { seen = typed; });
  const Hwnd edit = newer.keyword_box().hwnd();
  d.SetText(edit, "aol://x");
  d.SendChar(edit, kCharSpace);
  d.SendChar(edit, kCharEnter);
  EXPECT_EQ(seen, "aol://x ");

  FakeDesktop old_desktop;
  FakeClient older = old_desktop.AddClient("2.5");
  older.OpenKeywordWindowOnIcon();
  old_desktop.SendMouse(older.Icon(12).hwnd(), kWmLButtonDown);
  old_desktop.SendMouse(older.Icon(12).hwnd(), kWmLButtonUp);
  EXPECT_EQ(old_desktop.FindWindowExA(older.mdi().hwnd(), 0, kChildClass, kKeywordCaption), 0u);
  old_desktop.SendMouse(older.Icon(13).hwnd(), kWmLButtonDown);
  old_desktop.SendMouse(older.Icon(13).hwnd(), kWmLButtonUp);
  const Hwnd window = old_desktop.FindWindowExA(older.mdi().hwnd(), 0, kChildClass, kKeywordCaption);
  ASSERT_NE(window, 0u);
  const Hwnd box = old_desktop.FindWindowExA(window, 0, kOldEditClass, nullptr);
  old_desktop.SetText(box, "aol://y");
  old_desktop.SendChar(box, kCharEnter);
  EXPECT_EQ(old_desktop.Keywords(), std::vector<std::string>{"aol://y"});
  EXPECT_FALSE(old_desktop.Window(window).Alive());
}

}  // namespace
}  // namespace wendrel
