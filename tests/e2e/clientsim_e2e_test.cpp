// The simulated client itself, seen from outside as the idler sees it: if
// it strayed from the client's contract, every other end-to-end case would
// test the wrong thing.
#include <gtest/gtest.h>

#include "automation/client_contract.h"
#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

constexpr unsigned kWaitMs = 5000;

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp = 0) {
  return BoundedSend(hwnd, msg, wp, lp, kWaitMs).value;
}

void SetText(HWND hwnd, const std::string& text) {
  Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> Captions(const std::vector<HWND>& windows) {
  std::vector<std::string> out;
  for (HWND w : windows) out.push_back(TextOf(w));
  return out;
}

struct SignatureCase {
  const char* version;
  std::vector<const char*> room_classes;  // each direct child class, in z-order
  bool keyword_box;                       // the toolbar chain of 4 and 5
  std::size_t toolbar_icons;
};

TEST(ClientSimContract, EachVersionPresentsItsFamily) {
  const SignatureCase cases[] = {
      {"5", {kRichTextClass, kListboxClass, kIconClass, kComboboxClass, kRichTextClass}, true, 0},
      {"4", {kRichTextClass, kListboxClass, kIconClass, kComboboxClass, kRichTextClass}, true, 0},
      {"3", {kViewClass, kListboxClass, kIconClass, kOldEditClass}, false, 20},
      {"2.5", {kViewClass, kListboxClass, kIconClass, kOldEditClass}, false, 20},
  };
  for (const SignatureCase& c : cases) {
    SCOPED_TRACE(std::string("version ") + c.version);
    TempDir dir;
    SimulatedClient client = SimulatedClient::Start(dir, {"--version", c.version});
    ASSERT_TRUE(client);
    std::vector<HWND> rooms = client.Children();
    ASSERT_EQ(rooms.size(), 1u);
    EXPECT_EQ(TextOf(rooms[0]), "Lobby");

    std::vector<std::string> classes;
    for (HWND w = GetWindow(rooms[0], GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
      char name[64] = {};
      GetClassNameA(w, name, sizeof name);
      classes.push_back(name);
    }
    EXPECT_EQ(classes, std::vector<std::string>(c.room_classes.begin(), c.room_classes.end()));

    HWND toolbar = FindWindowExA(client.Frame(), nullptr, kToolbarClass, nullptr);
    HWND inner = FindWindowExA(toolbar, nullptr, kInnerToolbarClass, nullptr);
    HWND combo = FindWindowExA(inner, nullptr, kComboboxClass, nullptr);
    EXPECT_EQ(FindWindowExA(combo, nullptr, kEditClass, nullptr) != nullptr, c.keyword_box);
    EXPECT_EQ(ChildrenOf(toolbar, kIconClass).size(), c.toolbar_icons);
  }
}

TEST(ClientSimContract, EnterTakesTheLineByteForByteAndEmptiesTheBox) {
  // A middle dot, a backslash, a tab and an e acute: bytes the transcript
  // must neither lose nor re-encode.
  const std::string line = "\xB7 caf\xE9 <b>a</b>\\b\tc";
  for (const char* version : {"4", "3"}) {
    SCOPED_TRACE(std::string("version ") + version);
    TempDir dir;
    SimulatedClient client = SimulatedClient::Start(dir, {"--version", version});
    ASSERT_TRUE(client);
    HWND input = SimulatedClient::InputOf(client.Children().at(0));
    SetText(input, "ab");
    Send(input, WM_CHAR, 'c');
    EXPECT_EQ(TextOf(input), "abc");  // other characters type as usual
    SetText(input, line);
    Send(input, WM_CHAR, kCharEnter);
    EXPECT_EQ(TextOf(input), "");
    Send(input, WM_CHAR, kCharEnter);  // an empty box sends nothing
    EXPECT_EQ(client.Chat(), std::vector<std::string>{line});
    // People watching read the line without its markup.
    HWND view = GetWindow(client.Children().at(0), GW_CHILD);
    EXPECT_EQ(TextOf(view), "you: \xB7 caf\xE9 a\\b\tc");
  }
}

TEST(ClientSimContract, OlderKeywordWindowOpensFromItsIconOnly) {
  TempDir dir;
  SimulatedClient client = SimulatedClient::Start(dir, {"--version", "3"});
  ASSERT_TRUE(client);
  std::vector<HWND> icons =
      ChildrenOf(FindWindowExA(client.Frame(), nullptr, kToolbarClass, nullptr), kIconClass);
  ASSERT_EQ(icons.size(), 20u);
  auto click = [&](int place) {
    Send(icons[place - 1], WM_LBUTTONDOWN, 0);
    Send(icons[place - 1], WM_LBUTTONUP, 0);
  };
  auto keyword_window = [&] {
    return FindWindowExA(client.Mdi(), nullptr, kChildClass, kKeywordCaption);
  };
  click(kKeywordIcon25);  // the 2.5 client's place: not this client's
  EXPECT_EQ(keyword_window(), nullptr);
  click(kKeywordIcon3);
  ASSERT_NE(keyword_window(), nullptr);
  EXPECT_EQ(client.transcript().Payloads("icon"), (std::vector<std::string>{"13", "18"}));

  HWND edit = FindWindowExA(keyword_window(), nullptr, kOldEditClass, nullptr);
  SetText(edit, "aol://2719:2-2-owls");
  Send(edit, WM_CHAR, kCharEnter);
  EXPECT_TRUE(WaitUntil([&] { return keyword_window() == nullptr; }, kWaitMs));
  EXPECT_EQ(client.transcript().Payloads("keyword"),
            std::vector<std::string>{"aol://2719:2-2-owls"});
  EXPECT_EQ(Captions(client.Children()), std::vector<std::string>{"owls"});
}

}  // namespace
}  // namespace wendrel::e2e
