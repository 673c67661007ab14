#include "automation/chat_sender.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/support_win32.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

const std::string kIni = "[zq7]\r\nascii=  --  \r\nascii color=FF0000\r\ntext color=0000FF\r\n";
// In place of the settings: a folder named zq7.ini.
const std::string kFolder = "/";

// Each line is styled from zq7.ini as it stands (how a style shapes a line
// is tested natively), typed into the room's box,
// and Enter pressed until the box reads empty, for ten seconds of the clock
// at most; the user's typing goes back wherever the box still stands. A
// client that Windows keeps us from is given up at once, untouched, and
// the session says so.
TEST(SendChat, StylesTypesAndGivesTheDraftBack) {
  const struct {
    const char* name;
    Lines args;        // empty: no client runs
    std::string ini;   // "": no settings file
    const char* text;
    Lines typed;
    std::uint64_t waited_ms = 0;
    bool denied = false;  // Windows refuses the sets: the client has more rights
  } cases[] = {
      {"pig latin", {"--version", "4"}, kIni + "mode=pig latin", "hello world",
       {kMarkup + "ello-hay orld-way"}},
      {"no settings file", {"--version", "5"}, "", "hi", {kBareMarkup + "hi"}},
      {"a folder for a settings file", {"--version", "4"}, kFolder, "hi", {kBareMarkup + "hi"}},
      {"a value is cut to 749 bytes", {"--version", "3"}, "[zq7]\r\nascii=" + std::string(800, 'a'),
       "x", {std::string(749, 'a') + "x"}},
      {"taken on the third Enter", {"--version", "2.5", "--take-every", "3"}, "", "hi", {"hi"}, 30},
      {"never taken", {"--version", "4", "--sticky-input"}, "", "hi", {}, 10000},
      {"box claims more than it holds", {"--version", "3", "--claim-extra", "7"}, "", "hi", {"hi"}},
      {"box claims a length of -1", {"--version", "4", "--claim-length", "-1"}, "", "hi",
       {kBareMarkup + "hi"}},
      {"room closes as it takes the line", {"--version", "5", "--close-on-line", "1"}, "", "hi",
       {kBareMarkup + "hi"}},
      {"no room", {"--version", "4", "--no-room"}, "", "hi", {}},
      {"no client", {}, "", "hi", {}},
      {"the client runs with more rights", {"--version", "4"}, "", "hi", {}, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string ini = dir.File("zq7.ini");
    if (c.ini == kFolder) { ASSERT_TRUE(CreateDirectoryA(ini.c_str(), nullptr)); }
    else if (!c.ini.empty()) { ASSERT_TRUE(dir.Write("zq7.ini", c.ini)); }
    std::unique_ptr<SimThread> sim;
    if (!c.args.empty()) { ASSERT_TRUE(*(sim = std::make_unique<SimThread>(c.args))); }
    const std::vector<HWND> rooms = ClientChildren();
    const HWND input = rooms.empty() ? nullptr : InputOf(rooms[0]);
    if (input) { ASSERT_TRUE(SetTextOf(input, kDraft)); }
    VirtualClockPlatform p(dir.path());
    p.deny_sets = c.denied;
    const std::uint64_t start = p.NowMs();
    ChatSession chat;
    SendChat(p, chat, c.text);
    EXPECT_EQ(p.NowMs() - start, c.waited_ms);
    EXPECT_EQ(chat.denied, c.denied);
    EXPECT_EQ(chat.given_up, c.denied || c.waited_ms == 10000 ? 1u : 0u);
    EXPECT_EQ(sim ? sim->Chat() : Lines{}, c.typed);
    if (IsWindow(input)) { EXPECT_EQ(TextOf(input), kDraft); }
    RemoveDirectoryA(ini.c_str());
  }
}

}  // namespace
}  // namespace wendrel::testing
