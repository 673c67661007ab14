// The idler itself, as its user meets it: started beside the simulated
// client, answering its prompt, idling, and signing off, with the exact
// lines that reach the room.
#include <gtest/gtest.h>

#include "app/form1_ids.h"
#include "automation/client_contract.h"
#include "automation/text_styles.h"
#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

constexpr unsigned kWaitMs = 10000;
constexpr char kStyleSettings[] = "[zq7]\r\nascii=~\r\nascii color=FFFFFF\r\ntext color=000000\r\n";

// The lines as the room gets them: bold word starts, then the markup of a
// newer client styled by kStyleSettings.
std::string Posted(const std::string& line) {
  return "</html><font face=\"arial\" color=#FFFFFF>~<font color=#000000>" + BoldWordStarts(line);
}

// "· wèndrel ïdler by: zarnik": middle dot, e grave, i diaeresis.
const std::string kBanner = "\xB7 w\xE8ndrel \xEF" "dler by: zarnik";
const std::string kActive = "\xB7 now active., id: ";
const std::string kInactive = "\xB7 now unactive., id: ";

// A client of version 4 with a buddy list, and the idler in its own folder.
struct IdlerScene {
  TempDir dir;
  StoredHandleScope handle;
  SimulatedClient client;
  IdlerProcess idler;

  explicit IdlerScene(const std::optional<std::string>& stored) : handle(stored) {
    dir.Write("zq7.ini", kStyleSettings);
    client = SimulatedClient::Start(
        dir, {"--version", "4", "--room", "Lobby", "--buddy", "nightowl's Buddy List"});
    if (client) idler = IdlerProcess::Start(dir);
  }
  bool up() const { return client && idler; }
  std::vector<std::string> Chat() const { return client.Chat(); }
  bool WaitForLines(std::size_t count) const {
    return client.transcript().WaitFor("chat", count, kWaitMs);
  }
  std::string Caption(int id) const { return TextOf(idler.Control(id)); }
};

TEST(IdlerStart, FirstRunAsksForTheHandleStoresItAndSignsOn) {
  IdlerScene scene(std::nullopt);
  ASSERT_TRUE(scene.up());
  HWND prompt = WaitForPrompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_FALSE(IsWindowVisible(scene.idler.window())) << "shown before the load handler ended";
  ASSERT_TRUE(AnswerPrompt(prompt, "nightowl"));
  ASSERT_TRUE(scene.WaitForLines(2));
  EXPECT_EQ(scene.Chat(), (std::vector<std::string>{Posted(kBanner), Posted(kActive + "nightowl")}));
  EXPECT_EQ(ReadStoredHandle(), std::optional<std::string>("nightowl"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(scene.idler.window()) != FALSE; }, kWaitMs));
}

TEST(IdlerStart, StoredHandleSignsOnAtOnceInItsPlaceOnTop) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.WaitForLines(2));
  EXPECT_EQ(scene.Chat(), (std::vector<std::string>{Posted(kBanner), Posted(kActive + "nightowl")}));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(scene.idler.window()) != FALSE; }, kWaitMs));
  EXPECT_EQ(FindWindowA(kDialogClass, "wendrel idler"), nullptr);

  RECT r{};
  GetWindowRect(scene.idler.window(), &r);
  EXPECT_EQ(r.left, 326);
  EXPECT_EQ(r.top, 215);
  EXPECT_EQ(r.right - r.left, 153);
  EXPECT_EQ(r.bottom - r.top, 129);
  EXPECT_TRUE(GetWindowLongA(scene.idler.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  EXPECT_EQ(scene.Caption(kLabel7Id), "0");
  EXPECT_EQ(scene.Caption(kLabel6Id), "0");
  EXPECT_EQ(scene.Caption(kLabel1Id), "0");
  EXPECT_EQ(scene.Caption(kText2Id), "Room?");
}

TEST(IdlerIdle, OnTickAndOffPostTheIdleLines) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.WaitForLines(2));

  scene.idler.Click(kCommand1Id);
  ASSERT_TRUE(scene.WaitForLines(3));
  // A real minute is too long for a test: the tick is posted.
  scene.idler.Tick();
  ASSERT_TRUE(scene.WaitForLines(5));
  EXPECT_EQ(scene.Caption(kLabel1Id), "1");
  scene.idler.Click(kCommand6Id);
  ASSERT_TRUE(scene.WaitForLines(6));
  ASSERT_TRUE(scene.idler.Settle());

  const std::vector<std::string> chat = scene.Chat();
  EXPECT_EQ(std::vector<std::string>(chat.begin() + 2, chat.end()),
            (std::vector<std::string>{
                Posted("\xB7 nightowl: has started idle., aim: nightowl"),
                Posted("\xB7 nightowl: has been idle 0/d 0/h 1/m"),
                Posted("\xB7 aim: nightowl aol: 4"),
                Posted("\xB7 nightowl: was idle for 0/d 0/h 1/m"),
            }));
  EXPECT_EQ(scene.Caption(kLabel1Id), "0");

  // Idle mode is off: a late tick counts and posts nothing.
  scene.idler.Tick();
  ASSERT_TRUE(scene.idler.Settle());
  EXPECT_EQ(scene.Caption(kLabel1Id), "0");
  EXPECT_EQ(scene.Chat().size(), 6u);
}

TEST(IdlerExit, ExitPostsTheSignOffOnceAndEnds) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.WaitForLines(2));
  scene.idler.Click(kCommand3Id);
  EXPECT_EQ(scene.idler.process().WaitForExit(kWaitMs), std::optional<DWORD>(0));
  const std::vector<std::string> chat = scene.Chat();
  EXPECT_EQ(std::vector<std::string>(chat.begin() + 2, chat.end()),
            (std::vector<std::string>{Posted(kBanner), Posted(kInactive + "nightowl")}));
}

TEST(IdlerExit, PlatformClosePostsTheSignOffTwice) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.WaitForLines(2));
  PostMessageA(scene.idler.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(scene.idler.process().WaitForExit(kWaitMs).has_value());
  const std::vector<std::string> chat = scene.Chat();
  const std::string banner = Posted(kBanner), status = Posted(kInactive + "nightowl");
  EXPECT_EQ(std::vector<std::string>(chat.begin() + 2, chat.end()),
            (std::vector<std::string>{banner, status, banner, status}));
}

TEST(IdlerExit, ExitWithoutHandleAndPromptCancelledKeepsRunning) {
  IdlerScene scene(std::nullopt);
  ASSERT_TRUE(scene.up());
  HWND prompt = WaitForPrompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(CancelPrompt(prompt));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(scene.idler.window()) != FALSE; }, kWaitMs));

  scene.idler.Click(kCommand3Id);
  prompt = WaitForPrompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(CancelPrompt(prompt));
  EXPECT_TRUE(scene.idler.Settle());
  EXPECT_TRUE(scene.idler.process().Running());
  EXPECT_TRUE(IsWindowVisible(scene.idler.window()));
  EXPECT_TRUE(scene.Chat().empty());
  EXPECT_EQ(ReadStoredHandle(), std::nullopt);
}

}  // namespace
}  // namespace wendrel::e2e
