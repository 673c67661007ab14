// Private room entry end to end: the keyword route of each family, the
// client's answer (a room or its error dialog) and the outcome line.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "automation/client_contract.h"
#include "automation/private_room.h"
#include "automation/text_styles.h"
#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

constexpr char kStyleSettings[] = "[zq7]\r\nascii=--\r\nascii color=FF0000\r\ntext color=0000FF\r\n";
constexpr char kNewerPrefix[] = "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";

struct EntryCase {
  std::string name;
  std::vector<std::string> args;
  std::vector<std::string> icons;    // toolbar clicks, older clients
  std::vector<std::string> opened;   // rooms the client opened
  std::vector<std::string> closed;   // dialog messages closed
  std::vector<std::string> chat;
};

TEST(PrivateRoomEntry, OutcomesOfEachFamily) {
  const std::string room = "Night Owls";
  const std::string entered = BoldWordStarts("\xB7 zarnik has entered.");
  const std::string full = "The room you requested is full.";
  const std::string full_line = BoldWordStarts("\xB7 zarnik  can't enter night owls \xB7" "full.");
  const std::string error = "An Error occurred, please try again.";
  const std::string error_line = BoldWordStarts("\xB7 zarnik can't enter night owls \xB7 error.");
  const std::string banned = "That name is not allowed.";
  const std::string banned_line = BoldWordStarts("\xB7 zarnik can't enter night owls \xB7 banned.");
  const std::string invalid = "Invalid room name.";
  const std::string invalid_line =
      BoldWordStarts("\xB7 zarnik  can't enter night owls \xB7 invalid.");
  std::vector<EntryCase> cases = {
      {"newer client, the room opens a moment later",
       {"--version", "4", "--pr-delay", "300"}, {}, {"NightOwls"}, {}, {kNewerPrefix + entered}},
      {"older client, through the Keyword window",
       {"--version", "3", "--pr-delay", "300"}, {"18"}, {"NightOwls"}, {}, {"--" + entered}},
      {"newer client, room full, message filled in late",
       {"--version", "4", "--pr-error", full, "--pr-error-delay", "300"}, {}, {}, {full},
       {kNewerPrefix + full_line}},
      {"a message of no known kind is left to the user",
       {"--version", "4", "--pr-error", "Please hold."}, {}, {}, {}, {}},
  };
  // Every answer of the client's dialog, on each family.
  const std::pair<std::string, std::string> answers[] = {
      {full, full_line}, {error, error_line}, {banned, banned_line}, {invalid, invalid_line}};
  for (const auto& [message, line] : answers) {
    cases.push_back({"newer client: " + message, {"--version", "4", "--pr-error", message}, {},
                     {}, {message}, {kNewerPrefix + line}});
    cases.push_back({"older client: " + message, {"--version", "3", "--pr-error", message},
                     {"18"}, {}, {message}, {"--" + line}});
  }
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.Write("zq7.ini", kStyleSettings);
    SimulatedClient client = SimulatedClient::Start(dir, c.args);
    ASSERT_TRUE(client);
    TestPlatform p(dir.path());
    EnterPrivateRoom(p, room);
    const Transcript& t = client.transcript();
    EXPECT_EQ(t.Payloads("keyword"), std::vector<std::string>{"aol://2719:2-2-NightOwls"});
    EXPECT_EQ(t.Payloads("icon"), c.icons);
    EXPECT_EQ(t.Payloads("room-opened"), c.opened);
    if (!c.closed.empty()) {
      EXPECT_TRUE(t.WaitFor("dialog-closed", c.closed.size(), 5000));
    }
    EXPECT_EQ(t.Payloads("dialog-closed"), c.closed);
    EXPECT_EQ(client.Chat(), c.chat);
  }
}

TEST(PrivateRoomEntry, AlreadyInTheRoomDoesNothing) {
  TempDir dir;
  SimulatedClient client = SimulatedClient::Start(dir, {"--version", "4", "--room", "Night Owls"});
  ASSERT_TRUE(client);
  TestPlatform p(dir.path());
  EnterPrivateRoom(p, "nightowls");
  EXPECT_EQ(client.transcript().Records().size(), 1u);  // "ready" alone
}

}  // namespace
}  // namespace wendrel::e2e
