// The idler itself, as its user meets it: started beside the simulated
// client, asking for the handle, idling and signing off, with the exact
// bytes that reach the room.
#include <gtest/gtest.h>

#include "automation/text_styles.h"
#include "tests/e2e/harness_win32.h"
#include "tests/support/texts.h"

namespace wendrel::e2e {
namespace {

constexpr unsigned kWaitMs = 10000;
constexpr char kStyleSettings[] = "[zq7]\r\nascii=~\r\nascii color=FFFFFF\r\ntext color=000000\r\n";

// A newer client's markup styled by kStyleSettings, then the line with each
// word's start in bold (the bold itself is proved natively).
std::string Posted(const std::string& line) {
  return "</html><font face=\"arial\" color=#FFFFFF>~<font color=#000000>" + BoldWordStarts(line);
}
const std::string kBanner = Posted(testing::kBanner);
const std::string kActive = Posted(ActiveLine("nightowl"));
const std::string kInactive = Posted(InactiveLine("nightowl"));
const std::string kStarted = Posted("\xB7 nightowl: has started idle., aim: nightowl");

// The stored handle, a client started by `args` in a folder with the style
// settings, and the user's `draft` in its room's box first.
struct ClientScene {
  StoredHandleScope handle;
  TempDir dir;
  bool styled = dir.Write("zq7.ini", kStyleSettings);
  SimulatedClient client;
  bool drafted;

  ClientScene(const std::optional<std::string>& stored, const std::string& args,
              const std::string& draft = "")
      : handle(stored), client(dir, args), drafted(draft.empty() || SetTextOf(Input(), draft)) {}
  static HWND Input() { return InputOf(ClientChildren().at(0)); }
  bool up() const { return styled && client.up() && drafted; }
};

// A client of version 4 with a buddy list, given `faults`, and the idler in
// the same folder as the style settings.
struct IdlerScene : ClientScene {
  explicit IdlerScene(const std::optional<std::string>& stored, const std::string& faults = "",
                      const std::string& draft = "")
      : ClientScene(stored, "--version 4 --buddy \"nightowl's Buddy List\" " + faults, draft) {}
  bool up() const { return ClientScene::up() && idler.window(); }
  bool Shown() const {
    return WaitUntil([&] { return IsWindowVisible(idler.window()) != FALSE; }, kWaitMs);
  }
  IdlerProcess idler{dir};
};

// The user's draft, long and of every byte value a box can hold (all but
// NUL, CR and LF), read and put back across processes before and after
// every line.
std::string LongDraft() {
  std::string draft;
  for (int i = 0; draft.size() < 40000; ++i) {
    const char c = static_cast<char>(1 + i % 255);
    if (c != '\r' && c != '\n') draft += c;
  }
  return draft;
}

// A first run: it asks for the handle while still hidden, stores the
// answer and signs on before it shows, in its place on top; idle on (the
// buddy list's caption read), a tick, a private room entered through the
// keyword box, idle off; Exit signs off once and ends the process. The
// user's long draft is back in the first room's box after each line there.
// The other tests start
// with a handle stored, which it must not ask for.
TEST(IdlerRun, FirstRunAsksSignsOnIdlesEntersARoomAndExitSignsOffOnce) {
  const std::string draft = LongDraft();
  IdlerScene scene(std::nullopt, "", draft);
  ASSERT_TRUE(scene.up());
  const HWND first_room_input = ClientScene::Input();
  HWND prompt = WaitForPrompt();
  EXPECT_FALSE(IsWindowVisible(scene.idler.window())) << "shown before the load handler ended";
  ASSERT_TRUE(AnswerPrompt(prompt, "nightowl"));
  ASSERT_TRUE(scene.Shown());
  EXPECT_EQ(scene.client.Chat().size(), 2u) << "shown before it signed on";
  EXPECT_EQ(ReadStoredHandle(), std::optional<std::string>("nightowl"));
  RECT r{};
  GetWindowRect(scene.idler.window(), &r);
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::vector<LONG>{326, 215, 153, 129}));
  EXPECT_TRUE(GetWindowLongA(scene.idler.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(TextOf(GetDlgItem(scene.idler.window(), kRoomBox)), "Room?");

  scene.idler.Click(kIdleOnButton);
  ASSERT_TRUE(scene.client.WaitForLines(3));
  scene.idler.Tick();
  ASSERT_TRUE(scene.client.WaitForLines(5));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(first_room_input) == draft; }, kWaitMs))
      << "the draft came back as " << TextOf(first_room_input).size() << " bytes";
  // The room entered leaves the first one, draft and all.
  ASSERT_TRUE(SetTextOf(GetDlgItem(scene.idler.window(), kRoomBox), "Back Room"));
  scene.idler.Click(kEnterRoomButton);
  ASSERT_TRUE(scene.client.WaitForLines(6));
  EXPECT_EQ(scene.client.Payloads("room-opened"), Lines{"BackRoom"});
  scene.idler.Click(kIdleOffButton);
  ASSERT_TRUE(scene.client.WaitForLines(7));

  scene.idler.Click(kExitButton);
  EXPECT_EQ(scene.idler.process().WaitForExit(kWaitMs), std::optional<DWORD>(0));
  EXPECT_EQ(scene.client.Chat(),
            (Lines{kBanner, kActive, kStarted, Posted("\xB7 nightowl: has been idle 0/d 0/h 1/m"),
                   Posted("\xB7 aim: nightowl aol: 4"), Posted(kEntered),
                   Posted(FinalLine("0/d 0/h 1/m")), kBanner, kInactive}));
}

// Two copies started at once beside one client: the second hands over to
// the first and ends, posting nothing; the room gets one sign-on and the
// user's draft stays in the box.
TEST(IdlerCopies, SecondCopyHandsOverAndPostsNothing) {
  ClientScene scene(std::string("nightowl"), "--version 4", kDraft);
  ASSERT_TRUE(scene.up());
  const std::string exe = CopyOfIdler(scene.dir);
  ChildProcess first(exe, "", scene.dir.path()), second(exe, "", scene.dir.path());
  ASSERT_TRUE(WaitUntil([&] { return !first.Running() || !second.Running(); }, 20000));
  ChildProcess& ended = first.Running() ? second : first;
  ChildProcess& running = first.Running() ? first : second;
  EXPECT_EQ(ended.WaitForExit(0), std::optional<DWORD>(0));
  ASSERT_TRUE(scene.client.WaitForLines(2));
  EXPECT_TRUE(running.Running());
  EXPECT_EQ(scene.client.Chat(), (Lines{kBanner, kActive}));
  EXPECT_EQ(TextOf(ClientScene::Input()), kDraft);
}

// Started again while the copy before it is still closing (its closing
// line sits in a box that refuses it), the program waits for that one to
// end and then starts as usual; started beside a copy that is frozen, its
// panel shown or hidden as it closes, it ends within seconds, posting
// nothing.
TEST(IdlerCopies, StartedAgainWhileTheLastCopyClosesOrIsFrozen) {
  ClientScene scene(std::string("nightowl"), "--version 4 --refuse nactive.,");
  ASSERT_TRUE(scene.up());
  const std::string exe = CopyOfIdler(scene.dir);
  ChildProcess first(exe, "", scene.dir.path());
  HWND panel = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return IsWindowVisible(panel = FindWindowA(kMainPanelClass, kMainPanelCaption)); },
      kWaitMs));
  PostMessageA(panel, WM_COMMAND, kExitButton, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }, kWaitMs));
  ChildProcess second(exe, "", scene.dir.path());
  EXPECT_TRUE(first.WaitForExit(kWaitMs).has_value());
  ASSERT_TRUE(scene.client.WaitForLines(5));
  EXPECT_TRUE(second.Running());
  EXPECT_EQ(scene.client.Chat(), (Lines{kBanner, kActive, kBanner, kBanner, kActive}));

  ASSERT_TRUE(WaitUntil(
      [&] { return IsWindowVisible(panel = FindWindowA(kMainPanelClass, kMainPanelCaption)); },
      kWaitMs));
  for (const bool closing : {false, true}) {
    SCOPED_TRACE(closing ? "frozen while it closes, its panel hidden" : "frozen, its panel shown");
    if (closing) {
      PostMessageA(panel, WM_COMMAND, kExitButton, 0);
      ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }, kWaitMs));
    }
    second.Freeze(true);
    const std::uint64_t start = Ms();
    ChildProcess other(exe, "", scene.dir.path());
    EXPECT_EQ(other.WaitForExit(kWaitMs), std::optional<DWORD>(0));
    std::printf("[ measured ] a copy started beside a frozen one (%s) ended after %u ms\n",
                closing ? "hidden" : "shown", static_cast<unsigned>(Ms() - start));
    EXPECT_LT(Ms() - start, 5000u);
    second.Freeze(false);
  }
  EXPECT_TRUE(second.WaitForExit(kWaitMs).has_value());
  EXPECT_EQ(scene.client.Chat(), (Lines{kBanner, kActive, kBanner, kBanner, kActive, kBanner}));
}

// The window answers at once while the client stops for 6 s (past the 5 s
// after which Windows counts it as hung), and the lines of the clicks made
// meanwhile all reach the room, in order, once it answers again.
TEST(IdlerFaults, AnswersWhileTheClientHangsAndPostsWhenItWakes) {
  IdlerScene scene(std::string("nightowl"), "--hang-after 3000 --hang-ms 6000", kDraft);
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.client.WaitForLines(2));
  ASSERT_TRUE(scene.client.WaitForHang());
  constexpr int kClicks = 12;
  std::uint64_t slowest = 0;
  for (int i = 0; i < kClicks; ++i) {
    scene.idler.Click(kIdleOnButton);
    const std::uint64_t start = Ms();
    ASSERT_TRUE(scene.idler.Settle());
    slowest = std::max(slowest, Ms() - start);
    Sleep(300);
  }
  std::printf("[ measured ] longest input wait while the client stops for 6 s: %u ms\n",
              static_cast<unsigned>(slowest));
  EXPECT_LT(slowest, 1000u) << "the window waited on the client";
  ASSERT_TRUE(scene.client.WaitForLines(2 + kClicks));
  Lines want{kBanner, kActive};
  want.insert(want.end(), kClicks, kStarted);
  EXPECT_EQ(scene.client.Chat(), want);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(ClientScene::Input()) == kDraft; }, 5000));
}

// What is under way when the program must end, and how it is told to.
enum class Ender { kClose, kExit, kEndSession };
struct Ending {
  const char* name;
  Ender action;
  const char* faults;
  bool silent;  // the client has stopped answering by then
  unsigned within_ms;
  std::size_t lines;
  bool handle = true;  // false: a first run, its prompt cancelled
  bool draft_back = true;
};

// Each case is a test of its own, so that the lanes share them out.
class IdlerExit : public ::testing::TestWithParam<Ending> {};

// The platform's close, Exit, or Windows ending the session, in the
// rollover's minute of waiting, while the sign-on line sits in a box that
// never empties, while the client does not answer or hangs inside a line,
// or after the first run's prompt was cancelled. Closed, the process is
// gone within seconds, not after the pause or after every closing line's
// own bound, and its window answers at once meanwhile; asked to end the
// session, the idler never refuses, posts its closing lines (none without
// a handle, and it asks for none) and returns well within 2 s. The user's
// draft is back in the box once the client answers, unless the program
// had to end while the client held a line.
TEST_P(IdlerExit, CloseAndEndSessionFinishWithinSecondsWhateverIsUnderWay) {
  const Ending& c = GetParam();
  IdlerScene scene(c.handle ? std::optional<std::string>("nightowl") : std::nullopt, c.faults,
                   kDraft);
  ASSERT_TRUE(scene.up());
  if (!c.handle) { ASSERT_TRUE(AnswerPrompt(WaitForPrompt(), "")); }
  ASSERT_TRUE(scene.Shown());
  const HWND w = scene.idler.window();
  if (c.silent) {
    ASSERT_TRUE(scene.client.WaitForLines(2));
    ASSERT_TRUE(scene.client.WaitForHang());
  }
  if (c.lines > 2) {
    if (c.lines > 3) SetTextOf(GetDlgItem(w, kMinutesLabel), "58");
    scene.idler.Click(kIdleOnButton);
    if (c.lines > 3) scene.idler.Tick();
    ASSERT_TRUE(scene.client.WaitForLines(std::min<std::size_t>(c.lines, 5)));
  }
  const std::uint64_t start = Ms();
  std::uint64_t slowest_answer = 0;
  if (c.action == Ender::kEndSession) {
    EXPECT_EQ(BoundedSend(w, WM_QUERYENDSESSION, 0, 0, 1000).value, TRUE);
    EXPECT_TRUE(BoundedSend(w, WM_ENDSESSION, TRUE, 0, 10000).ok());
  } else {
    if (c.action == Ender::kClose) PostMessageA(w, WM_CLOSE, 0, 0);
    else scene.idler.Click(kExitButton);
    // The window, hidden while its lines go out, answers what is sent.
    for (int i = 0; IsWindow(w) && scene.idler.process().Running() && Ms() - start < c.within_ms;
         ++i) {
      const std::uint64_t asked = Ms();
      const SendResult r = BoundedSend(w, i % 2 ? WM_QUERYENDSESSION : WM_NULL, 0, 0, 2000);
      if (r.outcome != SendOutcome::kGone) slowest_answer = std::max(slowest_answer, Ms() - asked);
      Sleep(20);
    }
    EXPECT_TRUE(scene.idler.process().WaitForExit(c.within_ms).has_value());
  }
  const unsigned took = static_cast<unsigned>(Ms() - start);
  std::printf("[ measured ] %s: %u ms\n", c.name, took);
  if (c.action == Ender::kExit) {
    std::printf("[ measured ] meanwhile the longest wait for an answer: %u ms\n",
                unsigned(slowest_answer));
  }
  EXPECT_LT(took, c.within_ms);
  EXPECT_LT(slowest_answer, 500u);
  const Lines chat = scene.client.Chat();
  ASSERT_EQ(chat.size(), c.lines);
  if (c.lines > 3) {
    EXPECT_EQ(Lines(chat.end() - 4, chat.end()), (Lines{kBanner, kInactive, kBanner, kInactive}));
  }
  if (!c.handle) {
    EXPECT_FALSE(WaitForPrompt(1000)) << "asked again";
    EXPECT_EQ(ReadStoredHandle(), std::nullopt);
  }
  if (c.draft_back) {
    EXPECT_TRUE(WaitUntil([&] { return TextOf(ClientScene::Input()) == kDraft; }, 6000));
  }
}

const Ending kEndings[] = {
    {"CloseInTheRolloverPause", Ender::kClose, "", false, 4000, 9},
    {"CloseWithAStuckBox", Ender::kClose, "--sticky-input", false, 4500, 0},
    {"ExitWhileTheClientHangsInsideALine", Ender::kExit, "--hang-on-line 3 --hang-ms 10000", false,
     4500, 3, true,
     false},
    {"EndSessionInTheRolloverPause", Ender::kEndSession, "", false, 2000, 9},
    {"EndSessionWithAStuckBox", Ender::kEndSession, "--sticky-input", false, 2000, 0},
    {"EndSessionWithASilentClient", Ender::kEndSession, "--hang-after 3000 --hang-ms 4500", true,
     2000, 2},
    {"EndSessionWithoutAHandle", Ender::kEndSession, "", false, 2000, 0, false},
};
INSTANTIATE_TEST_SUITE_P(Endings, IdlerExit, ::testing::ValuesIn(kEndings),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace wendrel::e2e
