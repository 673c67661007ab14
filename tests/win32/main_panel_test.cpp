// The main window in-process beside the simulated client in a version 5
// room: what only this process sees (control boxes, stacking, focus, an
// exit while lines are still being typed, minimising). Sign-on, idle, a
// room entered and exit as the user meets them are the end-to-end tests'.
#include "app/main_panel_win32.h"

#include <gtest/gtest.h>

#include <tuple>

#include "app/main_panel_layout.h"
#include "tests/support/app_doubles.h"
#include "tests/support/texts.h"
#include "winutil/twips.h"

namespace wendrel::testing {
namespace {

Lines SignOff(const std::string& handle, int times = 1) {
  Lines lines;
  for (int i = 0; i < times; ++i) lines.insert(lines.end(), {kBanner, InactiveLine(handle)});
  return InRoom(lines);
}

struct Panel : TestServices {
  explicit Panel(const std::string& handle, const Lines& answers = {})
      : TestServices(handle, answers),
        panel(MainPanel::Create(GetModuleHandleA(nullptr), services, [this] { ++ends; })) {}
  HWND Item(int id) const { return GetDlgItem(panel->hwnd(), id); }
  void Send(UINT message, WPARAM wp = 0) const { SendMessageA(panel->hwnd(), message, wp, 0); }

  SimThread sim{kOwlsClient};
  int ends = 0;
  std::unique_ptr<MainPanel> panel;
};

TEST(MainPanel, ControlsStandAsDesignedAndTakeTheFocus) {
  Panel p("nightowl");
  HWND hwnd = p.panel->hwnd();
  const ScreenDpi dpi = GetScreenDpi();
  for (const ControlLayout& c : MainPanelControls()) {
    SCOPED_TRACE(c.name);
    RECT r{};
    GetWindowRect(p.Item(c.id), &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    const int x = TwipsToPixels(c.left, dpi.x), y = TwipsToPixels(c.top, dpi.y);
    EXPECT_EQ(std::vector<long>({r.left, r.top, r.right, r.bottom}),
              std::vector<long>(
                  {x, y, x + TwipsToPixels(c.width, dpi.x), y + TwipsToPixels(c.height, dpi.y)}));
    EXPECT_EQ((GetWindowLongA(p.Item(c.id), GWL_STYLE) & SS_NOTIFY) != 0,
              c.kind == ControlKind::kLabel && c.clickable);
    // The room box alone is sunk into the panel.
    EXPECT_EQ((GetWindowLongA(p.Item(c.id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0,
              c.kind == ControlKind::kTextBox);
    // The room box draws itself: it needs the panel's font too.
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(p.Item(c.id), WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
  }
  // The arrow over the panel (its icon is the program's, tested end to end).
  EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HCURSOR),
            reinterpret_cast<ULONG_PTR>(LoadCursorA(nullptr, IDC_ARROW)));
  // Where boxes overlap, the one higher in the stack is seen; Tab walks the
  // stack, stopping at the buttons and the box only.
  std::vector<int> stack, designed;
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    stack.push_back(GetDlgCtrlID(c));
  for (const ControlLayout* c : CreationOrder()) designed.push_back(c->id);
  EXPECT_EQ(stack, designed);
  const int tab[] = {kIdleOnButton, kHiddenIdleOffButton, kExitButton,   kOptionsButton,
                     kRoomBox,      kEnterRoomButton,     kIdleOffButton};
  for (std::size_t i = 0; i < std::size(tab); ++i)
    EXPECT_EQ(GetNextDlgTabItem(hwnd, p.Item(tab[i]), FALSE), p.Item(tab[(i + 1) % std::size(tab)]))
        << tab[i];

  p.panel->Show(SW_SHOW);
  EXPECT_EQ(GetFocus(), p.Item(kIdleOnButton));
  // Focus given to the window itself goes on to a control, so that the
  // keys work: "Idle On" while the window was never left.
  SetFocus(hwnd);
  EXPECT_EQ(GetFocus(), p.Item(kIdleOnButton));
}

// The Options menu's items open their boxes, captioned with the program's
// name, and so does Windows keeping the program from the client, once a
// run; the test's timer reads and closes each from inside its modal loop.
std::string g_box = "no box";
TEST(MainPanel, MenuItemsAndTheClientsRightsShowTheirBoxes) {
  Panel p("nightowl");
  const struct { UINT message; WPARAM id; std::string text; } cases[] = {
      {WM_COMMAND, kAboutMenuItem, AboutText()}, {WM_COMMAND, kGreetsMenuItem, GreetsText()},
      {WM_COMMAND, kContactMenuItem, ContactText()}, {kClientDeniedMessage, 0, kDeniedText},
      {kClientDeniedMessage, 0, "no box"}};
  for (const auto& c : cases) {
    g_box = "no box";
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
      if (HWND box = FindWindowA("#32770", "wendrel idler")) {
        g_box = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
      }
    });
    p.Send(c.message, c.id);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_box, c.text) << c.message << " " << c.id;
  }
}

// The menu's "exit" and "x" do what "Exit" does: with a handle, sign off
// once and end, with nothing from Unload or Terminate after. After a prompt
// the program goes on; any other close signs off in Unload and again in
// Terminate, which runs once, and never asks: without a handle it posts
// nothing.
TEST(MainPanel, ExitControlsAndPlatformClose) {
  const struct {
    const char* name; WPARAM command; const char* handle; Lines answers, first; int ends; Lines all;
    std::size_t asked = 1;
  } cases[] = {
      {"exit menu item", kExitMenuItem, "nightowl", {}, SignOff("nightowl"), 1, SignOff("nightowl"),
       0},
      {"x, prompt answered", MAKEWPARAM(kExitLabel, STN_CLICKED), "", {"owl"}, SignOff("owl"), 0,
       SignOff("owl", 3)},
      {"close without a handle", 0, "", {"owl"}, {}, 0, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Panel p(c.handle, c.answers);
    if (c.command) p.Send(WM_COMMAND, c.command);
    ASSERT_TRUE(p.Flush());
    EXPECT_EQ(p.sim.Chat(), c.first);
    EXPECT_EQ(p.ends, c.ends);
    p.Send(WM_CLOSE);
    p.panel->Terminate();
    p.panel->Terminate();
    EXPECT_EQ(p.sim.Chat(), c.all);
    EXPECT_EQ(p.asked.size(), c.asked);
    EXPECT_EQ(p.panel->Destroyed(), c.ends == 0);
    // The platform's close ends the message loop, and the program, with
    // exit code 0; a window destroyed with its object ends nothing.
    MSG quit{};
    EXPECT_EQ(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, c.ends == 0);
    EXPECT_EQ(quit.wParam, 0u);
    p.panel.reset();
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
}

// Ticks count only while idle mode is on, and the counters are the labels:
// a tick counts on from what they show, and Idle Off (here the unseen one)
// reads them and sets them back; the idle tests have the rollover. An exit
// clicked while lines are still being typed hands its own over and ends
// the program once all are out, in order; no tick is handled after.
TEST(MainPanel, IdleSessionEndedByAnExitWhileLinesAreTyped) {
  Panel p("nightowl");
  p.Send(WM_TIMER, kIdleTimer);
  p.Send(WM_COMMAND, kIdleOnButton);
  p.Send(WM_TIMER, kIdleTimer + 1);
  for (auto [id, caption] : {std::pair{kDaysLabel, "4"}, {kHoursLabel, "22"}, {kMinutesLabel, "7"}})
    SetTextOf(p.Item(id), caption);
  p.Send(WM_TIMER, kIdleTimer);
  p.Send(WM_COMMAND, kHiddenIdleOffButton);
  p.Send(WM_TIMER, kIdleTimer);
  EXPECT_EQ(
      TextOf(p.Item(kDaysLabel)) + TextOf(p.Item(kHoursLabel)) + TextOf(p.Item(kMinutesLabel)),
      "000");
  p.Send(WM_COMMAND, kIdleOnButton);
  p.Send(WM_COMMAND, kExitButton);
  EXPECT_EQ(p.ends, 1);
  p.Send(WM_TIMER, kIdleTimer);
  EXPECT_EQ(p.sim.Chat(),
            InRoom(Lines{kStart} + TickLines("4/d 22/h 8/m") +
                   Lines{FinalLine("4/d 22/h 8/m"), kStart, kBanner, InactiveLine("nightowl")}));
}

// A press on the minus or the title minimises; a right press on the title
// only drags. The posted release ends the move loop a press on the title
// starts; one that moved nothing was a click.
TEST(MainPanel, MinusAndTitleClicksMinimise) {
  for (auto [label, press, minimised] : {std::tuple{kMinimiseLabel, WM_LBUTTONDOWN, true},
                                         {kTitleLabel, WM_LBUTTONDOWN, true},
                                         {kTitleLabel, WM_RBUTTONDOWN, false}}) {
    Panel p("nightowl");
    p.panel->Show(SW_SHOWNOACTIVATE);
    PostMessageA(p.Item(kTitleLabel), WM_LBUTTONUP, 0, 0);
    SendMessageA(p.Item(label), press, 0, 0);
    EXPECT_EQ(IsIconic(p.panel->hwnd()) != 0, minimised)
        << label << (press == WM_LBUTTONDOWN ? " left" : " right");
  }
}

}  // namespace
}  // namespace wendrel::testing
