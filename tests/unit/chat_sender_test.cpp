#include "automation/chat_sender.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

using Settings = std::vector<std::pair<std::string, std::string>>;

const Settings kExampleSettings = {
    {"ascii", "--"}, {"ascii color", "FF0000"}, {"text color", "0000FF"}, {"mode", "normal"}};

Settings WithMode(const std::string& mode) { return {{"mode", mode}}; }

TEST(SendChat, StylesTheLineForEveryModeAndClient) {
  struct Case {
    const char* name;
    const char* version;
    std::optional<Settings> settings;  // nullopt: no settings file at all
    std::string text;
    std::optional<std::string> typed;  // nullopt: nothing reaches the room
  };
  const std::string markup_of_example = "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";
  const std::string empty_markup = "</html><font face=\"arial\" color=#><font color=#>";
  const Case cases[] = {
      {"example on 4", "4", kExampleSettings, "<b>h</b>i", markup_of_example + "<b>h</b>i"},
      {"example on 5", "5", kExampleSettings, "<b>h</b>i", markup_of_example + "<b>h</b>i"},
      {"example on 3", "3", kExampleSettings, "<b>h</b>i", "--<b>h</b>i"},
      {"example on 2.5", "2.5", kExampleSettings, "<b>h</b>i", "--<b>h</b>i"},
      {"no file on 4", "4", std::nullopt, "hi", empty_markup + "hi"},
      {"no file on 3", "3", std::nullopt, "hi", "hi"},
      {"decoration trimmed and touching", "3", Settings{{"ascii", "\"  --  \""}}, "hi", "--hi"},
      {"colours trimmed", "5", Settings{{"ascii color", "\" FF0000 \""}, {"text color", "\"0000FF  \""}},
       "hi", "</html><font face=\"arial\" color=#FF0000><font color=#0000FF>hi"},
      {"key names in any case", "3", Settings{{"ASCII", "--"}}, "hi", "--hi"},
      {"normal", "3", WithMode("normal"), " a B ", " a B "},
      {"unknown mode", "3", WithMode("shout"), "hi", "hi"},
      {"mode with a capital", "3", WithMode("Elite"), "hi", "hi"},
      {"mode with a leading space", "3", WithMode("\" elite\""), "hi", "hi"},
      // "<b>" turns into "</" + single right-pointing angle quote + ">".
      {"elite works on the markup too", "3", WithMode("elite"), "<b>h</b>i", "</\x9B>H<//\x9B>\xEC"},
      {"elite trims its result", "3", WithMode("elite"), "  hi  ", "H\xEC"},  // i grave
      {"elite behind the markup", "4", WithMode("elite"), " hi ", empty_markup + "H\xEC"},
      {"hacker", "3", WithMode("hacker"), "hello", "HeLLo"},
      {"lcase", "3", WithMode("lcase"), "HeLLo \xC9", "hello \xE9"},  // E acute
      {"ucase", "3", WithMode("ucase"), "hello \xE9", "HELLO \xC9"},  // e acute
      {"pig latin", "3", WithMode("pig latin"), "hello world", "ello-hay orld-way"},
      {"silent on 4", "4", WithMode("silent"), "hi", std::nullopt},
      {"silent on 3", "3", Settings{{"ascii", "--"}, {"mode", "silent"}}, "hi", std::nullopt},
      {"empty line on 3", "3", std::nullopt, "", std::nullopt},
      {"empty text on 4 still carries the markup", "4", std::nullopt, "", empty_markup},
      {"decoration alone on 3", "3", Settings{{"ascii", "--"}}, "", "--"},
      {"800 characters cut to 749", "3", Settings{{"ascii", std::string(800, 'a')}}, "x",
       std::string(749, 'a') + "x"},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    FakeRoom room = d.AddClient(c.version).AddRoom("Lobby 12");
    if (c.settings) d.WriteSettings(*c.settings);
    SendChat(d, c.text);
    if (c.typed) {
      EXPECT_EQ(room.Lines(), std::vector<std::string>{*c.typed}) << c.name;
    } else {
      EXPECT_TRUE(room.Lines().empty()) << c.name;
      EXPECT_EQ(d.CountDelivered(kWmSetText), 0u) << c.name << ": nothing typed into any window";
      EXPECT_EQ(d.CountDelivered(kWmChar), 0u) << c.name;
    }
  }
}

TEST(SendChat, ReadsTheSettingsAfreshForEveryLine) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("3").AddRoom("Lobby");
  d.WriteSettings({{"ascii", "1:"}});
  SendChat(d, "a");
  d.WriteSettings({{"ascii", "2:"}});
  SendChat(d, "b");
  d.RemoveFile(d.SettingsPath());
  SendChat(d, "c");
  EXPECT_EQ(room.Lines(), (std::vector<std::string>{"1:a", "2:b", "c"}));
}

TEST(SendChat, PutsTheUsersTypingBack) {
  for (const char* version : {"5", "4", "3", "2.5"}) {
    FakeDesktop d;
    FakeRoom room = d.AddClient(version).AddRoom("Lobby");
    room.input.SetText("half a thought");
    SendChat(d, "hi");
    EXPECT_EQ(room.Lines().size(), 1u) << version;
    EXPECT_EQ(room.input.Text(), "half a thought") << version;
  }
}

TEST(SendChat, PostsNothingWithoutARoomOrAnInputBox) {
  struct Case {
    const char* name;
    const char* version;  // nullptr: no client
    const char* remove;   // a control taken from the room, or nullptr
  };
  const Case cases[] = {
      {"no client", nullptr, nullptr},
      {"newer client without a room", "4", nullptr},
      {"older client without a room", "2.5", nullptr},
      {"older room without its input box", "3", kOldEditClass},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    if (c.version) {
      FakeClient client = d.AddClient(c.version);
      if (c.remove) {
        client.AddRoom("Lobby").window.Child(c.remove).Destroy();
      } else {
        client.AddChildWindow("Welcome");
      }
    }
    SendChat(d, "hi");
    EXPECT_TRUE(d.Transcript().empty()) << c.name;
    EXPECT_EQ(d.CountDelivered(kWmSetText), 0u) << c.name;
    EXPECT_LE(d.DoEventsCalls(), 1) << c.name;
  }
}

TEST(SendChat, GivesUpOnABoxThatNeverEmptiesWithoutSpinning) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("4").AddRoom("Lobby");
  room.input.SetText("mine");
  room.input.PostAfterEnters(0);
  const std::uint64_t start = d.NowMs();
  SendChat(d, "hi");
  const std::uint64_t took = d.NowMs() - start;

  EXPECT_EQ(took, 10000u);
  EXPECT_TRUE(room.Lines().empty());
  EXPECT_EQ(room.input.Text(), "mine");
  // It slept between passes: short waits that add up to the ten seconds,
  // and one yield per pass.
  ASSERT_FALSE(d.Waits().empty());
  for (std::size_t i = 0; i < d.Waits().size(); ++i) {
    // The last wait only runs out the clock.
    if (i + 1 < d.Waits().size()) {
      EXPECT_GE(d.Waits()[i], 5u) << "wait " << i;
    }
    EXPECT_LE(d.Waits()[i], 50u) << "wait " << i;
  }
  EXPECT_LE(d.Waits().size(), 2000u);
  EXPECT_LE(d.DoEventsCalls(), static_cast<int>(d.Waits().size()) + 1);
}

TEST(SendChat, PressesEnterUntilTheBoxEmpties) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("2.5").AddRoom("Lobby");
  room.input.PostAfterEnters(3);
  SendChat(d, "hi");
  EXPECT_EQ(room.Lines(), std::vector<std::string>{"hi"});
  EXPECT_EQ(d.CountDelivered(kWmChar), 3u);
  EXPECT_EQ(d.DoEventsCalls(), 3) << "one yield per pass";
}

TEST(SendChat, StopsWhenTheClientGoesAwayMidPost) {
  struct Case {
    const char* name;
    std::function<void(FakeClient&, FakeRoom&)> fault;
  };
  const Case cases[] = {
      {"room closes", [](FakeClient&, FakeRoom& room) { room.window.Destroy(); }},
      {"client quits", [](FakeClient& client, FakeRoom&) { client.Close(); }},
      {"input box hangs", [](FakeClient&, FakeRoom& room) { room.input.SetHung(true); }},
  };
  for (const Case& c : cases) {
    FakeDesktop d;
    FakeClient client = d.AddClient("5");
    FakeRoom room = client.AddRoom("Lobby");
    room.input.PostAfterEnters(0);
    d.OnDoEvents(3, [&] { c.fault(client, room); });
    const std::uint64_t start = d.NowMs();
    SendChat(d, "hi");
    EXPECT_LE(d.NowMs() - start, 100u) << c.name;
    EXPECT_FALSE(d.Outbox().typing) << c.name;
  }
}

// A client that is not answering gets no message at all: each would cost a
// time-out, and text set into its box might never be given back.
TEST(SendChat, LeavesTheBoxOfAHungClientAlone) {
  for (const char* version : {"4", "3"}) {
    FakeDesktop d;
    FakeRoom room = d.AddClient(version).AddRoom("Lobby");
    room.input.SetText("mine");
    room.input.SetHung(true);
    d.ClearLog();
    SendChat(d, "hi");
    room.input.SetHung(false);
    EXPECT_EQ(room.input.Text(), "mine") << version;
    for (const SentMessage& m : d.Messages()) {
      EXPECT_NE(m.hwnd, room.input.hwnd()) << version << ": message " << m.message;
    }
    EXPECT_TRUE(room.Lines().empty()) << version;
  }
}

// A timer tick or a click handled inside the Enter loop hands over lines of
// its own: they are typed after the current one, in order, styled as the
// settings stand when each is typed, and the user's typing comes back once.
TEST(SendChat, LinesHandedOverDuringALineWaitTheirTurn) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("3").AddRoom("Lobby");
  room.input.SetText("mine");
  room.input.PostAfterEnters(2);
  std::vector<std::string> seen_inside;
  std::string box_inside;
  d.OnDoEvents(1, [&] {
    SendChat(d, "second");
    SendChat(d, "third");
    d.WriteSettings({{"ascii", ">"}});
    seen_inside = room.Lines();
    box_inside = room.input.Text();
  });
  SendChat(d, "first");

  EXPECT_TRUE(seen_inside.empty()) << "the nested calls return before typing";
  EXPECT_EQ(box_inside, "first");
  EXPECT_EQ(room.Lines(), (std::vector<std::string>{"first", ">second", ">third"}));
  EXPECT_EQ(room.input.Text(), "mine");
  int restores = 0;
  for (const SentMessage& m : room.input.Messages()) restores += m.message == kWmSetText && m.text == "mine";
  EXPECT_EQ(restores, 1);
  EXPECT_FALSE(d.Outbox().typing);
  EXPECT_TRUE(d.Outbox().pending.empty());
}

TEST(SendChat, RestoresEachBoxWhenTheRoomChangesBetweenLines) {
  FakeDesktop d;
  FakeClient client = d.AddClient("4");
  FakeRoom old_room = client.AddRoom("Lobby");
  old_room.input.SetText("mine");
  old_room.input.PostAfterEnters(2);
  FakeRoom new_room;
  d.OnDoEvents(1, [&] {
    SendChat(d, "second");
    new_room = client.AddRoom("Town Square", Z::kTop);
    new_room.input.SetText("other");
  });
  SendChat(d, "first");

  const std::string markup = "</html><font face=\"arial\" color=#><font color=#>";
  EXPECT_EQ(old_room.Lines(), std::vector<std::string>{markup + "first"});
  EXPECT_EQ(new_room.Lines(), std::vector<std::string>{markup + "second"});
  EXPECT_EQ(old_room.input.Text(), "mine");
  EXPECT_EQ(new_room.input.Text(), "other");

  // The old box got its text back before the new one was touched.
  std::size_t old_restored = 0;
  std::size_t new_touched = 0;
  for (std::size_t i = 0; i < d.Messages().size(); ++i) {
    const SentMessage& m = d.Messages()[i];
    if (m.hwnd == old_room.input.hwnd() && m.message == kWmSetText && m.text == "mine") old_restored = i;
    if (m.hwnd == new_room.input.hwnd() && m.message == kWmSetText && new_touched == 0) new_touched = i;
  }
  EXPECT_LT(old_restored, new_touched);
}

TEST(SendChat, SilentLinesInTheQueueAreDropped) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("3").AddRoom("Lobby");
  room.input.PostAfterEnters(2);
  d.OnDoEvents(1, [&] {
    d.WriteSettings({{"mode", "silent"}});
    SendChat(d, "second");
  });
  SendChat(d, "first");
  EXPECT_EQ(room.Lines(), std::vector<std::string>{"first"});
}

TEST(ReadIni, CutsLongValuesAndDefaultsToEmpty) {
  FakeDesktop d;
  d.SetFile("C:\\idler\\other.ini", "[S]\r\nKey=" + std::string(800, 'v') + "\r\nshort=ok\r\n");
  EXPECT_EQ(ReadIni(d, "s", "KEY", "C:\\idler\\other.ini"), std::string(749, 'v'));
  EXPECT_EQ(ReadIni(d, "S", "Short", "c:\\IDLER\\other.ini"), "ok");
  EXPECT_EQ(ReadIni(d, "S", "absent", "C:\\idler\\other.ini"), "");
  EXPECT_EQ(ReadIni(d, "S", "short", "C:\\idler\\missing.ini"), "");
}

}  // namespace
}  // namespace wendrel
