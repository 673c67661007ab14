#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"
#include "automation/private_room.h"
#include "automation/text_styles.h"

namespace wendrel {
namespace {

const char* const kVersions[] = {"5", "4", "3", "2.5"};

// What the newer clients' rooms receive in front of every line when there is
// no settings file.
const char kNewerMarkup[] = "</html><font face=\"arial\" color=#><font color=#>";

bool IsNewer(const std::string& version) { return version == "4" || version == "5"; }

// What the room receives for one of our lines, as it appears there.
std::string Posted(const std::string& version, const std::string& line) {
  return (IsNewer(version) ? kNewerMarkup : "") + BoldWordStarts(line);
}

// A client with the room "Lobby 12" open whose keyword facility works on
// every route; what the client does with an address is up to the test.
struct Scene {
  FakeDesktop d;
  FakeClient client;
  FakeRoom lobby;

  explicit Scene(const std::string& version) {
    client = d.AddClient(version);
    lobby = client.AddRoom("Lobby 12");
    if (!client.newer()) client.OpenKeywordWindowOnIcon();
  }
  void OnAddress(std::function<void()> fn) {
    client.OnKeyword([fn](const std::string&) { fn(); });
  }
  void OpensRoom(const std::string& caption, std::uint64_t delay_ms = 0) {
    OnAddress([this, caption, delay_ms] {
      d.After(delay_ms, [this, caption] { client.AddRoom(caption, Z::kTop); });
    });
  }
  void ShowsDialog(const std::string& message) {
    OnAddress([this, message] { d.AddErrorDialog(message); });
  }
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    for (const ChatLine& line : d.Transcript()) lines.push_back(line.text);
    return lines;
  }
};

std::string Describe(const SentMessage& m) {
  switch (m.message) {
    case kWmSetText: return "settext " + m.text;
    case kWmChar: return "char " + std::to_string(m.wparam);
    case kWmLButtonDown: return "down";
    case kWmLButtonUp: return "up";
    case kWmKeyDown: return (m.posted ? "posted keydown " : "keydown ") + std::to_string(m.wparam);
    case kWmKeyUp: return (m.posted ? "posted keyup " : "keyup ") + std::to_string(m.wparam);
    default: return "other";
  }
}

// The messages, except text reads, that windows of one class received.
std::vector<std::string> ActionsOn(FakeDesktop& d, const std::string& cls) {
  std::vector<std::string> out;
  for (const SentMessage& m : d.Messages()) {
    if (m.message == kWmGetText || m.message == kWmGetTextLength) continue;
    if (d.Window(m.hwnd).Class() == cls) out.push_back(Describe(m));
  }
  return out;
}

TEST(PrivateRoom, RemoveSpaces) {
  const struct {
    const char* name;
    std::string in, out;
  } cases[] = {
      {"empty", "", ""},
      {"only spaces", "    ", ""},
      {"between words", "My Room", "MyRoom"},
      {"runs and ends", "  a  b  ", "ab"},
      {"tab and no-break space stay", "a\tb\xA0" "c", "a\tb\xA0" "c"},  // 0xA0 no-break space
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveSpaces(c.in), c.out) << c.name;
}

TEST(PrivateRoom, OutcomeLinesOnEveryVersion) {
  const struct {
    const char* name;
    const char* message;  // nullptr: the room opens
    std::string line;
  } cases[] = {
      {"entered", nullptr, "\xB7 zarnik has entered."},
      {"full", "Sorry, the room you requested is full.",
       "\xB7 zarnik  can't enter my room \xB7" "full."},
      {"error", "An error occurred.", "\xB7 zarnik can't enter my room \xB7 error."},
      {"banned", "That room name is not allowed.", "\xB7 zarnik can't enter my room \xB7 banned."},
      {"invalid", "Invalid room name.", "\xB7 zarnik  can't enter my room \xB7 invalid."},
  };
  for (const char* version : kVersions) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      Scene s(version);
      if (c.message) {
        s.ShowsDialog(c.message);
      } else {
        s.OpensRoom("My Room", 1500);
      }
      EnterPrivateRoom(s.d, "My Room");

      ASSERT_EQ(s.Lines(), std::vector<std::string>{Posted(version, c.line)});
      if (!c.message) {
        EXPECT_NE(s.d.Transcript()[0].room, s.lobby.window.hwnd()) << "posted in the new room";
        EXPECT_TRUE(s.d.ClosedDialogs().empty());
        continue;
      }
      EXPECT_EQ(s.d.ClosedDialogs(), std::vector<std::string>{c.message});
      EXPECT_EQ(ActionsOn(s.d, kButtonClass),
                (std::vector<std::string>{"posted keydown 32", "posted keyup 32"}));
      // The dialog is closed before the line is typed.
      std::size_t key = 0, line = 0;
      for (std::size_t i = 0; i < s.d.Messages().size(); ++i) {
        const SentMessage& m = s.d.Messages()[i];
        if (m.message == kWmKeyUp && key == 0) key = i;
        if (m.hwnd == s.lobby.input.hwnd() && m.message == kWmSetText && line == 0) line = i;
      }
      EXPECT_LT(key, line);
    }
  }
}

TEST(PrivateRoom, LineIsBoldedOnce) {
  Scene s("4");
  s.ShowsDialog("The room you requested is full.");
  EnterPrivateRoom(s.d, "My Room");
  EXPECT_EQ(s.Lines(), std::vector<std::string>{
                           std::string(kNewerMarkup) +
                           "<b>\xB7</b> <b>z</b>arnik <b> </b>can't <b>e</b>nter <b>m</b>y "
                           "<b>r</b>oom <b>\xB7</b>full."});
}

TEST(PrivateRoom, ClassificationOrder) {
  const char* const kNone = "";
  const struct {
    const char* name;
    const char* message;
    const char* tail;  // kNone: left open, nothing posted
  } cases[] = {
      {"full wins over error", "An error: the room you requested is full", " \xB7" "full."},
      {"error in capitals", "ERROR 42", " \xB7 error."},
      {"Error wins over not allowed", "Error: name is not allowed", " \xB7 error."},
      {"error wins over Invalid", "Invalid room (error)", " \xB7 error."},
      {"error inside a word", "terrorist", " \xB7 error."},
      {"not allowed wins over Invalid", "Invalid: name is not allowed", " \xB7 banned."},
      {"Invalid", "Invalid name", " \xB7 invalid."},
      {"lower-case invalid", "invalid name", kNone},
      {"full is case-sensitive", "The room You Requested Is Full", kNone},
      {"not allowed is case-sensitive", "Name Is Not Allowed", kNone},
      {"unknown message", "Please try again later.", kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene s("4");
    s.ShowsDialog(c.message);
    const std::uint64_t start = s.d.NowMs();
    EnterPrivateRoom(s.d, "Den");
    EXPECT_EQ(s.d.NowMs(), start) << "the dialog ends the wait at the first pass";
    if (std::string(c.tail).empty()) {
      EXPECT_TRUE(s.Lines().empty());
      EXPECT_TRUE(ActionsOn(s.d, kButtonClass).empty());
      EXPECT_TRUE(s.d.FindWindowA(kDialogClass, kErrorDialogCaption) != 0) << "left open";
      continue;
    }
    const bool two_spaces = std::string(c.tail) == " \xB7" "full." ||
                            std::string(c.tail) == " \xB7 invalid.";
    const std::string head = two_spaces ? "\xB7 zarnik  can't enter " : "\xB7 zarnik can't enter ";
    EXPECT_EQ(s.Lines(), std::vector<std::string>{Posted("4", head + "den" + c.tail)});
    EXPECT_EQ(s.d.ClosedDialogs(), std::vector<std::string>{c.message});
  }
}

TEST(PrivateRoom, DialogWithoutMessageIsWaitedFor) {
  for (const char* version : {"4", "2.5"}) {
    SCOPED_TRACE(version);
    Scene s(version);
    FakeDialog dialog;
    s.OnAddress([&] {
      dialog = s.d.AddErrorDialog("");
      s.d.After(4000, [&] { dialog.message.SetText("Invalid room name."); });
    });
    const std::uint64_t start = s.d.NowMs();
    EnterPrivateRoom(s.d, "Den");
    EXPECT_GE(s.d.NowMs() - start, 4000u);
    EXPECT_EQ(s.Lines(), std::vector<std::string>{
                             Posted(version, "\xB7 zarnik  can't enter den \xB7 invalid.")});
    EXPECT_FALSE(dialog.window.Alive());
  }

  // One that never gets its message is given up on with the room wait.
  Scene s("4");
  s.ShowsDialog("");
  EnterPrivateRoom(s.d, "Den");
  EXPECT_TRUE(s.Lines().empty());
  EXPECT_TRUE(ActionsOn(s.d, kButtonClass).empty());
}

TEST(PrivateRoom, AlreadyInTheRoom) {
  const struct {
    const char* name;
    const char* caption;
    const char* room;
    bool there;
  } cases[] = {
      {"letter case", "Lobby 12", "LOBBY 12", true},
      {"spaces in the name", "Lobby 12", " Lob by12 ", true},
      {"spaces in the caption", "My  Room ", "myroom", true},
      {"Latin letters", "Caf\xC9", "caf\xE9", true},  // E acute, e acute
      {"another number", "Lobby 12", "Lobby 13", false},
      {"a tab is no space", "Lobby 12", "Lobby\t12", false},
  };
  for (const char* version : {"4", "3"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      FakeDesktop d;
      FakeClient client = d.AddClient(version);
      client.AddRoom(c.caption);
      if (!client.newer()) client.OpenKeywordWindowOnIcon();
      EnterPrivateRoom(d, c.room);
      EXPECT_EQ(d.Keywords().empty(), c.there);
      if (c.there) {
        EXPECT_EQ(d.DoEventsCalls(), 0);
        EXPECT_TRUE(d.Transcript().empty());
      }
    }
  }
}

TEST(PrivateRoom, KeywordRoutes) {
  const struct {
    const char* version;
    int icon;  // 0: no icon is clicked
    const char* box;
    std::vector<std::string> typed;
    const char* recorded;
  } cases[] = {
      {"5", 0, kEditClass, {"settext aol://x", "char 32", "char 13"}, "aol://x "},
      {"4", 0, kEditClass, {"settext aol://x", "char 32", "char 13"}, "aol://x "},
      {"3", 18, kOldEditClass, {"settext aol://x", "char 13"}, "aol://x"},
      {"2.5", 13, kOldEditClass, {"settext aol://x", "char 13"}, "aol://x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    FakeDesktop d;
    FakeClient client = d.AddClient(c.version);
    if (!client.newer()) client.OpenKeywordWindowOnIcon(2500);
    Keyword(d, "aol://x");

    EXPECT_EQ(ActionsOn(d, c.box), c.typed);
    EXPECT_EQ(d.Keywords(), std::vector<std::string>{c.recorded});
    const std::vector<std::string> clicks = ActionsOn(d, kIconClass);
    if (c.icon == 0) {
      EXPECT_TRUE(clicks.empty());
      continue;
    }
    EXPECT_EQ(clicks, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(client.Icon(c.icon).Messages().size(), 2u) << "the right icon";
    for (const SentMessage& m : d.Messages()) EXPECT_FALSE(m.posted) << Describe(m);
  }
}

TEST(PrivateRoom, AddressHasNoSpacesLineKeepsThem) {
  const std::string long_name = std::string(2000, 'a') + " " + std::string(2000, 'B');
  const struct {
    const char* name;
    std::string room, address, shown;
  } cases[] = {
      {"two words", "My Room", "MyRoom", "my room"},
      {"spaces around", "  Den  ", "Den", "  den  "},
      // E acute, S caron, Y diaeresis; their small letters
      {"Windows-1252 letters", "Caf\xC9 \x8A\x9F", "Caf\xC9\x8A\x9F", "caf\xE9 \x9A\xFF"},
      {"unmappable characters", "R??m ?", "R??m?", "r??m ?"},
      {"long", long_name, std::string(2000, 'a') + std::string(2000, 'B'),
       std::string(2000, 'a') + " " + std::string(2000, 'b')},
  };
  for (const char* version : {"4", "2.5"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      Scene s(version);
      s.ShowsDialog("An error occurred.");
      EnterPrivateRoom(s.d, c.room);
      const std::string address = "aol://2719:2-2-" + c.address;
      EXPECT_EQ(s.d.Keywords(),
                std::vector<std::string>{IsNewer(version) ? address + " " : address});
      EXPECT_EQ(s.Lines(), std::vector<std::string>{Posted(
                               version, "\xB7 zarnik can't enter " + c.shown + " \xB7 error.")});
    }
  }
}

TEST(PrivateRoom, NameOfOnlySpacesDoesNothing) {
  for (const char* room : {"", " ", "      "}) {
    for (bool room_open : {true, false}) {
      SCOPED_TRACE(std::string("'") + room + "' room open: " + (room_open ? "yes" : "no"));
      FakeDesktop d;
      FakeClient client = d.AddClient("4");
      if (room_open) client.AddRoom("Lobby 12");
      EnterPrivateRoom(d, room);
      EXPECT_TRUE(d.Keywords().empty());
      EXPECT_TRUE(d.Transcript().empty());
      EXPECT_EQ(d.DoEventsCalls(), 0);
    }
  }
}

TEST(PrivateRoom, WaitsAreBounded) {
  const struct {
    const char* name;
    const char* version;
    bool keyword_window;
    std::uint64_t bound_ms;
  } cases[] = {
      {"no room or dialog, newer", "4", true, 30000},
      {"no room or dialog, older", "3", true, 30000},
      {"no Keyword window", "2.5", false, 10000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    FakeClient client = d.AddClient(c.version);
    client.AddRoom("Lobby 12");
    if (c.keyword_window) client.OpenKeywordWindowOnIcon();
    d.SetEventCallLimit(2000);
    const std::uint64_t start = d.NowMs();
    EnterPrivateRoom(d, "Den");
    const std::uint64_t waited = d.NowMs() - start;

    EXPECT_GE(waited, c.bound_ms);
    EXPECT_LT(waited, c.bound_ms + 1000);
    EXPECT_TRUE(d.Transcript().empty());
    EXPECT_EQ(d.Keywords().size(), c.keyword_window ? 1u : 0u);
    EXPECT_LE(d.DoEventsCalls(), static_cast<int>(c.bound_ms / 50 + 2)) << "no spinning";
    for (unsigned ms : d.Waits()) EXPECT_TRUE(ms > 0 && ms <= 100) << ms;
    EXPECT_FALSE(d.EnteringRoom());
  }

  // Just inside the bound still counts.
  Scene s("4");
  s.OpensRoom("Den", 29900);
  EnterPrivateRoom(s.d, "Den");
  EXPECT_EQ(s.Lines(), std::vector<std::string>{Posted("4", "\xB7 zarnik has entered.")});

  // With no client at all there is nothing to wait for.
  FakeDesktop none;
  EnterPrivateRoom(none, "Den");
  EXPECT_EQ(none.NowMs(), 1000000u);
  EXPECT_EQ(none.DoEventsCalls(), 0);
}

TEST(PrivateRoom, SecondPressDuringWaitIsIgnored) {
  for (const char* version : {"5", "3"}) {
    SCOPED_TRACE(version);
    Scene s(version);
    s.OpensRoom("My Room", 5000);
    std::uint64_t pressed_at = 0, returned_at = 0;
    s.d.After(1000, [&] {
      pressed_at = s.d.NowMs();
      EnterPrivateRoom(s.d, "Other Room");
      returned_at = s.d.NowMs();
    });
    EnterPrivateRoom(s.d, "My Room");

    EXPECT_NE(pressed_at, 0u) << "the second press came during the wait";
    EXPECT_EQ(returned_at, pressed_at);
    EXPECT_EQ(s.d.Keywords().size(), 1u);
    EXPECT_EQ(s.Lines(), std::vector<std::string>{Posted(version, "\xB7 zarnik has entered.")});

    // Once the first entry is over, the next press works again.
    s.ShowsDialog("An error occurred.");
    EnterPrivateRoom(s.d, "Other Room");
    EXPECT_EQ(s.d.Keywords().size(), 2u);
    EXPECT_EQ(s.Lines().size(), 2u);
  }
}

}  // namespace
}  // namespace wendrel
