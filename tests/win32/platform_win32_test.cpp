// What only the real window system shows about the platform layer: sends
// to windows that hang or are not there, and the event loop's limits. Reading,
// setting and menus are the automation tests' daily bread.
#include "automation/platform_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

#include "winutil/event_loop_win32.h"

namespace wendrel {
namespace {

unsigned MsSince(ULONGLONG start) { return static_cast<unsigned>(GetTickCount64() - start); }

// What the probe window does with WM_APP and WM_COMMAND.
std::function<void(UINT, WPARAM)> g_handler;

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if ((message != WM_APP && message != WM_COMMAND) || !g_handler)
    return DefWindowProcA(hwnd, message, wparam, lparam);
  g_handler(message, wparam);
  return 0;
}

// This thread's queue empty before and after each test, WM_QUIT included,
// and a window of this thread that counts the WM_APP it is handed.
class RealPlatform : public ::testing::Test {
 protected:
  static void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  void SetUp() override {
    Drain();
    SetWindowLongPtrA(probe_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeProc));
    g_handler = [this](UINT message, WPARAM) {
      if (message != WM_APP) return;
      ++seen_;
      if (on_app_) on_app_();
    };
  }
  void TearDown() override {
    g_handler = nullptr;
    DestroyWindow(probe_);
    Drain();
  }
  void Post() { PostMessageA(probe_, WM_APP, 0, 0); }

  Win32Platform p_;
  Win32EventLoop loop_;
  HWND probe_ = CreateWindowExA(0, "Static", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  int seen_ = 0;
  std::function<void()> on_app_;
};

// Messages without pointers only: a send to a window of this process that
// timed out may still be handled later, with whatever it was handed.
TEST_F(RealPlatform, HungWindowCostsOneBoundedSendWhileOurWindowsAnswer) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<HWND> hung{nullptr};
  std::thread hung_thread([&] {
    hung =
        CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    WaitForSingleObject(release, 20000);
    DestroyWindow(hung);
  });
  while (!hung) Sleep(1);
  const Hwnd target = FromHwnd(hung);

  std::thread asker([&] {
    Sleep(200);
    DWORD_PTR unused = 0;
    SendMessageTimeoutA(probe_, WM_APP, 0, 0, SMTO_NORMAL, 5000, &unused);
  });
  ULONGLONG start = GetTickCount64();
  const SendResult r = p_.Send(target, WM_NULL, 0, 0);
  const unsigned took = MsSince(start);
  EXPECT_EQ(seen_, 1) << "our window waited for the send";
  EXPECT_EQ(r.outcome, SendOutcome::kTimedOut);
  EXPECT_GE(took, 1000u);
  EXPECT_LE(took, 2500u);

  Win32Platform quick(100);
  start = GetTickCount64();
  EXPECT_FALSE(quick.Responds(target));
  EXPECT_EQ(quick.GetTextLength(target), 0);
  EXPECT_FALSE(quick.SendChar(target, 13));
  EXPECT_FALSE(quick.SendMouse(target, WM_LBUTTONDOWN));
  EXPECT_LT(MsSince(start), 800u) << "more than one send each";
  EXPECT_TRUE(quick.PostKey(target, WM_KEYDOWN, VK_SPACE)) << "a post waits for nobody";
  SetEvent(release);
  hung_thread.join();
  asker.join();
  CloseHandle(release);
}

TEST_F(RealPlatform, GoneZeroAndBroadcastHandlesReadAsAbsent) {
  HWND gone =
      CreateWindowExA(0, "Edit", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(p_.SetText(FromHwnd(gone), "gone soon"), Sent::kTaken);
  DestroyWindow(gone);
  for (HWND hwnd : {gone, HWND(nullptr), HWND_BROADCAST}) {
    SCOPED_TRACE(std::to_string(reinterpret_cast<std::uintptr_t>(hwnd)));
    const Hwnd h = FromHwnd(hwnd);
    char buffer[16] = "stale";
    std::size_t copied = 99;
    EXPECT_FALSE(p_.Responds(h));
    EXPECT_FALSE(p_.Exists(h));
    EXPECT_EQ(p_.GetTextLength(h), 0);
    EXPECT_FALSE(p_.GetTextInto(h, buffer, sizeof buffer, copied));
    EXPECT_EQ(copied, 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(p_.SetText(h, "x"), Sent::kFailed);
    EXPECT_FALSE(p_.SendChar(h, 13));
    EXPECT_FALSE(p_.SendMouse(h, WM_LBUTTONDOWN));
    EXPECT_FALSE(p_.PostKey(h, WM_KEYDOWN, VK_SPACE));
  }
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) << "posted to us";
  // A lookup under a window not found must not search the top level.
  EXPECT_NE(p_.FindWindowA("Static", "probe"), 0u);
  EXPECT_EQ(p_.FindWindowExA(0, 0, "Static", "probe"), 0u);
}

TEST_F(RealPlatform, DoEventsDispatchesAllThatWaitsAndLeavesQuitForTheLoop) {
  for (int i = 0; i < 3; ++i) Post();
  PostQuitMessage(7);
  loop_.DoEvents();
  loop_.DoEvents();
  EXPECT_EQ(seen_, 3);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

  // With the quit message waiting, a wait must still sleep: a spinning one
  // makes thousands of passes in 200 ms.
  PostQuitMessage(7);
  const ULONGLONG start = GetTickCount64();
  int passes = 0;
  for (; MsSince(start) < 200 && passes < 1000; ++passes) loop_.WaitForEvents(1000);
  EXPECT_LE(passes, 10);
}

TEST_F(RealPlatform, DoEventsEndsWhenAHandlerKeepsPosting) {
  on_app_ = [this] { Post(); };
  Post();
  loop_.DoEvents();
  EXPECT_LE(seen_, 1000);
}

// Each message waits (and so pumps) and brings another: the nesting must
// stop well before the stack does.
TEST_F(RealPlatform, DoEventsNestsOnlySoDeep) {
  int depth = 0, deepest = 0;
  on_app_ = [&] {
    deepest = std::max(deepest, ++depth);
    if (seen_ < 1000) Post();
    loop_.DoEvents();
    --depth;
  };
  Post();
  loop_.DoEvents();
  EXPECT_GE(deepest, 2);
  EXPECT_LE(deepest, 64);
}

TEST_F(RealPlatform, DoEventsGivesKeysToTheDialogWindowOnlyOnceRegistered) {
  HWND box =
      CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 10, 10, probe_, HMENU(101), nullptr, nullptr);
  for (bool registered : {false, true}) {
    SCOPED_TRACE(registered ? "registered" : "not registered");
    bool ok = false;
    g_handler = [&](UINT message, WPARAM w) {
      ok = ok || (message == WM_COMMAND && LOWORD(w) == IDOK);
    };
    Win32EventLoop p;
    p.SetDialogWindow(registered ? probe_ : nullptr);
    PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    p.DoEvents();
    EXPECT_EQ(ok, registered);
  }
}

TEST_F(RealPlatform, WaitForEventsSleepsUntilAMessageOrTheTimeOut) {
  ULONGLONG start = GetTickCount64();
  loop_.WaitForEvents(200);
  EXPECT_GE(MsSince(start), 150u);
  EXPECT_LE(MsSince(start), 1500u);
  // Already looked at but not yet handled: still waiting input.
  Post();
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  start = GetTickCount64();
  loop_.WaitForEvents(3000);
  EXPECT_LE(MsSince(start), 500u);
}

}  // namespace
}  // namespace wendrel
