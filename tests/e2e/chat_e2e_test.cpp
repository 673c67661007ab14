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

// A client that stops answering for a while at a given moment (in the
// first line, or before the second is handed over).
struct Silence {
  const char* name;
  const char* fault;
  bool first_in_silence, second_in_silence;
  std::uint64_t silence_ms;
  Lines delivered;
  unsigned given_up;
};

// Each case is a test of its own, so that the lanes share them out.
class ChatFaults : public ::testing::TestWithParam<Silence> {};

// Two lines handed over to a client that stops answering: each line
// reaches the room once and in order, or is given up after the silence
// bound; once the client answers again its box holds the user's draft byte
// for byte. (That handing over never waits on the client, the idler's own
// window shows while the client hangs.)
TEST_P(ChatFaults, ClientStopsMidPostNothingOfTheUsersIsLostOrSent) {
  const Silence& c = GetParam();
  TempDir dir;
  SimulatedClient client(dir, std::string("--version 4 --room Lobby ") + c.fault);
  ASSERT_TRUE(client.up());
  const HWND input = InputOf(ClientChildren().at(0));
  ASSERT_TRUE(SetTextOf(input, kDraft));
  ChatLimits limits;
  limits.silence_ms = c.silence_ms;
  std::unique_ptr<ClientThread> link =
      ClientThread::Start(std::make_unique<Win32Platform>(), limits);
  ASSERT_TRUE(link);
  unsigned given_up = 0;
  for (const char* line : {"one", "two"}) {
    if (line == std::string("one") ? c.first_in_silence : c.second_in_silence) {
      ASSERT_TRUE(client.WaitForHang());
    }
    link->Hand([line](Platform& p, ChatSession& chat) { SendChat(p, chat, line); });
  }
  EXPECT_TRUE(link->Flush(30000));
  link->Hand([&given_up](Platform&, ChatSession& chat) { given_up = chat.given_up; });
  EXPECT_TRUE(link->Flush(1000));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(input) == kDraft; }, 15000)) << TextOf(input);
  Lines want;
  for (const std::string& line : c.delivered) want.push_back(kBareMarkup + line);
  EXPECT_EQ(client.Chat(), want);
  EXPECT_EQ(given_up, c.given_up);
}

// A silence over 5 s makes Windows count the client as hung, and a send to
// it then fails at once instead of after its bound.
const Silence kSilences[] = {
    {"InTheEnterOfTheFirstLine", "--hang-on-line 1 --hang-ms 6000", false, false, 60000,
     {"one", "two"}, 0},
    {"JustAfterTheFirstTheSecondHandedMeanwhile", "--hang-on-line 1 --hang-ms 4000", false, true,
     60000,
     {"one", "two"}, 0},
    // Reads of the box: the draft, after the line is set, the client's own
    // on Enter, then the read-back after Enter.
    {"InTheReadBackAfterEnter", "--hang-on-read 4 --hang-ms 3000", false, false, 60000,
     {"one", "two"}, 0},
    // Sets: the test's draft; the clearing, the line and the client's own
    // clearing on Enter; then the draft back.
    {"WhileTheDraftIsPutBack", "--hang-on-set 5 --hang-ms 3000", false, false, 60000,
     {"one", "two"}, 0},
    {"LongerThanTheLinesMayWait", "--hang-after 300 --hang-ms 6000", true, true, 1000, {}, 2},
};
INSTANTIATE_TEST_SUITE_P(Silences, ChatFaults, ::testing::ValuesIn(kSilences),
                         [](const ::testing::TestParamInfo<Silence>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace wendrel::e2e
