// The program's own posting thread, on a clock in the test's hands, beside
// the simulated client on a thread of its own: the order its jobs run in,
// the window's thread answering while it waits, and how lines end when the
// program closes. How each line is typed is the chat sending tests'.
#include "automation/client_thread_win32.h"

#include <gtest/gtest.h>

#include "automation/chat_sender.h"
#include "automation/private_room.h"
#include "automation/text_styles.h"
#include "tests/support/app_doubles.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

ClientLink::Job Line(const std::string& text) {
  return [text](Platform& p, ChatSession& chat) { SendChat(p, chat, text); };
}
ClientLink::Job Entry(const std::string& room) {
  return [room](Platform& p, ChatSession& chat) { EnterPrivateRoom(p, chat, room); };
}

// Holds the posting thread until the program closes.
void AwaitClosing(const ChatSession& chat) {
  for (int i = 0; i < 5000 && !chat.closing; ++i) Sleep(1);
}

// The simulated client with the user's draft in its room's box, and the
// program's posting thread.
struct Scene {
  explicit Scene(const Lines& args) : sim(args) {}
  SimThread sim;
  HWND input = sim ? InputOf(ClientChildren().at(0)) : nullptr;
  bool drafted = input && SetTextOf(input, kDraft);
  TestLink posting;
};

// Each job runs to its end before the next: a room entry handed over while
// a line is typed waits for it, a second one meanwhile is the same wish
// again, and the line after goes to the room the entry opened.
TEST(ClientThread, RoomEntryWaitsForTheLineTypedBeforeIt) {
  SimThread sim({"--version", "4", "--take-every", "3"});
  ASSERT_TRUE(sim);
  const Transcript& t = sim.transcript();
  TestLink posting;
  posting.link->Hand(Line("before"));
  posting.link->HandRoomEntry(Entry("Back Room"));
  posting.link->HandRoomEntry(Entry("Other Room"));
  posting.link->Hand(Line("after"));
  ASSERT_TRUE(posting.Flush());
  EXPECT_EQ(sim.Chat(), (Lines{kBareMarkup + "before", kBareMarkup + BoldWordStarts(kEntered),
                               kBareMarkup + "after"}));
  EXPECT_EQ(t.Payloads("keyword"), Lines{"aol://2719:2-2-BackRoom "});
  EXPECT_EQ(t.Payloads("room-opened").size(), 1u);
  // The entry is over: the next press is a new wish.
  posting.link->HandRoomEntry(Entry("Third Room"));
  ASSERT_TRUE(posting.Flush());
  EXPECT_EQ(t.Payloads("keyword").size(), 2u);
}

// A room entry at Exit is whole or not begun: one that has typed its
// keyword waits for its room, on the closing bound, and posts how it went
// before the closing lines; one not yet begun is dropped before typing.
TEST(ClientThread, RoomEntryAtExitIsWholeOrNotBegun) {
  const struct {
    const char* name;
    bool typed_before_exit;
    Lines keywords, chat;
  } cases[] = {
      {"keyword typed, the room slow to open", true, {"aol://2719:2-2-BackRoom "},
       {kBareMarkup + BoldWordStarts(kEntered), kBareMarkup + "banner", kBareMarkup + "unactive"}},
      {"not begun when the program closes", false, {},
       {kBareMarkup + "banner", kBareMarkup + "unactive"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimThread sim({"--version", "4", "--pr-delay", "300"});
    ASSERT_TRUE(sim);
    // Each pass of the room's wait takes at least a real millisecond: a
    // closing bound of 30 s lasts longer than the room's real delay.
    TestLink posting(ChatLimits{10000, 60000, 30000});
    if (!c.typed_before_exit)
      posting.link->Hand([](Platform&, ChatSession& chat) { AwaitClosing(chat); });
    posting.link->HandRoomEntry(Entry("Back Room"));
    for (const char* line : {"banner", "unactive"}) posting.link->Hand(Line(line));
    if (c.typed_before_exit) { ASSERT_TRUE(sim.transcript().WaitFor("keyword", 1, 5000)); }
    ASSERT_TRUE(posting.link->Close(120000));
    EXPECT_EQ(sim.transcript().Payloads("keyword"), c.keywords);
    EXPECT_EQ(sim.Chat(), c.chat);
  }
}

// While the window's thread waits for the posting thread, it answers at
// once what other threads and programs send its windows, and handles
// nothing posted to it: no job of its own starts inside the wait.
TEST(ClientThread, WaitsAnsweringSentMessagesOnly) {
  for (const bool closing : {false, true}) {
    SCOPED_TRACE(closing ? "Close" : "Flush");
    const UniqueHwnd window(
        CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr));
    // A thread that has not looked at its queue for 5 s (an earlier test's
    // wait) counts as hung, and bounded sends to it fail at once.
    MSG none;
    PeekMessageA(&none, nullptr, 0, 0, PM_NOREMOVE);
    PostMessageA(window.get(), WM_APP, 0, 0);
    int answered = 0;
    TestLink posting;
    posting.link->Hand([&answered, w = window.get()](Platform&, ChatSession&) {
      for (UINT message : {WM_NULL, WM_QUERYENDSESSION, WM_NULL})
        answered += BoundedSend(w, message, 0, 0, 500).ok();
    });
    EXPECT_TRUE(closing ? posting.link->Close(10000) : posting.link->Flush(10000));
    EXPECT_EQ(answered, 3);
    MSG posted{};
    EXPECT_TRUE(PeekMessageA(&posted, window.get(), WM_APP, WM_APP, PM_REMOVE))
        << "handled inside the wait";
  }
}

// A line given up before the program closes says nothing of a client that
// answers again: the closing lines go out. (That a box stuck as the
// program closes costs the closing bound once, the end-to-end cases time.)
TEST(ClientThread, ClosingLinesGoOutAfterALineGivenUpBefore) {
  Scene s({"--version", "4", "--refuse", "stuck"});
  ASSERT_TRUE(s.drafted);
  s.posting.link->Hand(Line("stuck"));
  ASSERT_TRUE(s.posting.Flush());
  // Held until the program closes, so that the pair are closing lines.
  ChatSession* session = nullptr;
  s.posting.link->Hand([&session](Platform&, ChatSession& chat) {
    AwaitClosing(chat);
    session = &chat;
  });
  for (const char* line : {"banner", "unactive"}) s.posting.link->Hand(Line(line));
  ASSERT_TRUE(s.posting.link->Close(12000));
  ASSERT_TRUE(session);
  EXPECT_EQ(s.sim.Chat(), (Lines{kBareMarkup + "banner", kBareMarkup + "unactive"}));
  EXPECT_EQ(session->given_up, 1u);
  EXPECT_EQ(TextOf(s.input), kDraft);
}

// Windows refusing our lines (a client with more rights, which Wine
// cannot have) is told to the window once a run, however many lines it
// refuses, and the box is not touched.
TEST(ClientThread, TellsOnceThatWindowsRefusesTheLines) {
  Scene s({"--version", "4"});
  ASSERT_TRUE(s.drafted);
  s.posting.platform->deny_sets = true;
  int told = 0;
  s.posting.link->SetDeniedNotice([&told] { ++told; });
  for (const char* line : {"one", "two"}) s.posting.link->Hand(Line(line));
  ASSERT_TRUE(s.posting.Flush());
  EXPECT_EQ(told, 1);
  EXPECT_EQ(s.sim.Chat(), Lines{});
  EXPECT_EQ(TextOf(s.input), kDraft);
}

}  // namespace
}  // namespace wendrel::testing
