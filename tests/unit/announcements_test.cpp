#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/announcements.h"
#include "automation/client_contract.h"
#include "automation/fake_desktop.h"
#include "tests/unit/app_world.h"

namespace wendrel {
namespace {

using Lines = std::vector<std::string>;

TEST(Announcements, LineCompositions) {
  struct Case {
    const char* name;
    std::string got;
    std::string want;
  };
  const Case cases[] = {
      // middle dot, e grave, i diaeresis
      {"banner", BannerLine(), "\xB7 w\xE8ndrel \xEF" "dler by: zarnik"},
      {"start line", IdleStartLine("nightowl", "owl99"),
       "\xB7 nightowl: has started idle., aim: owl99"},
      {"running time", IdleTimeLine("nightowl", kRunningVerb, "0", "2", "15"),
       "\xB7 nightowl: has been idle 0/d 2/h 15/m"},
      {"final time", IdleTimeLine("nightowl", kFinalVerb, "1", "0", "0"),
       "\xB7 nightowl: was idle for 1/d 0/h 0/m"},
      {"handle of two blanks", IdleStartLine("  ", "n/a"), "\xB7   : has started idle., aim: n/a"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.name;
}

// The screen name is read first, once; a client that quits meanwhile is
// not there for the version.
TEST(Announcements, ClientInfoLine) {
  struct Case {
    const char* name;
    const char* version;     // nullptr: no client runs
    const char* buddy_list;  // nullptr: no AIM client runs
    bool quits_on_read;      // the client quits while the buddy list is read
    std::string want;
  };
  const Case cases[] = {
      {"newest client, no AIM", "5", nullptr, false, "\xB7 aim: n/a aol: 5"},
      {"screen name before the apostrophe", "4", "owl99's Buddy List", false, "\xB7 aim: owl99 aol: 4"},
      {"older client", "2.5", "owl99's Buddy List", false, "\xB7 aim: owl99 aol: 2.5"},
      {"no client at all", nullptr, nullptr, false, "\xB7 aim: n/a aol: 3"},
      {"the client quits as the name is read", "5", "owl99's Buddy List", true, "\xB7 aim: owl99 aol: 3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    FakeClient client;
    if (c.version) client = d.AddClient(c.version);
    FakeWindow buddy;
    if (c.buddy_list) buddy = d.AddBuddyList(c.buddy_list);
    if (c.quits_on_read) buddy.OnMessage([client](const SentMessage&) { client.Close(); });
    EXPECT_EQ(ClientInfoLine(d), c.want);
    int length_reads = 0;
    for (const SentMessage& m : buddy.Messages()) length_reads += m.message == kWmGetTextLength;
    EXPECT_EQ(length_reads, c.buddy_list ? 1 : 0);
  }
}

// A stored handle is used as it is; without one the prompt asks, stores the
// answer as typed and posts the banner and the status, and the next call
// finds it. A cancelled prompt stores nothing and asks again next time.
TEST(Announcements, EnsureHandle) {
  struct Case {
    const char* name;
    std::string stored;
    Lines answers;
    const char* status;
    std::string want_store;  // in the settings store afterwards
    Lines want_lines;
  };
  const std::string banner = BannerLine();
  const Case cases[] = {
      {"stored", "nightowl", {}, kActiveStatus, "nightowl", {}},
      {"stored two blanks", "  ", {}, kActiveStatus, "  ", {}},
      {"answered, active", "", {"nightowl"}, kActiveStatus, "nightowl", {banner, "\xB7 now active., id: nightowl"}},
      {"answered, inactive", "", {"nightowl"}, kInactiveStatus, "nightowl",
       {banner, "\xB7 now unactive., id: nightowl"}},
      {"answered two blanks", "", {"  "}, kActiveStatus, "  ", {banner, "\xB7 now active., id:   "}},
      {"answered as typed", "", {" Night Owl "}, kActiveStatus, " Night Owl ",
       {banner, "\xB7 now active., id:  Night Owl "}},
      {"cancelled", "", {}, kActiveStatus, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AppWorld w(c.stored, c.answers);
    const HandleCheck first = EnsureHandle(w.services, c.status);
    EXPECT_EQ(first.stored, !c.stored.empty());
    EXPECT_EQ(first.handle, c.stored);
    EXPECT_EQ(w.store.handle(), c.want_store);
    EXPECT_EQ(w.store.writes, c.want_store != c.stored ? 1 : 0);
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines));
    const HandleCheck second = EnsureHandle(w.services, c.status);
    EXPECT_EQ(second.stored, !c.want_store.empty());
    EXPECT_EQ(second.handle, c.want_store);
    EXPECT_EQ(w.prompt.calls, (c.stored.empty() ? 1 : 0) + (c.want_store.empty() ? 1 : 0));
    if (w.prompt.calls > 0) {
      EXPECT_EQ(w.prompt.last_text, "please enter your handle in the text field below");
      EXPECT_EQ(w.prompt.last_title, "wendrel idler");
    }
  }
}

}  // namespace
}  // namespace wendrel
