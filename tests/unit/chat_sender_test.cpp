#include "automation/chat_sender.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "automation/client_contract.h"
#include "automation/fake_desktop.h"

namespace wendrel {
namespace {

using Lines = std::vector<std::string>;
using Settings = std::vector<std::pair<std::string, std::string>>;

// What the newer clients' rooms receive in front of every line when there is
// no settings file.
const std::string kBareMarkup = "</html><font face=\"arial\" color=#><font color=#>";

Settings WithMode(const std::string& mode) { return {{"mode", mode}}; }

// Every line goes through the user's box and leaves what they had typed.
TEST(SendChat, StylesTheLineForEveryModeAndClient) {
  struct Case {
    const char* name;
    const char* version;
    std::optional<Settings> settings;  // nullopt: no settings file at all
    std::string text;
    std::optional<std::string> typed;  // nullopt: nothing reaches the room
  };
  const Settings example = {{"ascii", "--"}, {"ascii color", "FF0000"}, {"text color", "0000FF"}, {"mode", "normal"}};
  const std::string example_markup = "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";
  const Case cases[] = {
      {"example on 5", "5", example, "<b>h</b>i", example_markup + "<b>h</b>i"},
      {"example on 4", "4", example, "<b>h</b>i", example_markup + "<b>h</b>i"},
      {"example on 3", "3", example, "<b>h</b>i", "--<b>h</b>i"},
      {"example on 2.5", "2.5", example, "<b>h</b>i", "--<b>h</b>i"},
      {"no file on 4", "4", std::nullopt, "hi", kBareMarkup + "hi"},
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
      {"elite behind the markup", "4", WithMode("elite"), " hi ", kBareMarkup + "H\xEC"},
      {"hacker", "3", WithMode("hacker"), "hello", "HeLLo"},
      {"lcase", "3", WithMode("lcase"), "HeLLo \xC9", "hello \xE9"},  // E acute
      {"ucase", "3", WithMode("ucase"), "hello \xE9", "HELLO \xC9"},  // e acute
      {"pig latin", "3", WithMode("pig latin"), "hello world", "ello-hay orld-way"},
      {"silent on 4", "4", WithMode("silent"), "hi", std::nullopt},
      {"silent on 3", "3", Settings{{"ascii", "--"}, {"mode", "silent"}}, "hi", std::nullopt},
      {"empty line on 3", "3", std::nullopt, "", std::nullopt},
      {"empty text on 4 still carries the markup", "4", std::nullopt, "", kBareMarkup},
      {"decoration alone on 3", "3", Settings{{"ascii", "--"}}, "", "--"},
      {"800 characters cut to 749", "3", Settings{{"ascii", std::string(800, 'a')}}, "x",
       std::string(749, 'a') + "x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop d;
    FakeRoom room = d.AddClient(c.version).AddRoom("Lobby 12");
    room.input.SetText("half a thought");
    if (c.settings) d.WriteSettings(*c.settings);
    SendChat(d, c.text);
    EXPECT_EQ(room.input.Text(), "half a thought");
    if (c.typed) {
      EXPECT_EQ(room.Lines(), Lines{*c.typed});
      continue;
    }
    EXPECT_TRUE(room.Lines().empty());
    EXPECT_EQ(d.CountDelivered(kWmSetText), 0u) << "nothing typed into any window";
    EXPECT_EQ(d.CountDelivered(kWmChar), 0u);
  }
}

// Enter is pressed, with one yield per pass, until the box reads empty; a
// box that never empties is given up on at ten seconds, sleeping between
// passes rather than spinning.
TEST(SendChat, PressesEnterUntilTheBoxEmptiesOrTheTimeIsUp) {
  FakeDesktop d;
  FakeRoom room = d.AddClient("2.5").AddRoom("Lobby");
  room.input.PostAfterEnters(3);
  SendChat(d, "hi");
  EXPECT_EQ(room.Lines(), Lines{"hi"});
  EXPECT_EQ(d.CountDelivered(kWmChar), 3u);
  EXPECT_EQ(d.DoEventsCalls(), 3);

  FakeDesktop never;
  FakeRoom stuck = never.AddClient("4").AddRoom("Lobby");
  stuck.input.SetText("mine");
  stuck.input.PostAfterEnters(0);
  const std::uint64_t start = never.NowMs();
  SendChat(never, "hi");
  EXPECT_EQ(never.NowMs() - start, 10000u);
  EXPECT_TRUE(stuck.Lines().empty());
  EXPECT_EQ(stuck.input.Text(), "mine");
  const std::vector<unsigned>& waits = never.Waits();
  ASSERT_FALSE(waits.empty());
  EXPECT_LE(waits.size(), 2000u);
  for (std::size_t i = 0; i < waits.size(); ++i) {
    // The last wait only runs out the clock.
    if (i + 1 < waits.size()) {
      EXPECT_GE(waits[i], 5u) << "wait " << i;
    }
    EXPECT_LE(waits[i], 50u) << "wait " << i;
  }
  EXPECT_LE(never.DoEventsCalls(), static_cast<int>(waits.size()) + 1);
}

// No room, no input box or a client that is not answering: no message to
// any box and no wait, since each message to a hung client would cost a
// time-out and text set into its box might never be given back. A client
// that goes away or hangs while a line is typed ends the line at once.
TEST(SendChat, NoRoomOrAClientThatGoesAwayOrHangs) {
  struct Case {
    const char* name;
    int at_yield;  // 0: before the line
    std::function<void(FakeClient&, FakeRoom&)> fault;
  };
  const Case cases[] = {
      {"no client", 0, [](FakeClient& client, FakeRoom&) { client.Close(); }},
      {"no room, another window", 0,
       [](FakeClient& client, FakeRoom& room) {
         room.window.Destroy();
         client.AddChildWindow("Welcome");
       }},
      {"room without its input box", 0, [](FakeClient&, FakeRoom& room) { room.input.Destroy(); }},
      {"input box hung", 0, [](FakeClient&, FakeRoom& room) { room.input.SetHung(true); }},
      {"room closes mid-line", 3, [](FakeClient&, FakeRoom& room) { room.window.Destroy(); }},
      {"client quits mid-line", 3, [](FakeClient& client, FakeRoom&) { client.Close(); }},
      {"input box hangs mid-line", 3, [](FakeClient&, FakeRoom& room) { room.input.SetHung(true); }},
  };
  for (const char* version : {"5", "3"}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(version) + " " + c.name);
      FakeDesktop d;
      FakeClient client = d.AddClient(version);
      FakeRoom room = client.AddRoom("Lobby");
      room.input.SetText("mine");
      room.input.PostAfterEnters(0);
      if (c.at_yield > 0) {
        d.OnDoEvents(c.at_yield, [&] { c.fault(client, room); });
      } else {
        c.fault(client, room);
      }
      const std::uint64_t start = d.NowMs();
      SendChat(d, "hi");
      EXPECT_LE(d.NowMs() - start, 100u);
      EXPECT_FALSE(d.Outbox().typing);
      EXPECT_TRUE(d.Transcript().empty());
      if (c.at_yield > 0) continue;
      EXPECT_EQ(d.CountDelivered(kWmSetText) + d.CountDelivered(kWmChar), 0u);
      EXPECT_TRUE(room.input.Messages().empty());
      EXPECT_LE(d.DoEventsCalls(), 1);
      room.input.SetHung(false);
      EXPECT_EQ(room.input.Text(), "mine");
    }
  }
}

// A timer tick or a click handled inside the Enter loop hands over lines of
// its own: they are typed after the current one, in order, styled as the
// settings stand when each is typed (silent ones dropped), into the room
// open then; each box gets the user's typing back once, the old one before
// the new one is touched.
TEST(SendChat, LinesHandedOverDuringALineWaitTheirTurn) {
  FakeDesktop d;
  FakeClient client = d.AddClient("3");
  FakeRoom lobby = client.AddRoom("Lobby");
  lobby.input.SetText("mine");
  lobby.input.PostAfterEnters(2);
  FakeRoom square;
  Lines seen_inside;
  std::string box_inside;
  // Two yields a line: the third comes while "second" is typed, the fifth
  // while "third" is.
  d.OnDoEvents(1, [&] {
    SendChat(d, "second");
    SendChat(d, "third");
    d.WriteSettings({{"ascii", ">"}});
    seen_inside = lobby.Lines();
    box_inside = lobby.input.Text();
  });
  d.OnDoEvents(3, [&] {
    square = client.AddRoom("Town Square", Z::kTop);
    square.input.SetText("other");
    square.input.PostAfterEnters(2);
  });
  d.OnDoEvents(5, [&] {
    SendChat(d, "fourth");
    d.WriteSettings({{"mode", "silent"}});
  });
  SendChat(d, "first");

  EXPECT_TRUE(seen_inside.empty()) << "the nested calls return before typing";
  EXPECT_EQ(box_inside, "first");
  EXPECT_EQ(lobby.Lines(), (Lines{"first", ">second"}));
  EXPECT_EQ(square.Lines(), Lines{">third"});
  EXPECT_EQ(lobby.input.Text(), "mine");
  EXPECT_EQ(square.input.Text(), "other");
  std::size_t restores = 0, old_restored = 0, new_touched = 0;
  for (std::size_t i = 0; i < d.Messages().size(); ++i) {
    const SentMessage& m = d.Messages()[i];
    if (m.hwnd == lobby.input.hwnd() && m.message == kWmSetText && m.text == "mine") {
      ++restores;
      old_restored = i;
    }
    if (m.hwnd == square.input.hwnd() && m.message == kWmSetText && new_touched == 0) new_touched = i;
  }
  EXPECT_EQ(restores, 1u);
  EXPECT_LT(old_restored, new_touched);
  EXPECT_FALSE(d.Outbox().typing);
  EXPECT_TRUE(d.Outbox().pending.empty());
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
