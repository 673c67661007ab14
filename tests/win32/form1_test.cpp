// The real main window, driven in-process against the fake desktop: the
// chat client is simulated, the window and its controls are real.
#include "app/form1_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/announcements.h"
#include "app/form1_ids.h"
#include "app/form1_layout.h"
#include "tests/unit/app_world.h"
#include "winutil/twips.h"

namespace wendrel {
namespace {

std::string Text(HWND hwnd) {
  char buffer[256] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char buffer[64] = {};
  GetClassNameA(hwnd, buffer, sizeof buffer);
  return buffer;
}

struct Harness {
  explicit Harness(const std::string& handle = "", std::vector<std::string> answers = {})
      : world(handle, std::move(answers)) {
    form = Form1::Create(GetModuleHandleA(nullptr), world.services, [this] { ++ends; });
  }
  ~Harness() {
    form.reset();
    // A window closed by the platform ends the message loop; no loop runs
    // here, so its quit message must not reach the next test's dialogs.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  HWND Item(int id) const { return GetDlgItem(form->hwnd(), id); }
  void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  void ClickLabel(int id) const { SendMessageA(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, 0); }
  void Command(int id) const { SendMessageA(form->hwnd(), WM_COMMAND, id, 0); }
  void Tick(unsigned id = kTimer1Id) const { SendMessageA(form->hwnd(), WM_TIMER, id, 0); }
  std::vector<std::string> Posted() const { return world.Posted(); }

  AppWorld world;
  int ends = 0;
  std::unique_ptr<Form1> form;
};

std::vector<std::string> SignLines(const char* status, const std::string& handle) {
  return Bolded({BannerLine(), status + handle});
}

TEST(Form1, WindowAndControlsStandAsDesigned) {
  Harness h;
  ASSERT_TRUE(h.form);
  HWND hwnd = h.form->hwnd();
  const ScreenDpi dpi = GetScreenDpi();
  EXPECT_EQ(ClassOf(hwnd), kForm1Class);
  EXPECT_EQ(Text(hwnd), "B");
  EXPECT_FALSE(IsWindowVisible(hwnd)) << "shown only after loading";
  const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_BORDER));
  RECT r{};
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.left, TwipsToPixels(4890, dpi.x));
  EXPECT_EQ(r.top, TwipsToPixels(3225, dpi.y));
  EXPECT_EQ(r.right - r.left, TwipsToPixels(2295, dpi.x));
  EXPECT_EQ(r.bottom - r.top, TwipsToPixels(1935, dpi.y));

  for (const ControlSpec& c : Form1Controls()) {
    HWND item = h.Item(c.id);
    ASSERT_TRUE(item) << c.name;
    const char* cls = c.kind == ControlKind::kLabel ? "Static" : c.kind == ControlKind::kButton ? "Button" : "Edit";
    EXPECT_EQ(ClassOf(item), cls) << c.name;
    EXPECT_EQ(Text(item), c.caption) << c.name;
    RECT cr{};
    GetWindowRect(item, &cr);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&cr), 2);
    EXPECT_EQ(cr.left, TwipsToPixels(c.left, dpi.x)) << c.name;
    EXPECT_EQ(cr.top, TwipsToPixels(c.top, dpi.y)) << c.name;
    if (c.kind != ControlKind::kTextBox) {
      EXPECT_EQ(cr.right - cr.left, TwipsToPixels(c.width, dpi.x)) << c.name;
      EXPECT_EQ(cr.bottom - cr.top, TwipsToPixels(c.height, dpi.y)) << c.name;
    }
    const LONG item_style = GetWindowLongA(item, GWL_STYLE);
    EXPECT_EQ((item_style & WS_TABSTOP) != 0, c.kind != ControlKind::kLabel) << c.name;
    if (c.kind == ControlKind::kLabel) {
      EXPECT_EQ((item_style & SS_NOTIFY) != 0, c.clickable) << c.name;
    }
  }
}

TEST(Form1, TabWalksTheTabIndexOrder) {
  Harness h;
  ASSERT_TRUE(h.form);
  const int order[] = {kCommand1Id, kCommand2Id, kCommand3Id, kCommand4Id,
                       kText2Id,    kCommand5Id, kCommand6Id, kCommand1Id};
  for (size_t i = 0; i + 1 < std::size(order); ++i) {
    HWND next = GetNextDlgTabItem(h.form->hwnd(), h.Item(order[i]), FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), order[i + 1]) << "after " << order[i];
  }
}

TEST(Form1, LoadPostsTheSignOnBeforeTheWindowShows) {
  Harness h("nightowl");
  ASSERT_TRUE(h.form);
  h.form->Load();
  EXPECT_EQ(h.Posted(), SignLines(kActiveStatus, "nightowl"));
  EXPECT_FALSE(IsWindowVisible(h.form->hwnd()));
  EXPECT_TRUE(GetWindowLongA(h.form->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(h.world.prompt.calls, 0);
  h.form->Show(SW_SHOWNOACTIVATE);
  EXPECT_TRUE(IsWindowVisible(h.form->hwnd()));
}

TEST(Form1, LoadWithoutHandleAsksAndSignsOnWithTheAnswer) {
  Harness h("", {"owl"});
  ASSERT_TRUE(h.form);
  h.form->Load();
  EXPECT_EQ(h.world.prompt.calls, 1);
  EXPECT_EQ(h.world.prompt.last_text, kPromptText);
  EXPECT_EQ(h.world.prompt.last_title, kPromptTitle);
  EXPECT_EQ(h.world.store.handle(), "owl");
  EXPECT_EQ(h.Posted(), SignLines(kActiveStatus, "owl"));
}

// "Exit", the menu's "exit" and "x" share one handler.
TEST(Form1, ExitControlsSignOffOnceAndEndTheProgram) {
  struct Case {
    const char* name;
    void (*use)(const Harness&);
  };
  const Case cases[] = {
      {"Exit button", [](const Harness& h) { h.Click(kCommand3Id); }},
      {"exit menu item", [](const Harness& h) { h.Command(kMenuExtId); }},
      {"x label", [](const Harness& h) { h.ClickLabel(kLabel5Id); }},
  };
  for (const Case& c : cases) {
    Harness h("nightowl");
    ASSERT_TRUE(h.form) << c.name;
    c.use(h);
    EXPECT_EQ(h.ends, 1) << c.name;
    EXPECT_EQ(h.Posted(), SignLines(kInactiveStatus, "nightowl")) << c.name;
    // No Unload or Terminate lines after an exit control.
    SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
    h.form->Terminate();
    EXPECT_EQ(h.Posted().size(), 2u) << c.name;
    EXPECT_EQ(h.ends, 1) << c.name;
  }
}

TEST(Form1, ExitWithoutHandleKeepsRunning) {
  Harness cancelled;
  ASSERT_TRUE(cancelled.form);
  cancelled.Click(kCommand3Id);
  EXPECT_EQ(cancelled.world.prompt.calls, 1);
  EXPECT_TRUE(cancelled.Posted().empty());
  EXPECT_EQ(cancelled.ends, 0);
  EXPECT_FALSE(cancelled.form->Destroyed());

  // Answered: the pair with the new handle, and still no end.
  Harness answered("", {"owl"});
  ASSERT_TRUE(answered.form);
  answered.Click(kCommand3Id);
  EXPECT_EQ(answered.Posted(), SignLines(kInactiveStatus, "owl"));
  EXPECT_EQ(answered.ends, 0);
  // The second exit finds the handle and ends.
  answered.Click(kCommand3Id);
  EXPECT_EQ(answered.ends, 1);
}

TEST(Form1, PlatformCloseSignsOffInUnloadAndAgainInTerminate) {
  Harness h("nightowl");
  ASSERT_TRUE(h.form);
  SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(h.form->Destroyed());
  EXPECT_EQ(h.Posted(), SignLines(kInactiveStatus, "nightowl"));
  h.form->Terminate();
  h.form->Terminate();  // runs once
  const std::vector<std::string> once = SignLines(kInactiveStatus, "nightowl");
  std::vector<std::string> twice = once;
  twice.insert(twice.end(), once.begin(), once.end());
  EXPECT_EQ(h.Posted(), twice);
  EXPECT_EQ(h.ends, 0);
}

TEST(Form1, CloseWithoutHandlePromptsInUnloadAndTerminate) {
  Harness h("", {"", "owl"});
  ASSERT_TRUE(h.form);
  SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(h.form->Destroyed()) << "a cancelled prompt does not cancel the close";
  EXPECT_TRUE(h.Posted().empty());
  h.form->Terminate();
  EXPECT_EQ(h.world.prompt.calls, 2);
  EXPECT_EQ(h.Posted(), SignLines(kInactiveStatus, "owl"));
}

TEST(Form1, TimerTicksOnlyWhileIdleModeIsOn) {
  Harness h("nightowl");
  ASSERT_TRUE(h.form);
  h.Tick();
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0") << "a tick while the timer is off";
  EXPECT_TRUE(h.Posted().empty());

  h.Click(kCommand1Id);
  EXPECT_TRUE(h.form->TimerEnabled());
  EXPECT_EQ(h.Posted(), Bolded({IdleStartLine("nightowl", "owl99")}));

  h.Tick(kTimer1Id + 1);
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0") << "another timer's id";
  h.Tick();
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "1");
  EXPECT_EQ(h.Posted().size(), 3u);

  // The hidden "Idle Off" does what the visible one does.
  h.Click(kCommand2Id);
  EXPECT_FALSE(h.form->TimerEnabled());
  EXPECT_EQ(h.Posted().back(), BoldWordStarts("\xB7 nightowl: was idle for 0/d 0/h 1/m"));  // middle dot
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0");
  h.Tick();
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0");

  h.Click(kCommand1Id);
  h.Tick();
  h.Click(kCommand6Id);
  EXPECT_FALSE(h.form->TimerEnabled());
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0");
}

TEST(Form1, CountersAreTheLabelsCaptions) {
  Harness h;
  ASSERT_TRUE(h.form);
  struct Case {
    Counter counter;
    int label;
  };
  const Case cases[] = {{Counter::kDays, kLabel7Id}, {Counter::kHours, kLabel6Id}, {Counter::kMinutes, kLabel1Id}};
  for (const Case& c : cases) {
    h.form->SetCounterText(c.counter, "23");
    EXPECT_EQ(Text(h.Item(c.label)), "23") << c.label;
    SendMessageA(h.Item(c.label), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("58"));
    EXPECT_EQ(h.form->CounterText(c.counter), "58") << c.label;
  }
  // Gone with the window, quietly.
  SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(h.form->CounterText(Counter::kMinutes), "");
  h.form->SetCounterText(Counter::kMinutes, "1");
  h.form->EnableTimer(true);
  EXPECT_FALSE(h.form->TimerEnabled());
}

// An exit clicked while a line is being typed only queues its lines; the
// program must end after they are out, not lose them.
TEST(Form1, ExitInsideATypedLineEndsAfterTheQueuedLines) {
  Harness h("nightowl");
  ASSERT_TRUE(h.form);
  bool typing_at_click = false;
  h.world.desktop.OnDoEvents(1, [&] {
    typing_at_click = h.world.desktop.Outbox().typing;
    h.Click(kCommand3Id);
    EXPECT_EQ(h.ends, 0) << "ended with lines still queued";
  });
  h.Click(kCommand1Id);
  EXPECT_TRUE(typing_at_click);
  EXPECT_EQ(h.ends, 1);
  std::vector<std::string> expected = Bolded({IdleStartLine("nightowl", "owl99")});
  const std::vector<std::string> sign_off = SignLines(kInactiveStatus, "nightowl");
  expected.insert(expected.end(), sign_off.begin(), sign_off.end());
  EXPECT_EQ(h.Posted(), expected);
  EXPECT_FALSE(IsWindowVisible(h.form->hwnd()));
  h.Tick();
  EXPECT_EQ(Text(h.Item(kLabel1Id)), "0") << "no handler runs after the end";
}

TEST(Form1, EnterPrReadsTheRoomBox) {
  Harness h("nightowl");
  ASSERT_TRUE(h.form);
  SetWindowTextA(h.Item(kText2Id), "night owls");
  h.Click(kCommand5Id);
  ASSERT_FALSE(h.world.desktop.Keywords().empty());
  // The newer clients' keyword box gets a blank after the address.
  EXPECT_EQ(h.world.desktop.Keywords().front(), "aol://2719:2-2-nightowls ");
}

TEST(Form1, MinusAndTitleClicksMinimise) {
  struct Case {
    const char* name;
    void (*click)(const Harness&);
  };
  const Case cases[] = {
      {"minus", [](const Harness& h) { h.ClickLabel(kLabel3Id); }},
      // The press starts the system's move loop, which the release ends;
      // a press that moved nothing counts as a click.
      {"title", [](const Harness& h) {
         PostMessageA(h.Item(kLabel4Id), WM_LBUTTONUP, 0, 0);
         h.ClickLabel(kLabel4Id);
       }},
  };
  for (const Case& c : cases) {
    Harness h("nightowl");
    ASSERT_TRUE(h.form) << c.name;
    h.form->Show(SW_SHOWNOACTIVATE);
    h.Click(kCommand1Id);
    c.click(h);
    EXPECT_TRUE(IsIconic(h.form->hwnd())) << c.name;
    EXPECT_TRUE(h.form->TimerEnabled()) << c.name << ": idle mode goes on";
  }
}

TEST(Form1, RightPressOnTheTitleDragsWithoutMinimising) {
  Harness h;
  ASSERT_TRUE(h.form);
  h.form->Show(SW_SHOWNOACTIVATE);
  PostMessageA(h.Item(kLabel4Id), WM_LBUTTONUP, 0, 0);
  SendMessageA(h.Item(kLabel4Id), WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_FALSE(IsIconic(h.form->hwnd()));
}

}  // namespace
}  // namespace wendrel
