#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/announcements.h"
#include "automation/client_contract.h"
#include "automation/fake_desktop.h"
#include "tests/unit/app_world.h"

namespace wendrel {
namespace {

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

TEST(Announcements, ClientInfoLine) {
  struct Case {
    const char* name;
    const char* version;  // nullptr: no client runs
    const char* buddy_list;  // nullptr: no AIM client runs
    std::string want;
  };
  const Case cases[] = {
      {"newest client, no AIM", "5", nullptr, "\xB7 aim: n/a aol: 5"},
      {"screen name before the apostrophe", "4", "owl99's Buddy List", "\xB7 aim: owl99 aol: 4"},
      {"older client", "2.5", "owl99's Buddy List", "\xB7 aim: owl99 aol: 2.5"},
      {"no client at all", nullptr, nullptr, "\xB7 aim: n/a aol: 3"},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    if (c.version) d.AddClient(c.version);
    if (c.buddy_list) d.AddBuddyList(c.buddy_list);
    EXPECT_EQ(ClientInfoLine(d), c.want) << c.name;
  }
}

TEST(Announcements, ClientInfoAsksForTheScreenNameFirstAndOnce) {
  FakeDesktop d;
  FakeClient client = d.AddClient("5");
  FakeWindow buddy = d.AddBuddyList("owl99's Buddy List");
  // The client goes away while the buddy list is read: a version asked for
  // afterwards finds no client.
  buddy.OnMessage([client](const SentMessage&) { client.Close(); });
  EXPECT_EQ(ClientInfoLine(d), "\xB7 aim: owl99 aol: 3");
  int length_reads = 0;
  for (const SentMessage& m : buddy.Messages()) length_reads += m.message == kWmGetTextLength;
  EXPECT_EQ(length_reads, 1);
}

TEST(Announcements, EnsureHandle) {
  struct Case {
    const char* name;
    std::string stored;
    std::vector<std::string> answers;
    const char* status;
    bool want_stored;
    std::string want_handle;  // returned
    std::string want_store;   // in the settings store afterwards
    int want_prompts;
    std::vector<std::string> want_lines;
  };
  const std::string banner = BannerLine();
  const Case cases[] = {
      {"stored", "nightowl", {}, kActiveStatus, true, "nightowl", "nightowl", 0, {}},
      {"stored two blanks", "  ", {}, kActiveStatus, true, "  ", "  ", 0, {}},
      {"answered, active", "", {"nightowl"}, kActiveStatus, false, "", "nightowl", 1,
       {banner, "\xB7 now active., id: nightowl"}},
      {"answered, inactive", "", {"nightowl"}, kInactiveStatus, false, "", "nightowl", 1,
       {banner, "\xB7 now unactive., id: nightowl"}},
      {"answered two blanks", "", {"  "}, kActiveStatus, false, "", "  ", 1,
       {banner, "\xB7 now active., id:   "}},
      {"answered as typed", "", {" Night Owl "}, kActiveStatus, false, "", " Night Owl ", 1,
       {banner, "\xB7 now active., id:  Night Owl "}},
      {"cancelled", "", {}, kActiveStatus, false, "", "", 1, {}},
  };
  for (const Case& c : cases) {
    AppWorld w(c.stored, c.answers);
    const HandleCheck check = EnsureHandle(w.services, c.status);
    EXPECT_EQ(check.stored, c.want_stored) << c.name;
    EXPECT_EQ(check.handle, c.want_handle) << c.name;
    EXPECT_EQ(w.store.handle(), c.want_store) << c.name;
    EXPECT_EQ(w.store.writes, c.want_store != c.stored ? 1 : 0) << c.name;
    EXPECT_EQ(w.prompt.calls, c.want_prompts) << c.name;
    EXPECT_EQ(w.Posted(), Bolded(c.want_lines)) << c.name;
    if (c.want_prompts > 0) {
      EXPECT_EQ(w.prompt.last_text, "please enter your handle in the text field below") << c.name;
      EXPECT_EQ(w.prompt.last_title, "wendrel idler") << c.name;
    }
  }
}

TEST(Announcements, CancelledPromptAsksAgainNextTime) {
  AppWorld w("", {"", "nightowl"});
  EXPECT_FALSE(EnsureHandle(w.services, kInactiveStatus).stored);
  EXPECT_FALSE(EnsureHandle(w.services, kInactiveStatus).stored);
  const HandleCheck third = EnsureHandle(w.services, kInactiveStatus);
  EXPECT_TRUE(third.stored);
  EXPECT_EQ(third.handle, "nightowl");
  EXPECT_EQ(w.prompt.calls, 2);
  EXPECT_EQ(w.Posted(), Bolded({BannerLine(), "\xB7 now unactive., id: nightowl"}));
}

TEST(Announcements, AnnounceBoldsThenSends) {
  AppWorld w("nightowl");
  Announce(w.services, "\xB7 now active., id: nightowl");
  Announce(w.services, BannerLine());
  EXPECT_EQ(w.Posted(), (std::vector<std::string>{
                            "<b>\xB7</b> <b>n</b>ow <b>a</b>ctive., <b>i</b>d: <b>n</b>ightowl",
                            "<b>\xB7</b> <b>w</b>\xE8ndrel <b>\xEF</b>" "dler <b>b</b>y: <b>z</b>arnik",
                        }));
}

}  // namespace
}  // namespace wendrel
