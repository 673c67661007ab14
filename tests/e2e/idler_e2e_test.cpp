// The idler itself, as its user meets it: started beside the simulated
// client, asking for the handle, idling and signing off, with the exact
// bytes that reach the room.
#include <gtest/gtest.h>

#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

using Lines = std::vector<std::string>;

constexpr unsigned kWaitMs = 10000;
constexpr char kStyleSettings[] = "[zq7]\r\nascii=~\r\nascii color=FFFFFF\r\ntext color=000000\r\n";

// A newer client's markup styled by kStyleSettings, then the line with each
// word's start in bold.
std::string Posted(const std::string& bold) {
  return "</html><font face=\"arial\" color=#FFFFFF>~<font color=#000000>" + bold;
}
// Middle dot, e grave, i diaeresis.
const std::string kBanner = Posted("<b>\xB7</b> <b>w</b>\xE8ndrel <b>\xEF</b>dler <b>b</b>y: <b>z</b>arnik");
const std::string kActive = Posted("<b>\xB7</b> <b>n</b>ow <b>a</b>ctive., <b>i</b>d: <b>n</b>ightowl");
const std::string kInactive = Posted("<b>\xB7</b> <b>n</b>ow <b>u</b>nactive., <b>i</b>d: <b>n</b>ightowl");

// A client of version 4 with a buddy list, and the idler in the same folder
// as the style settings.
struct IdlerScene {
  StoredHandleScope handle;
  TempDir dir;
  bool styled = dir.Write("zq7.ini", kStyleSettings);
  SimulatedClient client{dir, "--version 4 --buddy \"nightowl's Buddy List\""};
  IdlerProcess idler{dir};

  explicit IdlerScene(const std::optional<std::string>& stored) : handle(stored) {}
  bool up() const { return styled && client.up() && idler.window(); }
  bool Shown() const {
    return WaitUntil([&] { return IsWindowVisible(idler.window()) != FALSE; }, kWaitMs);
  }
};

TEST(IdlerStart, FirstRunAsksForTheHandleStoresItAndSignsOn) {
  IdlerScene scene(std::nullopt);
  ASSERT_TRUE(scene.up());
  HWND prompt = WaitForPrompt();
  EXPECT_FALSE(IsWindowVisible(scene.idler.window())) << "shown before the load handler ended";
  ASSERT_TRUE(AnswerPrompt(prompt, "nightowl"));
  ASSERT_TRUE(scene.client.WaitForLines(2));
  EXPECT_EQ(scene.client.Chat(), (Lines{kBanner, kActive}));
  EXPECT_EQ(ReadStoredHandle(), std::optional<std::string>("nightowl"));
  EXPECT_TRUE(scene.Shown());
}

// One run with a stored handle: signed on before it shows, in its place on
// top; idle on, a tick, idle off; Exit signs off once and ends the process.
TEST(IdlerRun, StoredHandleSignsOnIdlesAndExitSignsOffOnce) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.Shown());
  EXPECT_EQ(scene.client.Chat().size(), 2u) << "shown before it signed on";
  RECT r{};
  GetWindowRect(scene.idler.window(), &r);
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
            (std::vector<LONG>{326, 215, 153, 129}));
  EXPECT_TRUE(GetWindowLongA(scene.idler.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(scene.idler.Caption(kText2Id), "Room?");

  scene.idler.Click(kCommand1Id);
  ASSERT_TRUE(scene.client.WaitForLines(3));
  scene.idler.Tick();
  ASSERT_TRUE(scene.client.WaitForLines(5));
  EXPECT_EQ(scene.idler.Caption(kLabel1Id), "1");
  scene.idler.Click(kCommand6Id);
  ASSERT_TRUE(scene.client.WaitForLines(6));
  ASSERT_TRUE(scene.idler.Settle());
  EXPECT_EQ(scene.idler.Caption(kLabel1Id), "0");
  // Idle mode is off: a late tick counts nothing and posts nothing.
  scene.idler.Tick();
  ASSERT_TRUE(scene.idler.Settle());
  EXPECT_EQ(scene.idler.Caption(kLabel1Id), "0");

  scene.idler.Click(kCommand3Id);
  EXPECT_EQ(scene.idler.process().WaitForExit(kWaitMs), std::optional<DWORD>(0));
  EXPECT_EQ(scene.client.Chat(),
            (Lines{
                kBanner,
                kActive,
                Posted("<b>\xB7</b> <b>n</b>ightowl: <b>h</b>as <b>s</b>tarted <b>i</b>dle., "
                       "<b>a</b>im: <b>n</b>ightowl"),
                Posted("<b>\xB7</b> <b>n</b>ightowl: <b>h</b>as <b>b</b>een <b>i</b>dle "
                       "<b>0</b>/d <b>0</b>/h <b>1</b>/m"),
                Posted("<b>\xB7</b> <b>a</b>im: <b>n</b>ightowl <b>a</b>ol: <b>4</b>"),
                Posted("<b>\xB7</b> <b>n</b>ightowl: <b>w</b>as <b>i</b>dle <b>f</b>or "
                       "<b>0</b>/d <b>0</b>/h <b>1</b>/m"),
                kBanner,
                kInactive,
            }));
}

TEST(IdlerExit, PlatformClosePostsTheSignOffTwice) {
  IdlerScene scene(std::string("nightowl"));
  ASSERT_TRUE(scene.up());
  ASSERT_TRUE(scene.client.WaitForLines(2));
  PostMessageA(scene.idler.window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(scene.idler.process().WaitForExit(kWaitMs).has_value());
  EXPECT_EQ(scene.client.Chat(), (Lines{kBanner, kActive, kBanner, kInactive, kBanner, kInactive}));
}

}  // namespace
}  // namespace wendrel::e2e
