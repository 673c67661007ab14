// Chat sending end to end: styled lines typed into the simulated client's
// room, compared byte for byte with what the client took, and the faults of
// a client that dies, hangs or never takes the line.
#include <gtest/gtest.h>

#include "automation/chat_sender.h"
#include "automation/client_contract.h"
#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

constexpr char kUserTyping[] = "half a thou";
constexpr char kStyleSettings[] =
    "[zq7]\r\n"
    "ascii=  --  \r\n"
    "ascii color=FF0000\r\n"
    "text color=0000FF\r\n"
    "mode=normal\r\n";
constexpr char kNewerPrefix[] = "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";

// What a test needs for one line: a folder with the style settings, a
// client, and the user's own unsent typing in the room's input box.
struct ChatScene {
  TempDir dir;
  SimulatedClient client;
  HWND input = nullptr;

  ChatScene(const std::string& settings, std::vector<std::string> args) {
    if (!settings.empty()) dir.Write("zq7.ini", settings);
    client = SimulatedClient::Start(dir, std::move(args));
    if (!client) return;
    std::vector<HWND> rooms = client.Children();
    for (HWND room : rooms)
      if (TextOf(room) == "Lobby") input = SimulatedClient::InputOf(room);
    BoundedSend(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kUserTyping), 2000);
  }
};

unsigned long long MsSince(ULONGLONG start) { return GetTickCount64() - start; }

struct StyleCase {
  const char* name;
  std::string settings;
  std::vector<std::string> args;
  std::vector<std::string> lines;
  std::vector<std::string> expected;
};

TEST(ChatSend, StyledLinesReachTheRoomByteForByte) {
  const std::string idle = "\xB7 nightowl: has been idle 0/d 0/h 1/m";  // middle dot
  const std::string info = "\xB7 aim: n/a aol: 4";
  const StyleCase cases[] = {
      {"newer client, markup and decoration",
       kStyleSettings,
       {"--version", "4", "--room", "Lobby"},
       {idle, info},
       {kNewerPrefix + idle, kNewerPrefix + info}},
      {"older client, decoration only",
       kStyleSettings,
       {"--version", "3", "--room", "Lobby"},
       {idle, info},
       {"--" + idle, "--" + info}},
      {"newer client without a settings file",
       "",
       {"--version", "4", "--room", "Lobby"},
       {idle},
       {"</html><font face=\"arial\" color=#><font color=#>" + idle}},
      {"Windows-1252 bytes in the settings and the line, upper-cased",
       // A currency sign as decoration; e acute in the line.
       "[zq7]\r\nascii=\xA4\r\nmode=ucase\r\n",
       {"--version", "3", "--room", "Lobby"},
       {"\xB7 caf\xE9"},
       {"\xA4\xB7 CAF\xC9"}},
      {"newer client passes over its decoys",
       kStyleSettings,
       {"--version", "4", "--decoy", "newer:AOL Lobby", "--decoy", "newer-partial:Chat",
        "--room", "Lobby", "--decoy", "newer:Later"},
       {idle},
       {kNewerPrefix + idle}},
      {"older client passes over its decoys",
       kStyleSettings,
       {"--version", "3", "--decoy", "older:AOL Hotline", "--decoy", "newer:Rich",
        "--room", "Lobby"},
       {idle},
       {"--" + idle}},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    ChatScene scene(c.settings, c.args);
    ASSERT_TRUE(scene.client);
    ASSERT_NE(scene.input, nullptr);
    TestPlatform p(scene.dir.path());
    for (const std::string& line : c.lines) SendChat(p, line);
    EXPECT_EQ(scene.client.Chat(), c.expected);
    EXPECT_TRUE(scene.client.transcript().Payloads("stray").empty());
    EXPECT_EQ(TextOf(scene.input), kUserTyping);
  }
}

TEST(ChatSend, SilentModePostsNothing) {
  ChatScene scene("[zq7]\r\nascii=--\r\nmode=silent\r\n", {"--version", "4", "--room", "Lobby"});
  ASSERT_TRUE(scene.client);
  TestPlatform p(scene.dir.path());
  SendChat(p, "\xB7 anything");
  EXPECT_TRUE(scene.client.Chat().empty());
  EXPECT_EQ(TextOf(scene.input), kUserTyping);
}

TEST(ChatFaults, ClientKilledMidPost) {
  ChatScene scene(kStyleSettings, {"--version", "4", "--room", "Lobby", "--quit-on-line", "1"});
  ASSERT_TRUE(scene.client);
  TestPlatform p(scene.dir.path());
  const ULONGLONG start = GetTickCount64();
  SendChat(p, "last words");
  SendChat(p, "into the void");
  EXPECT_LT(MsSince(start), 5000u);
  EXPECT_EQ(scene.client.process().WaitForExit(5000), std::optional<DWORD>(3));
  EXPECT_EQ(scene.client.Chat(), std::vector<std::string>{kNewerPrefix + std::string("last words")});
}

TEST(ChatFaults, ClientHungReturnsWithinTheBoundAndStaysResponsive) {
  ChatScene scene(kStyleSettings, {"--version", "3", "--room", "Lobby", "--hang-on-line", "1",
                                   "--hang-ms", "20000"});
  ASSERT_TRUE(scene.client);
  TestPlatform p(scene.dir.path());
  const ULONGLONG start = GetTickCount64();
  unsigned longest = 0, answers = 0;
  {
    ResponsivenessProbe probe;
    SendChat(p, "before the freeze");
    longest = probe.LongestWaitMs();
    answers = probe.Answers();
  }
  const auto took = MsSince(start);
  // Measured under Wine 8: SendMessageTimeoutA ignores its time-out for
  // WM_GETTEXTLENGTH to another process and waits out the whole hang;
  // SendMessageTimeoutW, and the A call for other messages, keep it.
  EXPECT_LT(took, 12000u) << "a read of the hung client's text waited for it";
  EXPECT_GT(answers, 0u);
  EXPECT_LT(longest, 1000u) << "this thread stopped answering for " << longest << " ms";
  EXPECT_EQ(scene.client.Chat(), std::vector<std::string>{"--before the freeze"});
  EXPECT_TRUE(scene.client.process().Running());
}

TEST(ChatFaults, BoxThatNeverEmptiesIsGivenUpAndTheTypingRestored) {
  // The one case that waits out the sender's whole bound, about 10 s.
  ChatScene scene(kStyleSettings, {"--version", "4", "--room", "Lobby", "--sticky-input"});
  ASSERT_TRUE(scene.client);
  TestPlatform p(scene.dir.path());
  const ULONGLONG start = GetTickCount64();
  SendChat(p, "nobody hears");
  const auto took = MsSince(start);
  EXPECT_GE(took, 9000u);
  EXPECT_LT(took, 15000u);
  EXPECT_TRUE(scene.client.Chat().empty());
  EXPECT_EQ(TextOf(scene.input), kUserTyping);
}

TEST(ChatFaults, NoClientPostsNothingAndReturnsAtOnce) {
  ASSERT_EQ(FindWindowA(kFrameClass, nullptr), nullptr) << "a client was left running";
  TempDir dir;
  dir.Write("zq7.ini", kStyleSettings);
  TestPlatform p(dir.path());
  const ULONGLONG start = GetTickCount64();
  SendChat(p, "\xB7 hello?");
  EXPECT_LT(MsSince(start), 1000u);
}

}  // namespace
}  // namespace wendrel::e2e
