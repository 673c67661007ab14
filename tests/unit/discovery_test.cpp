#include "automation/discovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

TEST(GetAolVersion, TellsTheClientsApart) {
  enum Change { kOwnBar, kBar, kNoBar, kNoKeywordBox };
  struct Case {
    const char* name;
    const char* client;  // nullptr: none runs
    const char* expected;
    Change change = kOwnBar;
    // kBar: a bar of `menus` menus of twelve items, `text` at (menu, item).
    int menus = 0, menu = 0, item = 0;
    std::string text{};
  };
  const std::string whats_new = "&What's New in AOL 5.0";
  const Case cases[] = {
      {"version 5", "5", "5"},
      {"version 4", "4", "4"},
      {"version 3", "3", "3"},
      {"version 2.5", "2.5", "2.5"},
      {"no client", nullptr, "3"},
      {"5.0 text in capitals", "4", "5", kBar, 7, 4, 9, "&WHAT'S NEW IN AOL 5.0"},
      {"5.0 text inside a longer item", "4", "5", kBar, 7, 4, 9, "See &what's new in AOL 5.0 today"},
      {"5.0 text without the ampersand", "5", "4", kBar, 7, 4, 9, "What's New in AOL 5.0"},
      {"5.0 text on the ninth item", "5", "4", kBar, 7, 4, 8, whats_new},
      {"5.0 text in the fourth menu", "5", "4", kBar, 7, 3, 9, whats_new},
      {"newer client with only four menus", "5", "4", kBar, 4, 3, 9, whats_new},
      {"logging in the first of 7 menus", "3", "2.5", kBar, 7, 0, 8, "&LOGGING..."},
      {"logging in the first of 9 menus", "3", "2.5", kBar, 9, 0, 8, "&LOGGING..."},
      {"logging in the second of 9 menus", "3", "3", kBar, 9, 1, 8, "&LOGGING..."},
      {"logging in the first of 8 menus", "2.5", "3", kBar, 8, 0, 8, "&LOGGING..."},
      {"logging in mixed case", "2.5", "2.5", kBar, 8, 1, 8, "&Logging..."},
      {"logging without the ampersand", "2.5", "3", kBar, 8, 1, 8, "LOGGING..."},
      {"logging past the 99th character", "2.5", "3", kBar, 8, 1, 8, std::string(95, 'x') + "&LOGGING..."},
      {"keyword box missing from a newer client", "5", "3", kNoKeywordBox},
      {"client without a menu bar", "2.5", "3", kNoBar},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    d.AddTopLevel("AOL Frame26");  // a frame of no client
    FakeClient client;
    if (c.client) client = d.AddClient(c.client);
    if (c.change == kNoKeywordBox) client.keyword_box().Destroy();
    if (c.change == kNoBar) d.SetWindowMenu(client.frame(), FakeMenu());
    if (c.change == kBar) {
      FakeMenu bar = d.NewMenu();
      unsigned id = 5000;
      for (int m = 0; m < c.menus; ++m) {
        FakeMenu sub = bar.AddSubMenu("&M" + std::to_string(m));
        for (int i = 0; i < 12; ++i) sub.AddItem("&Entry", id++);
        if (m == c.menu) sub.SetItemText(c.item, c.text);
      }
      d.SetWindowMenu(client.frame(), bar);
    }
    EXPECT_EQ(GetAolVersion(d), c.expected) << c.name;
  }
}

// An "AOL Child" to add, in this order: its caption, where it goes, a
// signature control it lacks, and whether it is a room of the client's
// family, of the other family, or a plain window without controls.
enum class Made { kRoom, kOtherFamily, kPlain };
struct RoomToAdd {
  std::string caption;
  Z z = Z::kBottom;
  std::string missing{};
  Made made = Made::kRoom;
};

struct FinderCase {
  const char* name;
  const char* version;
  std::vector<RoomToAdd> rooms;
  int expected;  // index into rooms, -1 for none
};

void CheckFinder(const FinderCase& c, Hwnd (*finder)(Platform&)) {
  FakeDesktop d;
  FakeClient client = d.AddClient(c.version);
  std::vector<Hwnd> handles;
  for (const RoomToAdd& room : c.rooms) {
    FakeWindow window = room.made == Made::kPlain         ? client.AddChildWindow(room.caption, room.z)
                        : room.made == Made::kOtherFamily ? client.AddRoomOfOtherFamily(room.caption, room.z).window
                                                          : client.AddRoom(room.caption, room.z).window;
    while (!room.missing.empty() && window.Child(room.missing)) window.Child(room.missing).Destroy();
    handles.push_back(window.hwnd());
  }
  EXPECT_EQ(finder(d), c.expected < 0 ? 0 : handles[c.expected]) << c.name << " (version " << c.version << ")";
}

TEST(FindChatRoom, CaptionAndSignatureRulesOfTheNewerClients) {
  const RoomToAdd mail{"Mail", Z::kBottom, "", Made::kPlain};
  const FinderCase cases[] = {
      {"one room", "4", {{"Lobby 12"}}, 0},
      {"first candidate starting with AOL is skipped", "5", {{"AOL Rooms"}}, -1},
      {"a later room with the very same caption is taken", "5", {{"AOL Rooms"}, {"AOL Rooms"}}, 1},
      {"first candidate AOL Hotline is skipped", "4", {{"AOL Hotline"}}, -1},
      {"prefix test is case-sensitive", "4", {{"aol rooms"}}, 0},
      {"prefix test needs all three letters", "4", {{"AO"}}, 0},
      {"first candidate is the topmost", "4", {{"Town Square"}, {"Lobby", Z::kTop}}, 1},
      {"a later AOL Hotline is skipped", "4", {mail, {"AOL Hotline"}}, -1},
      {"a later caption that only begins with AOL Hotline is taken", "4", {mail, {"AOL Hotline 2"}}, 1},
      {"a later hotline is passed over for the room after it", "5", {mail, {"AOL Hotline"}, {"Lobby"}}, 2},
      {"first of two rooms in z-order wins", "5", {{"Lobby"}, {"Town Square"}}, 0},
      {"no RICHCNTL", "4", {{"Lobby", Z::kBottom, kRichTextClass}}, -1},
      {"no _AOL_Listbox", "4", {{"Lobby", Z::kBottom, kListboxClass}}, -1},
      {"no _AOL_Icon", "4", {{"Lobby", Z::kBottom, kIconClass}}, -1},
      {"no _AOL_Combobox", "4", {{"Lobby", Z::kBottom, kComboboxClass}}, -1},
      {"a room lacking a control is passed over", "4", {{"Lobby", Z::kBottom, kListboxClass}, {"Town Square"}}, 1},
      {"an older room in a newer client is no room", "5", {{"Lobby", Z::kBottom, "", Made::kOtherFamily}}, -1},
      {"no rooms", "4", {}, -1},
  };
  for (const FinderCase& c : cases) CheckFinder(c, FindChatRoom);
}

TEST(FindChatRoom, CaptionAndSignatureRulesOfTheOlderClients) {
  const FinderCase cases[] = {
      {"one room", "3", {{"Lobby 12"}}, 0},
      {"AOL Hotline first is skipped", "3", {{"AOL Hotline"}, {"Lobby"}}, 1},
      {"AOL Hotline later is skipped", "2.5", {{"Lobby", Z::kBottom, kViewClass}, {"AOL Hotline"}}, -1},
      {"no prefix rule on the first candidate", "2.5", {{"AOL Rooms"}}, 0},
      {"hotline test is exact", "3", {{"AOL Hotline "}}, 0},
      {"no _AOL_View", "3", {{"Lobby", Z::kBottom, kViewClass}}, -1},
      {"no _AOL_Listbox", "3", {{"Lobby", Z::kBottom, kListboxClass}}, -1},
      {"no _AOL_Icon", "2.5", {{"Lobby", Z::kBottom, kIconClass}}, -1},
      {"the input box is no part of the signature", "2.5", {{"Lobby", Z::kBottom, kOldEditClass}}, 0},
      {"a newer room in an older client is no room", "3", {{"Lobby", Z::kBottom, "", Made::kOtherFamily}}, -1},
      {"the topmost of two rooms wins", "3", {{"Lobby"}, {"Town Square", Z::kTop}}, 1},
  };
  for (const FinderCase& c : cases) {
    CheckFinder(c, FindChatRoom);
    CheckFinder(c, FindOldChatRoom);
  }
  // Controls of a room lying about at the top level, with no client, are no
  // room.
  FakeDesktop d;
  for (const char* cls : {kChildClass, kViewClass, kListboxClass, kIconClass}) d.AddTopLevel(cls);
  EXPECT_EQ(FindChatRoom(d), 0u);
  EXPECT_EQ(FindOldChatRoom(d), 0u);
}

TEST(GetAimScreenName, ReadsTheNameBeforeTheFirstApostrophe) {
  const struct {
    const char* name;
    const char* caption;  // nullptr: no buddy list
    const char* expected;
  } cases[] = {
      {"name and rest", "zarnik's Buddy List Window", "zarnik"},
      {"first of two apostrophes", "o'neil's Buddy List", "o"},
      {"caption begins with the apostrophe", "'s Buddy List", ""},
      {"no apostrophe", "Buddy List", "n/a"},
      {"typographic apostrophe is no apostrophe", "zarnik\x92s Buddy List", "n/a"},  // right single quote
      {"empty caption", "", "n/a"},
      {"no buddy list", nullptr, "n/a"},
  };
  for (const auto& c : cases) {
    FakeDesktop d;
    if (c.caption) d.AddBuddyList(c.caption);
    EXPECT_EQ(GetAimScreenName(d), c.expected) << c.name;
  }
}

TEST(GetText, TrustsOnlyWhatTheWindowCopied) {
  // Changes the text once the length has been asked for.
  auto changes_to = [](const char* text) {
    return [text](FakeWindow w) {
      w.OnMessage([w, text](const SentMessage& m) {
        if (m.message == kWmGetTextLength) w.SetText(text);
      });
    };
  };
  const struct {
    const char* name;
    std::function<void(FakeWindow)> fault;
    std::string expected;
  } cases[] = {
      {"truthful", [](FakeWindow) {}, "hello"},
      {"claims more", [](FakeWindow w) { w.ClaimExtraLength(10); }, "hello"},
      {"claims fewer", [](FakeWindow w) { w.ClaimLength(3); }, "hel"},
      {"claims nothing", [](FakeWindow w) { w.ClaimLength(0); }, ""},
      {"claims a negative length", [](FakeWindow w) { w.ClaimLength(-5); }, ""},
      {"claims the largest length",
       [](FakeWindow w) { w.ClaimLength(std::numeric_limits<std::intptr_t>::max()); }, "hello"},
      {"grows between the two messages", changes_to("hello, world"), "hello"},
      {"shrinks between the two messages", changes_to("hi"), "hi"},
      {"hung", [](FakeWindow w) { w.SetHung(true); }, ""},
      {"gone", [](FakeWindow w) { w.Destroy(); }, ""},
  };
  for (const auto& c : cases) {
    FakeDesktop d;
    FakeWindow w = d.AddTopLevel("Edit", "hello");
    c.fault(w);
    const std::string text = GetText(d, w.hwnd());
    EXPECT_EQ(text, c.expected) << c.name;
    EXPECT_EQ(text.find('\0'), std::string::npos) << c.name << ": no padding";
  }
  FakeDesktop d;
  EXPECT_EQ(GetText(d, d.AddTopLevel("Edit", std::string(100000, 'a')).hwnd()).size(), 64u * 1024u);
  EXPECT_EQ(GetText(d, 0), "");
}

}  // namespace
}  // namespace wendrel
