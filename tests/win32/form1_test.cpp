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

// Left, top, width and height in pixels.
std::vector<long> Box(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }
template <typename Layout>
std::vector<long> Box(const Layout& s, const ScreenDpi& dpi) {
  return {TwipsToPixels(s.left, dpi.x), TwipsToPixels(s.top, dpi.y), TwipsToPixels(s.width, dpi.x),
          TwipsToPixels(s.height, dpi.y)};
}

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
  EXPECT_EQ(Box(r), Box(kForm1Geometry, dpi));

  for (const ControlLayout& c : Form1Controls()) {
    HWND item = h.Item(c.id);
    ASSERT_TRUE(item) << c.name;
    const char* cls = c.kind == ControlKind::kLabel ? "Static" : c.kind == ControlKind::kButton ? "Button" : "Edit";
    EXPECT_EQ(ClassOf(item), cls) << c.name;
    EXPECT_EQ(Text(item), c.caption) << c.name;
    RECT cr{};
    GetWindowRect(item, &cr);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&cr), 2);
    EXPECT_EQ(Box(cr), Box(c, dpi)) << c.name;
    const LONG item_style = GetWindowLongA(item, GWL_STYLE);
    EXPECT_EQ((item_style & WS_TABSTOP) != 0, c.kind != ControlKind::kLabel) << c.name;
    if (c.kind == ControlKind::kLabel) {
      EXPECT_EQ((item_style & SS_NOTIFY) != 0, c.clickable) << c.name;
    }
  }
  const int tab_order[] = {kCommand1Id, kCommand2Id, kCommand3Id, kCommand4Id,
                           kText2Id,    kCommand5Id, kCommand6Id, kCommand1Id};
  for (size_t i = 0; i + 1 < std::size(tab_order); ++i) {
    HWND next = GetNextDlgTabItem(hwnd, h.Item(tab_order[i]), FALSE);
    EXPECT_EQ(GetDlgCtrlID(next), tab_order[i + 1]) << "Tab after " << tab_order[i];
  }
}

// The sign-on lines, or the prompt and then the lines with its answer, come
// before the window shows; the window is topmost by then.
TEST(Form1, LoadSignsOnBeforeTheWindowShows) {
  const struct {
    const char* name;
    std::string handle;
    std::vector<std::string> answers;
    std::string signed_on_as;
  } cases[] = {
      {"stored handle", "nightowl", {}, "nightowl"},
      {"prompt answered", "", {"owl"}, "owl"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h(c.handle, c.answers);
    ASSERT_TRUE(h.form);
    h.form->Load();
    EXPECT_EQ(h.Posted(), SignLines(kActiveStatus, c.signed_on_as));
    EXPECT_EQ(h.world.store.handle(), c.signed_on_as);
    EXPECT_EQ(h.world.prompt.calls, c.handle.empty() ? 1 : 0);
    if (c.handle.empty()) {
      EXPECT_EQ(h.world.prompt.last_text, kPromptText);
      EXPECT_EQ(h.world.prompt.last_title, kPromptTitle);
    }
    EXPECT_FALSE(IsWindowVisible(h.form->hwnd()));
    EXPECT_TRUE(GetWindowLongA(h.form->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    h.form->Show(SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(h.form->hwnd()));
  }
}

// "Exit", the menu's "exit" and "x" share one handler: with a handle it
// signs off once and ends the program, and no Unload or Terminate lines
// follow; without one it asks, and the program goes on either way.
TEST(Form1, ExitControlsSignOffOnceAndEndTheProgram) {
  using Use = void (*)(const Harness&);
  const Use button = [](const Harness& h) { h.Click(kCommand3Id); };
  const Use menu = [](const Harness& h) { h.Command(kMenuExtId); };
  const Use x = [](const Harness& h) { h.ClickLabel(kLabel5Id); };
  const struct {
    const char* name;
    Use use;
    std::string handle;
    std::vector<std::string> answers;
    std::vector<std::string> want_lines;
    int want_ends;
  } cases[] = {
      {"Exit button", button, "nightowl", {}, SignLines(kInactiveStatus, "nightowl"), 1},
      {"exit menu item", menu, "nightowl", {}, SignLines(kInactiveStatus, "nightowl"), 1},
      {"x label", x, "nightowl", {}, SignLines(kInactiveStatus, "nightowl"), 1},
      {"no handle, prompt cancelled", button, "", {}, {}, 0},
      {"no handle, prompt answered", x, "", {"owl"}, SignLines(kInactiveStatus, "owl"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h(c.handle, c.answers);
    ASSERT_TRUE(h.form);
    c.use(h);
    EXPECT_EQ(h.ends, c.want_ends);
    EXPECT_EQ(h.Posted(), c.want_lines);
    EXPECT_EQ(h.world.prompt.calls, c.handle.empty() ? 1 : 0);
    if (c.want_ends == 0) {
      EXPECT_FALSE(h.form->Destroyed());
      continue;
    }
    SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
    h.form->Terminate();
    EXPECT_EQ(h.Posted(), c.want_lines);
    EXPECT_EQ(h.ends, 1);
  }
}

// Any other close runs Unload and then Terminate, once, each posting the
// sign-off pair or asking for the handle; a cancelled prompt does not
// cancel the close.
TEST(Form1, PlatformCloseSignsOffInUnloadAndAgainInTerminate) {
  const struct {
    const char* name;
    std::string handle;
    std::vector<std::string> answers;
    std::vector<std::string> unload_lines, terminate_lines;
  } cases[] = {
      {"stored handle", "nightowl", {}, SignLines(kInactiveStatus, "nightowl"), SignLines(kInactiveStatus, "nightowl")},
      {"Unload's prompt cancelled, Terminate's answered", "", {"", "owl"}, {}, SignLines(kInactiveStatus, "owl")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h(c.handle, c.answers);
    ASSERT_TRUE(h.form);
    SendMessageA(h.form->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(h.form->Destroyed());
    EXPECT_EQ(h.Posted(), c.unload_lines);
    h.form->Terminate();
    h.form->Terminate();
    std::vector<std::string> both = c.unload_lines;
    both.insert(both.end(), c.terminate_lines.begin(), c.terminate_lines.end());
    EXPECT_EQ(h.Posted(), both);
    EXPECT_EQ(h.world.prompt.calls, c.handle.empty() ? 2 : 0);
    EXPECT_EQ(h.ends, 0);
  }
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
  EXPECT_EQ(h.Posted(), Bolded({IdleStartLine("nightowl", "owl99"), BannerLine(), kInactiveStatus + std::string("nightowl")}));
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

// A click on the minus or the title minimises the window and idle mode goes
// on; a right press on the title only drags. A press on the title starts
// the system's move loop, which the posted release ends; a press that moved
// nothing counts as a click.
TEST(Form1, MinusAndTitleClicksMinimise) {
  const struct {
    const char* name;
    int label;
    UINT press;
    bool minimised;
  } cases[] = {
      {"minus", kLabel3Id, WM_LBUTTONDOWN, true},
      {"title", kLabel4Id, WM_LBUTTONDOWN, true},
      {"right press on the title", kLabel4Id, WM_RBUTTONDOWN, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Harness h("nightowl");
    ASSERT_TRUE(h.form);
    h.form->Show(SW_SHOWNOACTIVATE);
    h.Click(kCommand1Id);
    if (c.label == kLabel4Id) PostMessageA(h.Item(kLabel4Id), WM_LBUTTONUP, 0, 0);
    SendMessageA(h.Item(c.label), c.press, c.press == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, 0);
    EXPECT_EQ(IsIconic(h.form->hwnd()) != 0, c.minimised);
    EXPECT_TRUE(h.form->TimerEnabled()) << "idle mode goes on";
  }
}

}  // namespace
}  // namespace wendrel
