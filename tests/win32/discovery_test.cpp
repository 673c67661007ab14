#include "automation/discovery.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/support_win32.h"

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

}  // namespace
}  // namespace wendrel::testing
