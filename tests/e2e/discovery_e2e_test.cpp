// Finding the client's windows across processes, with the real platform
// layer against the simulated client.
#include <gtest/gtest.h>

#include "automation/client_contract.h"
#include "automation/discovery.h"
#include "tests/e2e/harness_win32.h"
#include "tools/clientsim/sim_client_win32.h"

namespace wendrel::e2e {
namespace {

// The simulated client on a thread of this process. Wine cannot read the
// menu bar of another process, but it can read one of its own.
class InProcessClient {
 public:
  explicit InProcessClient(const clientsim::Options& options) : options_(options) {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &InProcessClient::Run, this, 0, nullptr);
    WaitForSingleObject(ready_, 10000);
  }
  ~InProcessClient() {
    if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
  }
  InProcessClient(const InProcessClient&) = delete;
  InProcessClient& operator=(const InProcessClient&) = delete;
  bool up() const { return frame_ != nullptr; }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* me = static_cast<InProcessClient*>(self);
    auto client = clientsim::SimClient::Create(me->options_, GetModuleHandleA(nullptr));
    if (client) me->frame_ = client->frame();
    SetEvent(me->ready_);
    if (!client) return 1;
    return clientsim::PumpClient(*client);
  }

  clientsim::Options options_;
  HANDLE ready_ = nullptr;
  HANDLE thread_ = nullptr;
  HWND frame_ = nullptr;
};

TEST(DiscoveryVersion, MenuBarNamesEveryVersion) {
  for (const char* version : {"5", "4", "3", "2.5"}) {
    SCOPED_TRACE(std::string("version ") + version);
    clientsim::Options options;
    std::string error;
    const char* argv[] = {"clientsim", "--version", version};
    ASSERT_TRUE(clientsim::ParseOptions(3, argv, options, error)) << error;
    InProcessClient client(options);
    ASSERT_TRUE(client.up());
    Win32Platform p;
    EXPECT_EQ(GetAolVersion(p), version);
  }
}

TEST(DiscoveryVersion, FamilyAcrossProcesses) {
  // Under Wine another process's menu bar reads as empty, so each client
  // shows as its family's version without the menu text: "4" or "3".
  struct Case {
    const char* version;
    const char* under_wine;
  };
  const Case cases[] = {{"5", "4"}, {"4", "4"}, {"3", "3"}, {"2.5", "3"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("version ") + c.version);
    TempDir dir;
    SimulatedClient client = SimulatedClient::Start(dir, {"--version", c.version});
    ASSERT_TRUE(client);
    Win32Platform p;
    EXPECT_EQ(GetAolVersion(p), RunningUnderWine() ? c.under_wine : c.version);
  }
}

struct RoomCase {
  const char* name;
  std::vector<std::string> args;
  int expected;  // place among the "AOL Child" windows, topmost first; -1: none
};

TEST(DiscoveryRooms, FindChatRoomPassesOverDecoys) {
  const RoomCase cases[] = {
      {"newer: a first window named AOL... is skipped",
       {"--version", "4", "--decoy", "newer:AOL Lobby", "--room", "Lobby"}, 1},
      {"newer: only the first window is held to the AOL... rule",
       {"--version", "4", "--decoy", "newer:AOL Lobby", "--room", "AOL Lobby"}, 1},
      {"newer: a later AOL Hotline is skipped, AOL Hotline Fans is not",
       {"--version", "4", "--decoy", "newer-partial:Chat", "--decoy", "newer:AOL Hotline",
        "--room", "AOL Hotline Fans"},
       2},
      {"newer: an older-style window is not a newer room",
       {"--version", "4", "--decoy", "older:Town", "--room", "Lobby"}, 1},
      {"newer: no room among the decoys",
       {"--version", "4", "--no-room", "--decoy", "newer:AOL Lobby", "--decoy",
        "newer-partial:Chat"},
       -1},
      {"older: AOL Hotline first is skipped",
       {"--version", "3", "--decoy", "older:AOL Hotline", "--room", "Lobby"}, 1},
      {"older: a first window named AOL... is a room",
       {"--version", "3", "--decoy", "older-partial:Lobby", "--room", "AOL Lounge"}, 1},
      {"older: a newer-style window is not an older room",
       {"--version", "2.5", "--decoy", "newer:Town", "--room", "Lobby"}, 1},
      {"older: no room", {"--version", "3", "--no-room"}, -1},
  };
  for (const RoomCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    SimulatedClient client = SimulatedClient::Start(dir, c.args);
    ASSERT_TRUE(client);
    std::vector<HWND> children = client.Children();
    Win32Platform p;
    Hwnd found = FindChatRoom(p);
    if (c.expected < 0) {
      EXPECT_EQ(found, 0u);
    } else {
      ASSERT_LT(static_cast<std::size_t>(c.expected), children.size());
      EXPECT_EQ(found, FromHwnd(children[c.expected]));
    }
  }
}

TEST(DiscoveryScreenName, ReadFromTheBuddyListCaption) {
  struct Case {
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {{"--buddy", "nightowl's Buddy List"}, "nightowl"},
      {{"--buddy", "'s Buddy List"}, ""},
      {{"--buddy", "night owl's 'best' list"}, "night owl"},
      {{"--buddy", "Buddy List"}, "n/a"},
      {{}, "n/a"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "no buddy list" : c.args[1]);
    TempDir dir;
    SimulatedClient client = SimulatedClient::Start(dir, c.args);
    ASSERT_TRUE(client);
    Win32Platform p;
    EXPECT_EQ(GetAimScreenName(p), c.expected);
  }
}

TEST(DiscoveryNoClient, AnswersForNothingRunning) {
  ASSERT_EQ(FindWindowA(kFrameClass, nullptr), nullptr) << "a client was left running";
  Win32Platform p;
  EXPECT_EQ(GetAolVersion(p), "3");
  EXPECT_EQ(FindChatRoom(p), 0u);
  EXPECT_EQ(FindOldChatRoom(p), 0u);
  EXPECT_EQ(GetAimScreenName(p), "n/a");
}

}  // namespace
}  // namespace wendrel::e2e
