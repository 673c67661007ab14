#include <gtest/gtest.h>

#include <algorithm>
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

using Lines = std::vector<std::string>;

const char* const kVersions[] = {"5", "4", "3", "2.5"};
constexpr std::uint64_t kNever = ~0ull;

// The outcome lines for "My Room" (middle dots; two spaces before "can't"
// in the full and invalid lines, none after the dot of "full").
const std::string kEntered = "\xB7 zarnik has entered.";
const std::string kFull = "\xB7 zarnik  can't enter my room \xB7" "full.";
const std::string kError = "\xB7 zarnik can't enter my room \xB7 error.";
const std::string kBanned = "\xB7 zarnik can't enter my room \xB7 banned.";
const std::string kInvalid = "\xB7 zarnik  can't enter my room \xB7 invalid.";

// What the room receives for one of our lines: bolded once, behind the
// newer clients' markup for a missing settings file.
std::string Posted(const std::string& version, const std::string& line) {
  const bool newer = version == "4" || version == "5";
  return (newer ? "</html><font face=\"arial\" color=#><font color=#>" : "") + BoldWordStarts(line);
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
  void OpensRoom(const std::string& caption, std::uint64_t delay_ms) {
    OnAddress([this, caption, delay_ms] {
      d.After(delay_ms, [this, caption] { client.AddRoom(caption, Z::kTop); });
    });
  }
  // The dialog comes at once; its message only after `late_ms` (kNever: not
  // at all), as while the client is still building it.
  void ShowsDialog(const std::string& message, std::uint64_t late_ms = 0) {
    OnAddress([this, message, late_ms] {
      FakeDialog dialog = d.AddErrorDialog(late_ms == 0 ? message : "");
      if (late_ms != kNever) d.After(late_ms, [dialog, message] { dialog.message.SetText(message); });
    });
  }
  Lines Posts() const {
    Lines lines;
    for (const ChatLine& line : d.Transcript()) lines.push_back(line.text);
    return lines;
  }
};

std::string Describe(const SentMessage& m) {
  const std::string key = m.posted ? "posted key" : "key";
  switch (m.message) {
    case kWmSetText: return "settext " + m.text;
    case kWmChar: return "char " + std::to_string(m.wparam);
    case kWmLButtonDown: return "down";
    case kWmLButtonUp: return "up";
    case kWmKeyDown: return key + "down " + std::to_string(m.wparam);
    case kWmKeyUp: return key + "up " + std::to_string(m.wparam);
    default: return "other";
  }
}

// The messages, except text reads, that windows of one class received.
Lines ActionsOn(FakeDesktop& d, const std::string& cls) {
  Lines out;
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
      {"only spaces", "    ", ""},
      {"runs and ends", "  a  b  ", "ab"},
      {"tab and no-break space stay", "a\tb\xA0" "c", "a\tb\xA0" "c"},  // 0xA0 no-break space
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveSpaces(c.in), c.out) << c.name;
}

// The client's answer on every version, and the tests of its dialog's text
// in the order that decides between them.
TEST(PrivateRoom, OutcomeOfEveryAnswerOnEveryVersion) {
  const struct {
    const char* name;
    const char* message;  // nullptr: the room opens
    std::string line;     // "": nothing posted, the dialog left open
    std::uint64_t late_ms = 0;  // until the room or the message comes
  } cases[] = {
      {"entered", nullptr, kEntered, 1500},
      {"full", "Sorry, the room you requested is full.", kFull},
      {"error", "An error occurred.", kError},
      {"banned", "That room name is not allowed.", kBanned},
      {"invalid", "Invalid room name.", kInvalid},
      {"full wins over error", "An error: the room you requested is full", kFull},
      {"error in capitals", "ERROR 42", kError},
      {"Error wins over not allowed", "Error: name is not allowed", kError},
      {"error wins over Invalid", "Invalid room (error)", kError},
      {"error inside a word", "terrorist", kError},
      {"not allowed wins over Invalid", "Invalid: name is not allowed", kBanned},
      {"lower-case invalid", "invalid name", ""},
      {"full is case-sensitive", "The room You Requested Is Full", ""},
      {"not allowed is case-sensitive", "Name Is Not Allowed", ""},
      {"unknown message", "Please try again later.", ""},
      {"a dialog without its message is waited for", "Invalid room name.", kInvalid, 4000},
      {"one that never gets it is given up on", "Invalid room name.", "", kNever},
  };
  for (const char* version : kVersions) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      Scene s(version);
      if (c.message) {
        s.ShowsDialog(c.message, c.late_ms);
      } else {
        s.OpensRoom("My Room", c.late_ms);
      }
      const std::uint64_t start = s.d.NowMs();
      EnterPrivateRoom(s.d, "My Room");
      // The wait ends at the first pass that finds the room or the message.
      EXPECT_EQ(s.d.NowMs() - start, std::min<std::uint64_t>(c.late_ms, 30000));

      if (!c.message) {
        ASSERT_EQ(s.Posts(), Lines{Posted(version, c.line)});
        EXPECT_NE(s.d.Transcript()[0].room, s.lobby.window.hwnd()) << "posted in the new room";
        continue;
      }
      if (c.line.empty()) {
        EXPECT_TRUE(s.Posts().empty());
        EXPECT_TRUE(ActionsOn(s.d, kButtonClass).empty());
        EXPECT_NE(s.d.FindWindowA(kDialogClass, kErrorDialogCaption), 0u) << "left open";
        continue;
      }
      EXPECT_EQ(s.Posts(), Lines{Posted(version, c.line)});
      EXPECT_EQ(s.d.ClosedDialogs(), Lines{c.message});
      EXPECT_EQ(ActionsOn(s.d, kButtonClass), (Lines{"posted keydown 32", "posted keyup 32"}));
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

TEST(PrivateRoom, AlreadyInTheRoomOrNoNameDoesNothing) {
  const struct {
    const char* name;
    const char* caption;  // of the room on top; nullptr: no room at all
    const char* room;
    bool nothing;
  } cases[] = {
      {"letter case", "Lobby 12", "LOBBY 12", true},
      {"spaces in the name", "Lobby 12", " Lob by12 ", true},
      {"spaces in the caption", "My  Room ", "myroom", true},
      {"Latin letters", "Caf\xC9", "caf\xE9", true},  // E acute, e acute
      {"another number", "Lobby 12", "Lobby 13", false},
      {"a tab is no space", "Lobby 12", "Lobby\t12", false},
      {"empty name", "Lobby 12", "", true},
      {"only spaces", "Lobby 12", "      ", true},
      {"only spaces, no room open", nullptr, " ", true},
  };
  for (const char* version : {"4", "3"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      Scene s(version);
      if (c.caption) {
        s.client.AddRoom(c.caption, Z::kTop);
      } else {
        s.lobby.window.Destroy();
      }
      EnterPrivateRoom(s.d, c.room);
      EXPECT_EQ(s.d.Keywords().empty(), c.nothing);
      if (c.nothing) {
        EXPECT_EQ(s.d.DoEventsCalls(), 0);
        EXPECT_TRUE(s.d.Transcript().empty());
      }
    }
  }
}

TEST(PrivateRoom, KeywordRoutes) {
  const struct {
    const char* version;
    int icon;  // 0: no icon is clicked
    const char* box;
    Lines typed;
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
    EXPECT_EQ(d.Keywords(), Lines{c.recorded});
    EXPECT_EQ(ActionsOn(d, kIconClass), (c.icon == 0 ? Lines{} : Lines{"down", "up"}));
    if (c.icon == 0) continue;
    EXPECT_EQ(client.Icon(c.icon).Messages().size(), 2u) << "the right icon";
    for (const SentMessage& m : d.Messages()) EXPECT_FALSE(m.posted) << Describe(m);
  }
}

TEST(PrivateRoom, AddressHasNoSpacesLineKeepsThem) {
  const std::string a2000(2000, 'a');
  const struct {
    const char* name;
    std::string room, address, shown;
  } cases[] = {
      {"two words", "My Room", "MyRoom", "my room"},
      {"spaces around", "  Den  ", "Den", "  den  "},
      // E acute, S caron, Y diaeresis; their small letters
      {"Windows-1252 letters", "Caf\xC9 \x8A\x9F", "Caf\xC9\x8A\x9F", "caf\xE9 \x9A\xFF"},
      {"unmappable characters", "R??m ?", "R??m?", "r??m ?"},
      {"long", a2000 + " " + std::string(2000, 'B'), a2000 + std::string(2000, 'B'),
       a2000 + " " + std::string(2000, 'b')},
  };
  for (const char* version : {"4", "2.5"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      Scene s(version);
      s.ShowsDialog("An error occurred.");
      EnterPrivateRoom(s.d, c.room);
      const std::string address = "aol://2719:2-2-" + c.address;
      EXPECT_EQ(s.d.Keywords(), Lines{s.client.newer() ? address + " " : address});
      EXPECT_EQ(s.Posts(), Lines{Posted(version, "\xB7 zarnik can't enter " + c.shown + " \xB7 error.")});
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
  s.OpensRoom("My Room", 29900);
  EnterPrivateRoom(s.d, "My Room");
  EXPECT_EQ(s.Posts(), Lines{Posted("4", kEntered)});

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
    EXPECT_EQ(s.Posts(), Lines{Posted(version, kEntered)});

    // Once the first entry is over, the next press works again.
    s.ShowsDialog("An error occurred.");
    EnterPrivateRoom(s.d, "Other Room");
    EXPECT_EQ(s.d.Keywords().size(), 2u);
    EXPECT_EQ(s.Posts().size(), 2u);
  }
}

}  // namespace
}  // namespace wendrel
