#include "automation/discovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

// Gives the client a fresh menu bar of `menus` menus of twelve items, with
// `text` as the item at (`menu`, `item`).
void ReplaceMenuBar(FakeDesktop& d, const FakeClient& client, int menus, int menu, int item,
                    const std::string& text) {
  FakeMenu bar = d.NewMenu();
  unsigned id = 5000;
  for (int m = 0; m < menus; ++m) {
    FakeMenu sub = bar.AddSubMenu("&M" + std::to_string(m));
    for (int i = 0; i < 12; ++i) sub.AddItem("&Entry", id++);
    if (m == menu) sub.SetItemText(item, text);
  }
  d.SetWindowMenu(client.frame(), bar);
}

TEST(GetAolVersion, TellsTheClientsApart) {
  struct Case {
    const char* name;
    std::function<void(FakeDesktop&)> setup;
    const char* expected;
  };
  const Case cases[] = {
      {"version 5", [](FakeDesktop& d) { d.AddClient("5"); }, "5"},
      {"version 4", [](FakeDesktop& d) { d.AddClient("4"); }, "4"},
      {"version 3", [](FakeDesktop& d) { d.AddClient("3"); }, "3"},
      {"version 2.5", [](FakeDesktop& d) { d.AddClient("2.5"); }, "2.5"},
      {"no client", [](FakeDesktop&) {}, "3"},
      {"a window that is no client", [](FakeDesktop& d) { d.AddTopLevel("AOL Frame26"); }, "3"},
      {"5.0 text in capitals",
       [](FakeDesktop& d) {
         ReplaceMenuBar(d, d.AddClient("4"), 7, 4, 9, "&WHAT'S NEW IN AOL 5.0");
       },
       "5"},
      {"5.0 text inside a longer item",
       [](FakeDesktop& d) {
         ReplaceMenuBar(d, d.AddClient("4"), 7, 4, 9, "See &what's new in AOL 5.0 today");
       },
       "5"},
      {"5.0 text without the ampersand",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("5"), 7, 4, 9, "What's New in AOL 5.0"); },
       "4"},
      {"5.0 text on the ninth item",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("5"), 7, 4, 8, "&What's New in AOL 5.0"); },
       "4"},
      {"5.0 text in the fourth menu",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("5"), 7, 3, 9, "&What's New in AOL 5.0"); },
       "4"},
      {"newer client with only four menus",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("5"), 4, 3, 9, "&What's New in AOL 5.0"); },
       "4"},
      {"logging in the first of 7 menus",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("3"), 7, 0, 8, "&LOGGING..."); },
       "2.5"},
      {"logging in the first of 9 menus",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("3"), 9, 0, 8, "&LOGGING..."); },
       "2.5"},
      {"logging in the second of 9 menus",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("3"), 9, 1, 8, "&LOGGING..."); },
       "3"},
      {"logging in the first of 8 menus",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("2.5"), 8, 0, 8, "&LOGGING..."); },
       "3"},
      {"logging in mixed case",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("2.5"), 8, 1, 8, "&Logging..."); },
       "2.5"},
      {"logging without the ampersand",
       [](FakeDesktop& d) { ReplaceMenuBar(d, d.AddClient("2.5"), 8, 1, 8, "LOGGING..."); },
       "3"},
      {"logging past the 99th character",
       [](FakeDesktop& d) {
         ReplaceMenuBar(d, d.AddClient("2.5"), 8, 1, 8, std::string(95, 'x') + "&LOGGING...");
       },
       "3"},
      {"keyword box missing from a newer client",
       [](FakeDesktop& d) { d.AddClient("5").keyword_box().Destroy(); }, "3"},
      {"client without a menu bar",
       [](FakeDesktop& d) { d.SetWindowMenu(d.AddClient("2.5").frame(), FakeMenu()); }, "3"},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    c.setup(d);
    EXPECT_EQ(GetAolVersion(d), c.expected) << c.name;
  }
}

enum class Made { kRoom, kOtherFamily, kPlain };

// An "AOL Child" to add: its caption, where it goes, a signature control it
// lacks ("" for none), and whether it is a room of the client's family, of
// the other family, or a plain window without controls.
struct RoomToAdd {
  RoomToAdd(const char* caption, Z z = Z::kBottom, const char* missing = "", Made made = Made::kRoom)
      : caption(caption), z(z), missing(missing), made(made) {}
  std::string caption;
  Z z;
  std::string missing;
  Made made;
};

struct FinderCase {
  const char* name;
  const char* version;
  std::vector<RoomToAdd> rooms;  // added in this order
  int expected;                 // index into rooms, -1 for none
};

void CheckFinder(const FinderCase& c, Hwnd (*finder)(Platform&)) {
  FakeDesktop d;
  FakeClient client = d.AddClient(c.version);
  std::vector<Hwnd> handles;
  for (const RoomToAdd& room : c.rooms) {
    FakeWindow window;
    if (room.made == Made::kPlain) {
      window = client.AddChildWindow(room.caption, room.z);
    } else if (room.made == Made::kOtherFamily) {
      window = client.AddRoomOfOtherFamily(room.caption, room.z).window;
    } else {
      window = client.AddRoom(room.caption, room.z).window;
    }
    while (!room.missing.empty() && window.Child(room.missing)) window.Child(room.missing).Destroy();
    handles.push_back(window.hwnd());
  }
  const Hwnd expected = c.expected < 0 ? 0 : handles[c.expected];
  EXPECT_EQ(finder(d), expected) << c.name << " (version " << c.version << ")";
}

TEST(FindChatRoom, CaptionAndSignatureRulesOfTheNewerClients) {
  const FinderCase cases[] = {
      {"one room", "4", {{"Lobby 12"}}, 0},
      {"first candidate starting with AOL is skipped", "5", {{"AOL Rooms"}}, -1},
      {"a later room with the very same caption is taken", "5", {{"AOL Rooms"}, {"AOL Rooms"}}, 1},
      {"first candidate AOL Hotline is skipped", "4", {{"AOL Hotline"}}, -1},
      {"prefix test is case-sensitive", "4", {{"aol rooms"}}, 0},
      {"prefix test needs all three letters", "4", {{"AO"}}, 0},
      {"first candidate is the topmost", "4", {{"Town Square"}, {"Lobby", Z::kTop}}, 1},
      {"a later AOL Hotline is skipped", "4", {{"Welcome", Z::kBottom, "", Made::kPlain}, {"AOL Hotline"}}, -1},
      {"a later caption that only begins with AOL Hotline is taken", "4",
       {{"Welcome", Z::kBottom, "", Made::kPlain}, {"AOL Hotline 2"}}, 1},
      {"a later hotline is passed over for the room after it", "5",
       {{"Mail", Z::kBottom, "", Made::kPlain}, {"AOL Hotline"}, {"Lobby"}}, 2},
      {"first of two rooms in z-order wins", "5", {{"Lobby"}, {"Town Square"}}, 0},
      {"no RICHCNTL", "4", {{"Lobby", Z::kBottom, kRichTextClass}}, -1},
      {"no _AOL_Listbox", "4", {{"Lobby", Z::kBottom, kListboxClass}}, -1},
      {"no _AOL_Icon", "4", {{"Lobby", Z::kBottom, kIconClass}}, -1},
      {"no _AOL_Combobox", "4", {{"Lobby", Z::kBottom, kComboboxClass}}, -1},
      {"a room lacking a control is passed over", "4",
       {{"Lobby", Z::kBottom, kListboxClass}, {"Town Square"}}, 1},
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
}

TEST(FindChatRoom, NoClientFindsNothing) {
  FakeDesktop d;
  // Controls of a room lying about at the top level are no room.
  for (const char* cls : {kChildClass, kViewClass, kListboxClass, kIconClass}) d.AddTopLevel(cls);
  EXPECT_EQ(FindChatRoom(d), 0u);
  EXPECT_EQ(FindOldChatRoom(d), 0u);
}

TEST(GetAimScreenName, ReadsTheNameBeforeTheFirstApostrophe) {
  struct Case {
    const char* name;
    const char* caption;  // nullptr: no buddy list
    const char* expected;
  };
  const Case cases[] = {
      {"name and rest", "zarnik's Buddy List Window", "zarnik"},
      {"first of two apostrophes", "o'neil's Buddy List", "o"},
      {"caption begins with the apostrophe", "'s Buddy List", ""},
      {"no apostrophe", "Buddy List", "n/a"},
      {"typographic apostrophe is no apostrophe", "zarnik\x92s Buddy List", "n/a"},  // right single quote
      {"empty caption", "", "n/a"},
      {"no buddy list", nullptr, "n/a"},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    if (c.caption) d.AddBuddyList(c.caption);
    EXPECT_EQ(GetAimScreenName(d), c.expected) << c.name;
  }
}

TEST(GetText, TrustsOnlyWhatTheWindowCopied) {
  struct Case {
    const char* name;
    std::function<void(FakeWindow)> fault;
    std::string expected;
  };
  const Case cases[] = {
      {"truthful", [](FakeWindow) {}, "hello"},
      {"claims more", [](FakeWindow w) { w.ClaimExtraLength(10); }, "hello"},
      {"claims fewer", [](FakeWindow w) { w.ClaimLength(3); }, "hel"},
      {"claims nothing", [](FakeWindow w) { w.ClaimLength(0); }, ""},
      {"claims a negative length", [](FakeWindow w) { w.ClaimLength(-5); }, ""},
      {"claims the largest length",
       [](FakeWindow w) { w.ClaimLength(std::numeric_limits<std::intptr_t>::max()); }, "hello"},
      {"grows between the two messages",
       [](FakeWindow w) {
         w.OnMessage([w](const SentMessage& m) {
           if (m.message == kWmGetTextLength) w.SetText("hello, world");
         });
       },
       "hello"},
      {"shrinks between the two messages",
       [](FakeWindow w) {
         w.OnMessage([w](const SentMessage& m) {
           if (m.message == kWmGetTextLength) w.SetText("hi");
         });
       },
       "hi"},
      {"hung", [](FakeWindow w) { w.SetHung(true); }, ""},
      {"gone", [](FakeWindow w) { w.Destroy(); }, ""},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    FakeWindow w = d.AddTopLevel("Edit", "hello");
    c.fault(w);
    const std::string text = GetText(d, w.hwnd());
    EXPECT_EQ(text, c.expected) << c.name;
    EXPECT_EQ(text.find('\0'), std::string::npos) << c.name << ": no padding";
  }
}

TEST(GetText, CapsAbsurdLengths) {
  FakeDesktop d;
  FakeWindow w = d.AddTopLevel("Edit", std::string(100000, 'a'));
  EXPECT_EQ(GetText(d, w.hwnd()).size(), 64u * 1024u);
  EXPECT_EQ(GetText(d, 0), "");
}

}  // namespace
}  // namespace wendrel
