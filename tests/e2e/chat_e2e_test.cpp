// The client faults only another process can show: a client that stops
// answering in the middle of a post. Lines go through the program's own
// link to the client, on its own thread, as the main window hands them over.
#include <gtest/gtest.h>

#include "automation/chat_sender.h"
#include "automation/client_thread_win32.h"
#include "tests/e2e/harness_win32.h"
#include "tests/support/texts.h"

namespace wendrel::e2e {
namespace {

// Two lines handed over (the first after `hand_after_ms`, the second
// `gap_ms` later) to a client that stops answering for a while at the
// given moment: each line reaches the room once and in order, or is given
// up after the silence bound; once the client answers again its box holds
// the user's draft byte for byte, and handing over never waits on the
// client.
TEST(ChatFaults, ClientStopsMidPostNothingOfTheUsersIsLostOrSent) {
  const struct {
    const char* name;
    const char* fault;
    unsigned hand_after_ms;
    unsigned gap_ms;
    std::uint64_t silence_ms;
    Lines delivered;
    unsigned given_up;
  } cases[] = {
      {"in the Enter of the first line", "--hang-on-line 1 --hang-ms 8000", 0, 0, 60000, {"one", "two"}, 0},
      {"just after it took the first, the second handed meanwhile", "--hang-on-line 1 --hang-ms 4000", 0, 1000,
       60000, {"one", "two"}, 0},
      // Reads of the box: the draft, after the line is set, the client's
      // own on Enter, then the read-back after Enter.
      {"in the read-back after Enter", "--hang-on-read 4 --hang-ms 3000", 0, 0, 60000, {"one", "two"}, 0},
      // Sets: the test's draft; the clearing, the line and the client's
      // own clearing on Enter; then the draft back.
      {"while the draft is put back", "--hang-on-set 5 --hang-ms 3000", 0, 0, 60000, {"one", "two"}, 0},
      {"longer than the lines may wait", "--hang-after 300 --hang-ms 6000", 1000, 0, 1000, {}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    SimulatedClient client(dir, std::string("--version 4 --room Lobby ") + c.fault);
    ASSERT_TRUE(client.up());
    const HWND input = InputOf(ClientChildren().at(0));
    ASSERT_TRUE(SetTextOf(input, kDraft));
    ChatLimits limits;
    limits.silence_ms = c.silence_ms;
    std::unique_ptr<ClientThread> link = ClientThread::Start(std::make_unique<Win32Platform>(), limits);
    ASSERT_TRUE(link);
    unsigned given_up = 0;
    Sleep(c.hand_after_ms);
    std::uint64_t longest_hand = 0;
    for (const char* line : {"one", "two"}) {
      if (line != std::string("one")) Sleep(c.gap_ms);
      const std::uint64_t start = Ms();
      link->Hand([line](Platform& p, ChatSession& chat) { SendChat(p, chat, line); });
      longest_hand = std::max(longest_hand, Ms() - start);
    }
    EXPECT_TRUE(link->Flush(30000));
    EXPECT_LT(longest_hand, 50u);
    link->Hand([&given_up](Platform&, ChatSession& chat) { given_up = chat.given_up; });
    EXPECT_TRUE(link->Flush(1000));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(input) == kDraft; }, 15000)) << TextOf(input);
    Lines want;
    for (const std::string& line : c.delivered) want.push_back(kBareMarkup + line);
    EXPECT_EQ(client.Chat(), want);
    EXPECT_EQ(given_up, c.given_up);
  }
}

}  // namespace
}  // namespace wendrel::e2e
