// The client's windows as the program finds them (its version, its chat
// room, the screen name) and a private room entered through them.
#include <gtest/gtest.h>

#include <memory>

#include "automation/discovery.h"
#include "automation/private_room.h"
#include "automation/text_styles.h"
#include "tests/support/support_win32.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

// Wine shows a menu bar only within the process that owns it: with the
// client on a thread here, every version can be told apart.
TEST(Discovery, VersionRoomAndScreenNameOfEachClient) {
  const struct {
    const char* name;
    std::vector<std::string> args;  // empty: no client runs
    int room;  // place among the client's windows, topmost first; -1: none
    const char* screen_name;
  } cases[] = {
      {"newer: only the first window is held to the AOL... rule",
       {"--version", "4", "--decoy", "newer:AOL Lobby", "--room", "AOL Lobby", "--buddy",
       "'s list"},
       1, ""},
      {"newer: a later AOL Hotline is skipped, AOL Hotline Fans is not",
       {"--version", "4", "--decoy", "newer-partial:Chat", "--decoy", "newer:AOL Hotline", "--room",
        "AOL Hotline Fans", "--buddy", "o'neil's list"}, 2, "o"},
      {"newer: an older family's window is no room",
       {"--version", "5", "--decoy", "older:Town", "--room", "Lobby"}, 1, "n/a"},
      {"newer: no room among the decoys",
       {"--version", "4", "--no-room", "--decoy", "newer:AOL Lobby", "--decoy",
       "newer-partial:Den"},
       -1, "n/a"},
      {"older: AOL Hotline first is skipped",
       {"--version", "3", "--decoy", "older:AOL Hotline", "--room", "Lobby"}, 1, "n/a"},
      {"older: a partial window is passed over, AOL... is a room",
       {"--version", "3", "--decoy", "older-partial:Lobby", "--room", "AOL Lounge"}, 1, "n/a"},
      {"older: a newer family's window is no room",
       {"--version", "2.5", "--decoy", "newer:Town", "--room", "Lobby"}, 1, "n/a"},
      {"older: no room", {"--version", "2.5", "--no-room", "--decoy", "newer:Town"}, -1, "n/a"},
      {"no client", {}, -1, "n/a"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<SimThread> sim;
    if (!c.args.empty()) { ASSERT_TRUE(*(sim = std::make_unique<SimThread>(c.args))); }
    const std::vector<HWND> children = ClientChildren();
    ASSERT_LT(c.room, static_cast<int>(children.size()));
    const Hwnd room = c.room < 0 ? 0 : FromHwnd(children[c.room]);
    const std::string version = c.args.empty() ? "3" : c.args[1];
    Win32Platform p;
    EXPECT_EQ(GetAolVersion(p), version);
    EXPECT_EQ(FindChatRoom(p), room);
    EXPECT_EQ(GetAimScreenName(p), c.screen_name);
  }
}

const std::string kAddress = "aol://2719:2-2-NightOwls";
constexpr std::uint64_t kReal = ~0ull;  // the client answers in real time

// The newer clients take the address in the toolbar's box, the older ones
// in "Keyword", opened from their toolbar's 13th (2.5) or 18th (3) icon.
// The client's dialog is told apart by its message, tested in order.
TEST(EnterPrivateRoom, OutcomeOfEachAnswerOnEachVersion) {
  const struct {
    const char* name;
    Lines args;
    std::string line;  // before bolding; "": nothing posted
    std::uint64_t waited_ms = 0;
    const char* room = "Night Owls";
    bool addressed = true;
    bool icon_only = false;  // the icon is clicked, nothing typed
  } cases[] = {
      {"room opens", {"--version", "3"}, kEntered},
      {"full outranks error",
       {"--version", "4", "--pr-error", "Error: the room you requested is full"},
       "\xB7 zarnik  can't enter night owls \xB7" "full."},
      {"error in any case outranks the rest",
       {"--version", "5", "--pr-error", "ERROR: Invalid, name is not allowed"},
       "\xB7 zarnik can't enter night owls \xB7 error."},
      {"not allowed outranks Invalid",
       {"--version", "3", "--pr-error", "Invalid: name is not allowed"},
       "\xB7 zarnik can't enter night owls \xB7 banned."},
      {"invalid", {"--version", "2.5", "--pr-error", "Invalid room."},
       "\xB7 zarnik  can't enter night owls \xB7 invalid."},
      {"a message that comes late is waited for",
       {"--version", "3", "--pr-error", "Invalid room.", "--pr-error-delay", "100"},
       "\xB7 zarnik  can't enter night owls \xB7 invalid.", kReal},
      {"unknown message: left to the user", {"--version", "4", "--pr-error", "invalid, hold on"},
       ""},
      {"no answer", {"--version", "5", "--pr-nothing"}, "", 30000},
      {"no Keyword window", {"--version", "2.5", "--no-keyword-window"}, "", 10000, "Night Owls",
       false, true},
      {"already in the room", {"--version", "4", "--room", "night  OWLS"}, "", 0, "Night Owls",
       false},
      {"a name of spaces alone", {"--version", "3"}, "", 0, "   ", false},
  };
  for (const auto& c : cases) {
    const std::string version = c.args[1];
    SCOPED_TRACE(version + ": " + c.name);
    SimThread sim(c.args);
    ASSERT_TRUE(sim);
    TempDir dir;
    VirtualClockPlatform p(dir.path());
    ChatSession chat;
    const std::uint64_t start = p.NowMs();
    EnterPrivateRoom(p, chat, c.room);
    if (c.waited_ms != kReal) { EXPECT_EQ(p.NowMs() - start, c.waited_ms); }
    const Transcript& t = sim.transcript();
    const bool older = version == "3" || version == "2.5";
    // The newer clients' box gets a space before Enter.
    EXPECT_EQ(t.Payloads("keyword"),
              c.addressed ? Lines{older ? kAddress : kAddress + " "} : Lines{});
    const bool clicked = older && (c.addressed || c.icon_only);
    EXPECT_EQ(t.Payloads("icon"), clicked ? Lines{version == "3" ? "18" : "13"} : Lines{});
    const std::string markup = older ? "" : kBareMarkup;
    EXPECT_EQ(sim.Chat(), c.line.empty() ? Lines{} : Lines{markup + BoldWordStarts(c.line)});
    // An unknown message's dialog stays open: the short wait lets a wrong close show.
    const bool dialog = c.args.size() > 3 && c.args[2] == "--pr-error";
    const bool answered = dialog && !c.line.empty();
    if (dialog) { EXPECT_EQ(t.WaitFor("dialog-closed", 1, answered ? 2000 : 300), answered); }
    EXPECT_EQ(t.Payloads("dialog-closed"), answered ? Lines{c.args[3]} : Lines{});
  }
}

}  // namespace
}  // namespace wendrel::testing
