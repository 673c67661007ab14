#include "automation/chat_sender.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "tests/support/support_win32.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

const std::string kIni = "[zq7]\r\nascii=  --  \r\nascii color=FF0000\r\ntext color=0000FF\r\n";
// In place of the settings: a folder named zq7.ini.
const std::string kFolder = "/";

// What the box must receive for `line` over `draft`: it is read, emptied,
// given the line, Enter is pressed until the client takes it, and the
// draft goes back.
Lines Typed(const std::string& line, const std::string& draft, int enters = 1) {
  Lines typed{"set ", "set " + line};
  typed.insert(typed.end(), enters, "enter");
  typed.push_back("set " + draft);
  return typed;
}
// Each text's length and its first bytes.
std::string Summary(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += std::to_string(l.size()) + ":" + l.substr(0, 60) + "\n";
  return out;
}

// Every mode of chat sending, on each route and on the system's own
// controls. Each line is styled from zq7.ini as it stands (how a style
// shapes a line is tested natively), typed into the room's box, and Enter
// pressed until the box reads empty, for ten seconds of the clock at most.
// Each line reads the box afresh, so a key pressed between them stays; a
// line is recognised in the box however long it is, and as the client
// keeps it; Enter is pressed only straight after a read that shows it. The
// user's typing goes back whole wherever the box still stands, or is not
// touched when it is longer than the program reads. A client that Windows
// keeps us from is given up at once, untouched, and the session says so.
TEST(SendChat, StylesTypesAndGivesTheDraftBack) {
  const std::string big(100 * 1024, 'h');
  const std::string long_line = kBareMarkup + std::string(100, 'l');
  const std::string big_draft(100000, 'd');
  const std::string huge_draft((1 << 20) + 1, 'd');
  const struct {
    const char* name;
    Lines args;       // empty: no client runs
    std::string ini;  // "": no settings file
    Lines lines;      // sent one after another; "" stands for a key pressed between
    Lines chat;       // what the room got
    std::optional<Lines> typed = std::nullopt;  // every set and Enter after the draft's
    std::uint64_t waited_ms = 0;
    unsigned given_up = 0;
    bool denied = false;  // Windows refuses the sets: the client has more rights
    std::string draft = kDraft;
    bool key_in_rest = false;  // "x" pressed during the first rest
  } cases[] = {
      {"pig latin", {"--version", "4"}, kIni + "mode=pig latin", {"hello world"},
       {kMarkup + "ello-hay orld-way"}},
      {"no settings file", {"--version", "5"}, "", {"hi"}, {kBareMarkup + "hi"}},
      {"a folder for a settings file", {"--version", "4"}, kFolder, {"hi"}, {kBareMarkup + "hi"}},
      {"a value is cut to 749 bytes", {"--version", "3"}, "[zq7]\r\nascii=" + std::string(800, 'a'),
       {"x"}, {std::string(749, 'a') + "x"}},
      {"never taken", {"--version", "4", "--sticky-input"}, "", {"hi"}, {}, {}, 10000, 1},
      {"room closes as it takes the line", {"--version", "5", "--close-on-line", "1"}, "", {"hi"},
       {kBareMarkup + "hi"}},
      {"no room", {"--version", "4", "--no-room"}, "", {"hi"}, {}},
      {"no client", {}, "", {"hi"}, {}},
      {"the client runs with more rights", {"--version", "4"}, "", {"hi"}, {}, {}, 0, 1, true},
      {"3, taken on the second Enter", {"--version", "3", "--take-every", "2"}, "", {"one", "two"},
       {"one", "two"}, Typed("one", kDraft, 2) + Typed("two", kDraft, 2), 30},
      {"a key pressed between the lines", {"--version", "4"}, "", {"one", "", "two"},
       {kBareMarkup + "one", kBareMarkup + "two"},
       Typed(kBareMarkup + "one", kDraft) + Lines{"set " + kDraft + "x"} +
           Typed(kBareMarkup + "two", kDraft + "x")},
      {"a key pressed while the line waits for its second Enter",
       {"--version", "4", "--take-every", "2"}, "", {"one"}, {kBareMarkup + "one"},
       Lines{"set ", "set " + kBareMarkup + "one", "enter"} +
           Typed(kBareMarkup + "one", kDraft + "x"),
       115, 0, false, kDraft, true},
      {"rich edit keeping 92 characters of a set",
       {"--version", "5", "--real-controls", "--keep-first", "92"}, "", {long_line, "two"},
       {(kBareMarkup + long_line).substr(0, 92), kBareMarkup + "two"},
       Typed(kBareMarkup + long_line, kDraft) + Typed(kBareMarkup + "two", kDraft)},
      {"rich edit, a line of 100 KB over a draft of 100,000 characters",
       {"--version", "5", "--real-controls"}, "", {big, "two"},
       {kBareMarkup + big, kBareMarkup + "two"},
       Typed(kBareMarkup + big, big_draft) + Typed(kBareMarkup + "two", big_draft), 0, 0, false,
       big_draft},
      {"Edit, a draft longer than the program reads", {"--version", "2.5", "--real-controls"}, "",
       {"one"}, {}, Lines{}, 0, 1, false, huge_draft},
      {"a box that keeps one blank of two", {"--version", "3", "--squeeze-blanks"}, "", {"a  b"},
       {}, Lines{"set ", "set a  b", "set ", "set a  b", "set " + kDraft}, 200, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    if (c.ini == kFolder) { ASSERT_TRUE(CreateDirectoryA(dir.File("zq7.ini").c_str(), nullptr)); }
    else if (!c.ini.empty()) { ASSERT_TRUE(dir.Write("zq7.ini", c.ini)); }
    std::unique_ptr<SimThread> sim;
    if (!c.args.empty()) { ASSERT_TRUE(*(sim = std::make_unique<SimThread>(c.args))); }
    const std::vector<HWND> rooms = ClientChildren();
    const HWND input = rooms.empty() ? nullptr : InputOf(rooms[0]);
    // Unbounded: a draft of a megabyte takes the system's Edit a second or
    // more to take, longer than the program's own sends may wait.
    if (input) { ASSERT_TRUE(SendMessageA(input, WM_SETTEXT, 0, LPARAM(c.draft.c_str()))); }
    VirtualClockPlatform p(dir.path());
    p.deny_sets = c.denied;
    if (c.key_in_rest) p.on_rest = [input] { SendMessageA(input, WM_CHAR, 'x', 0); };
    const std::uint64_t start = p.NowMs();
    ChatSession chat;
    for (const std::string& line : c.lines) {
      if (line.empty()) SetTextOf(input, c.draft + "x");
      else SendChat(p, chat, line);
    }
    EXPECT_EQ(p.NowMs() - start, c.waited_ms);
    EXPECT_EQ(chat.denied, c.denied);
    EXPECT_EQ(chat.given_up, c.given_up);
    // Compared without printing: a line may be 100 KB long.
    const Lines got = sim ? sim->Chat() : Lines{};
    EXPECT_TRUE(got == c.chat) << Summary(got);
    if (c.typed) {
      const Lines typed = sim->transcript().Typing();
      ASSERT_FALSE(typed.empty());
      EXPECT_TRUE(Lines(typed.begin() + 1, typed.end()) == *c.typed) << Summary(typed);
    }
    // The draft and the key pressed; a draft too long to read is untouched.
    const std::string left = c.draft + (c.key_in_rest || c.lines.size() == 3 ? "x" : "");
    if (IsWindow(input) && left.size() < (1u << 20)) {
      EXPECT_TRUE(TextOf(input) == left) << Summary({TextOf(input)});
    }
  }
}

}  // namespace
}  // namespace wendrel::testing
