#include "automation/platform_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "automation/client_contract.h"

namespace wendrel {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A window that answers one message as a test chooses; the rest go to the
// default procedure.
struct Probe {
  UINT message = 0;
  std::function<LRESULT(HWND, WPARAM, LPARAM)> answer;
};

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* probe = reinterpret_cast<Probe*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (probe != nullptr && probe->answer && message == probe->message) {
    return probe->answer(hwnd, wparam, lparam);
  }
  return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

constexpr char kProbeClass[] = "WendrelPlatformProbe";

HWND MakeWindow(const char* cls, Probe* probe = nullptr, HWND parent = nullptr, int id = 0) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kProbeClass;
    return ::RegisterClassA(&wc) != 0;
  }();
  if (!registered) return nullptr;
  HWND hwnd = ::CreateWindowExA(0, cls, "", parent != nullptr ? WS_CHILD : WS_POPUP, 0, 0, 100, 40,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (hwnd != nullptr && probe != nullptr) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(probe));
  }
  return hwnd;
}

// Destroys the window on the thread that made it, exactly once.
class OwnedWindow {
 public:
  explicit OwnedWindow(HWND hwnd) : hwnd_(hwnd) {}
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  ~OwnedWindow() {
    if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  }
  HWND get() const { return hwnd_; }
  Hwnd handle() const { return FromHwnd(hwnd_); }

 private:
  HWND hwnd_;
};

// Empties this thread's queue, WM_QUIT included.
void DrainQueue() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
}

// Through a real edit: the count, the bytes and the terminator, cut to the
// capacity and never written past it.
TEST(Win32Text, SetAndReadWithinTheCapacity) {
  const std::string cafe = "\xB7 caf\xE9";  // middle dot, e acute
  struct Case {
    const char* name;
    std::string text;
    std::size_t capacity;
    std::string expected;
  };
  const Case cases[] = {
      {"windows-1252 bytes", cafe, 7, cafe},
      {"plenty of room", cafe, 64, cafe},
      {"empty", "", 1, ""},
      {"all high bytes", "\x80\x9F\xA0\xFF", 5, "\x80\x9F\xA0\xFF"},
      {"long line", std::string(3000, 'w'), 3001, std::string(3000, 'w')},
      {"one short", cafe, 6, "\xB7 caf"},
      {"room for one byte", cafe, 2, "\xB7"},
      {"room for the terminator only", cafe, 1, ""},
  };
  Win32Platform p;
  OwnedWindow edit(MakeWindow("Edit"));
  ASSERT_NE(edit.get(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(p.SetText(edit.handle(), c.text));
    EXPECT_EQ(p.GetTextLength(edit.handle()), static_cast<std::intptr_t>(c.text.size()));
    std::vector<char> buffer(c.capacity + 8, 'Z');
    const std::size_t n = p.GetTextInto(edit.handle(), buffer.data(), c.capacity);
    EXPECT_EQ(std::string(buffer.data(), n), c.expected);
    EXPECT_EQ(buffer[n], '\0');
    for (std::size_t i = c.capacity; i < buffer.size(); ++i) {
      ASSERT_EQ(buffer[i], 'Z') << "written past the capacity at " << i;
    }
  }
  char untouched = 'Z';
  EXPECT_EQ(p.GetTextInto(edit.handle(), &untouched, 0), 0u);
  EXPECT_EQ(untouched, 'Z');
}

// Controls of another program may answer WM_GETTEXT with any count; only
// what was written, up to the capacity, may come back.
TEST(Win32Text, ClaimsOfTheWindowAreCapped) {
  constexpr std::size_t kCapacity = 8;
  struct Case {
    const char* name;
    const char* writes;  // without a terminator; nullptr fills the buffer
    LRESULT claims;
    std::string expected;
  };
  const Case cases[] = {
      {"fills the buffer, claims a huge count", nullptr, 1 << 30, std::string(kCapacity - 1, 'x')},
      {"writes two, claims forty", "ab", 40, "ab"},
      {"writes nothing, claims ten", "", 10, ""},
      {"writes four, claims two", "abcd", 2, "ab"},
      {"claims a negative count", "abc", -5, ""},
  };
  Win32Platform p;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Probe probe{WM_GETTEXT, [&](HWND, WPARAM w, LPARAM l) -> LRESULT {
                  char* out = reinterpret_cast<char*>(l);
                  if (c.writes == nullptr) {
                    std::memset(out, 'x', w);
                  } else {
                    std::memcpy(out, c.writes, std::strlen(c.writes));
                  }
                  return c.claims;
                }};
    OwnedWindow liar(MakeWindow(kProbeClass, &probe));
    std::vector<char> buffer(kCapacity + 4, 'Q');  // stale content
    const std::size_t n = p.GetTextInto(liar.handle(), buffer.data(), kCapacity);
    EXPECT_EQ(std::string(buffer.data(), n), c.expected);
    EXPECT_EQ(buffer[n], '\0');
    EXPECT_EQ(buffer[kCapacity], 'Q');
  }
}

TEST(Win32Send, MissingWindowsReadAsAbsent) {
  Win32Platform p;
  HWND edit = MakeWindow("Edit");
  ASSERT_TRUE(p.SetText(FromHwnd(edit), "gone soon"));
  ::DestroyWindow(edit);
  for (Hwnd hwnd : {FromHwnd(edit), Hwnd{0}}) {
    SCOPED_TRACE("handle " + std::to_string(hwnd));
    EXPECT_EQ(p.Send(hwnd, WM_NULL, 0, 0).outcome, SendOutcome::kGone);
    EXPECT_FALSE(p.Responds(hwnd));
    EXPECT_EQ(p.GetTextLength(hwnd), 0);
    char buffer[32];
    EXPECT_EQ(p.GetTextInto(hwnd, buffer, sizeof buffer), 0u);
    EXPECT_FALSE(p.SetText(hwnd, "x"));
    EXPECT_FALSE(p.SendChar(hwnd, 13));
    EXPECT_FALSE(p.SendMouse(hwnd, WM_LBUTTONDOWN));
    EXPECT_FALSE(p.PostKey(hwnd, WM_KEYDOWN, VK_SPACE));
  }
  // A stray handle 0 must not post into our own queue, nor 0xFFFF reach
  // every top-level window, nor a lookup under 0 search the top level.
  OwnedWindow top(MakeWindow(kProbeClass));
  EXPECT_NE(p.FindWindowA(kProbeClass, nullptr), 0u);
  EXPECT_EQ(p.FindWindowExA(0, 0, kProbeClass, nullptr), 0u);
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_NE(p.Send(FromHwnd(HWND_BROADCAST), WM_NULL, 0, 0).outcome, SendOutcome::kOk);
  EXPECT_FALSE(p.PostKey(FromHwnd(HWND_BROADCAST), WM_KEYDOWN, VK_SPACE));
}

// A window on a thread of its own that does not pump until it goes out of
// scope; then it handles what was sent to it meanwhile and is destroyed.
class HungWindow {
 public:
  HungWindow() : release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready] {
      hwnd_ = MakeWindow(kProbeClass);
      ::SetEvent(ready);
      ::WaitForSingleObject(release_, 10000);
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
      if (hwnd_ != nullptr) ::DestroyWindow(hwnd_);
    });
    ::WaitForSingleObject(ready, 5000);
    ::CloseHandle(ready);
  }
  ~HungWindow() {
    ::SetEvent(release_);
    thread_.join();
    ::CloseHandle(release_);
  }
  Hwnd handle() const { return FromHwnd(hwnd_); }

 private:
  HANDLE release_;
  HWND hwnd_ = nullptr;
  std::thread thread_;
};

// Every message to a hung client costs one bounded send and reads as a
// window that is not there, while this thread keeps answering its own
// windows (the send must not block them).
TEST(Win32Send, HungWindowCostsOneBoundedSendWhileOurWindowsAnswer) {
  // Handed to the hung window, which may still use them once released after
  // a time-out: they must outlive it.
  static char buffer[64];
  static const std::string text = "x";
  struct Call {
    const char* name;
    bool (*absent)(Win32Platform&, Hwnd);
  };
  const Call calls[] = {
      {"Responds", [](Win32Platform& p, Hwnd h) { return !p.Responds(h); }},
      {"GetTextLength", [](Win32Platform& p, Hwnd h) { return p.GetTextLength(h) == 0; }},
      {"GetTextInto",
       [](Win32Platform& p, Hwnd h) { return p.GetTextInto(h, buffer, sizeof buffer) == 0 && buffer[0] == 0; }},
      {"SetText", [](Win32Platform& p, Hwnd h) { return !p.SetText(h, text); }},
      {"SendChar", [](Win32Platform& p, Hwnd h) { return !p.SendChar(h, 13); }},
      {"SendMouse", [](Win32Platform& p, Hwnd h) { return !p.SendMouse(h, WM_LBUTTONDOWN); }},
  };
  const Clock::time_point start = Clock::now();
  std::atomic<long long> answered_at_ms{-1};
  Probe ours_probe{WM_APP + 3, [&](HWND, WPARAM, LPARAM) -> LRESULT {
                     answered_at_ms = MsSince(start);
                     return 1;
                   }};
  OwnedWindow ours(MakeWindow(kProbeClass, &ours_probe));
  HungWindow hung;
  ASSERT_NE(hung.handle(), 0u);

  // Another thread asks one of our windows something during the send.
  std::thread asker([&] {
    ::Sleep(200);
    DWORD_PTR unused = 0;
    ::SendMessageTimeoutA(ours.get(), WM_APP + 3, 0, 0, SMTO_NORMAL, 5000, &unused);
  });
  Win32Platform p;
  const Clock::time_point sent = Clock::now();
  const SendResult r = p.Send(hung.handle(), WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  const long long took = MsSince(sent);
  const long long returned_at = MsSince(start);
  asker.join();
  EXPECT_EQ(r.outcome, SendOutcome::kTimedOut);
  EXPECT_GE(took, 1000);
  EXPECT_LE(took, 2500);
  EXPECT_GE(answered_at_ms.load(), 0);
  EXPECT_LT(answered_at_ms.load(), returned_at);

  Win32Platform quick(200);
  for (const Call& c : calls) {
    const Clock::time_point at = Clock::now();
    EXPECT_TRUE(c.absent(quick, hung.handle())) << c.name;
    EXPECT_LE(MsSince(at), 1000) << c.name;
  }
  // Posting does not wait for the window at all.
  EXPECT_TRUE(quick.PostKey(hung.handle(), WM_KEYDOWN, VK_SPACE));
}

TEST(Win32Menu, ReadsItemsByCommandIdOrPosition) {
  constexpr UINT kWhatsNewId = 5010;  // the tenth item of the fifth menu
  Win32Platform p;
  OwnedWindow frame(MakeWindow(kProbeClass));
  HMENU bar = ::CreateMenu();
  for (int i = 0; i < 5; ++i) {
    HMENU popup = ::CreatePopupMenu();
    for (int j = 0; j < (i == 4 ? 10 : 1); ++j) {
      const UINT id = 1000 * (i + 1) + j + 1;
      ::AppendMenuA(popup, MF_STRING, id, id == kWhatsNewId ? kVersion5MenuText : "Item");
    }
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "Menu");
  }
  ASSERT_TRUE(::SetMenu(frame.get(), bar));

  const Hmenu got_bar = p.GetMenu(frame.handle());
  ASSERT_EQ(got_bar, FromHmenu(bar));
  EXPECT_EQ(p.GetMenuItemCount(got_bar), 5);
  const Hmenu fifth = p.GetSubMenu(got_bar, 4);
  ASSERT_NE(fifth, 0u);
  EXPECT_EQ(p.GetMenuItemCount(fifth), 10);
  EXPECT_EQ(p.GetMenuItemID(fifth, 9), kWhatsNewId);
  EXPECT_EQ(p.GetMenu(0), 0u);
  EXPECT_EQ(p.GetSubMenu(got_bar, 7), 0u);
  EXPECT_EQ(p.GetMenuItemCount(0), -1);
  EXPECT_EQ(p.GetMenuItemID(got_bar, 0), ~0u);  // a submenu has no id

  struct Case {
    const char* name;
    Hmenu menu;
    unsigned item;
    unsigned flags;
    int capacity;
    std::string expected;
  };
  const std::string whats_new = kVersion5MenuText;
  const Case cases[] = {
      {"by id in the submenu", fifth, kWhatsNewId, kMenuStringFlags, 100, whats_new},
      {"by id from the bar", got_bar, kWhatsNewId, kMenuStringFlags, 100, whats_new},
      {"by position", fifth, 9, MF_BYPOSITION, 100, whats_new},
      {"cut to the capacity", fifth, kWhatsNewId, kMenuStringFlags, 5, "&Wha"},
      {"unknown id", fifth, 9999, kMenuStringFlags, 100, ""},
      {"no menu", 0, kWhatsNewId, kMenuStringFlags, 100, ""},
      {"no room", fifth, kWhatsNewId, kMenuStringFlags, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[128];
    std::memset(buffer, 'Z', sizeof buffer);
    const int n = p.GetMenuStringA(c.menu, c.item, buffer, c.capacity, c.flags);
    EXPECT_EQ(std::string(buffer, n), c.expected);
    EXPECT_EQ(buffer[n], c.capacity > 0 ? '\0' : 'Z');
  }
}

TEST(Win32Profile, ReadsKeysOfAFile) {
  char folder[MAX_PATH];
  char path[MAX_PATH];
  ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
  ASSERT_NE(::GetTempFileNameA(folder, "wdr", 0, path), 0u);
  const std::string content = "[zq7]\r\nascii=--\r\nAscii Color = FF0000\r\nmode=elite\r\nlong=" +
                              std::string(800, 'a') + "\r\n[other]\r\nmode=hacker\r\n";
  std::FILE* f = std::fopen(path, "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(content.data(), 1, content.size(), f);
  std::fclose(f);

  struct Case {
    const char* section;
    const char* key;
    std::size_t capacity;
    std::string expected;
  };
  const Case cases[] = {
      {"zq7", "ascii", 750, "--"},
      {"ZQ7", "ASCII", 750, "--"},
      {"zq7", "ascii color", 750, "FF0000"},
      {"other", "mode", 750, "hacker"},
      {"zq7", "long", 750, std::string(749, 'a')},
      {"zq7", "mode", 3, "el"},
      {"zq7", "missing", 750, "fallback"},
      {"nosuch", "ascii", 750, "fallback"},
      {"zq7", "ascii", 1, ""},
  };
  Win32Platform p;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key + " into " + std::to_string(c.capacity));
    std::vector<char> buffer(c.capacity + 1, 'Z');
    const std::size_t n =
        p.GetPrivateProfileStringA(c.section, c.key, "fallback", buffer.data(), c.capacity, path);
    EXPECT_EQ(std::string(buffer.data(), n), c.expected);
    EXPECT_EQ(buffer[n], '\0');
  }
  char buffer[16];
  const std::string missing = std::string(path) + ".missing";
  EXPECT_EQ(p.GetPrivateProfileStringA("zq7", "ascii", "", buffer, sizeof buffer, missing.c_str()), 0u);
  EXPECT_STREQ(buffer, "");
  ::DeleteFileA(path);
}

TEST(Win32Process, ExeFolderHoldsTheRunningExe) {
  const std::string folder = Win32Platform().ExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  char full[MAX_PATH * 4];
  ASSERT_GT(::GetModuleFileNameA(nullptr, full, sizeof full), folder.size());
  EXPECT_EQ(std::string(full, folder.size() + 1), folder + "\\");
  EXPECT_NE(::GetFileAttributesA((folder + "\\wendrel_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The pump, with this thread's queue empty before and after each test and a
// window that counts the WM_APP messages it is handed.
class Win32Events : public ::testing::Test {
 protected:
  void SetUp() override { DrainQueue(); }
  void TearDown() override { DrainQueue(); }
  void Post() { ::PostMessageA(window_.get(), WM_APP, 0, 0); }

  Win32Platform p_;
  int seen_ = 0;
  std::function<void()> on_app_;  // runs inside each WM_APP
  Probe probe_{WM_APP, [this](HWND, WPARAM, LPARAM) -> LRESULT {
                 ++seen_;
                 if (on_app_) on_app_();
                 return 0;
               }};
  OwnedWindow window_{MakeWindow(kProbeClass, &probe_)};
};

TEST_F(Win32Events, DoEventsDispatchesAllThatWaitsAndLeavesQuitForTheLoop) {
  for (int i = 0; i < 3; ++i) Post();
  ::PostQuitMessage(7);
  p_.DoEvents();
  p_.DoEvents();
  EXPECT_EQ(seen_, 3);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

  // With the quit message back in the queue, a wait must sleep: a spinning
  // one would manage thousands of passes in 200 ms.
  ::PostQuitMessage(7);
  const ULONGLONG start = ::GetTickCount64();
  int passes = 0;
  while (::GetTickCount64() - start < 200 && passes < 1000) {
    p_.WaitForEvents(1000);
    ++passes;
  }
  EXPECT_LE(passes, 10);
}

TEST_F(Win32Events, DoEventsEndsWhenAHandlerKeepsPosting) {
  on_app_ = [this] { Post(); };
  Post();
  p_.DoEvents();
  EXPECT_GE(seen_, 1);
  on_app_ = nullptr;
}

// A handler that waits (and so pumps) while each message brings another:
// the nesting must stop well before the stack does.
TEST_F(Win32Events, DoEventsNestsOnlySoDeep) {
  int depth = 0;
  int deepest = 0;
  on_app_ = [&] {
    deepest = std::max(deepest, ++depth);
    if (seen_ < 1000) Post();
    p_.DoEvents();
    --depth;
  };
  Post();
  p_.DoEvents();
  EXPECT_GE(deepest, 2);
  EXPECT_LE(deepest, 64);
  on_app_ = nullptr;
}

TEST_F(Win32Events, DoEventsGivesKeysToTheDialogWindowOnlyOnceRegistered) {
  for (bool registered : {false, true}) {
    SCOPED_TRACE(registered ? "registered" : "not registered");
    bool ok_command = false;
    Probe probe{WM_COMMAND, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
                  ok_command = ok_command || LOWORD(w) == IDOK;
                  return 0;
                }};
    OwnedWindow form(MakeWindow(kProbeClass, &probe));
    HWND box = MakeWindow("Edit", nullptr, form.get(), 101);
    ASSERT_NE(box, nullptr);
    Win32Platform p;
    if (registered) p.SetDialogWindow(form.get());
    ::PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    p.DoEvents();
    EXPECT_EQ(ok_command, registered);
    DrainQueue();
  }
}

TEST_F(Win32Events, WaitForEventsSleepsUntilAMessageOrTheTimeOut) {
  const std::uint64_t before = p_.NowMs();
  Clock::time_point start = Clock::now();
  p_.WaitForEvents(200);
  EXPECT_GE(MsSince(start), 150);
  EXPECT_LE(MsSince(start), 1500);
  EXPECT_GE(p_.NowMs() - before, 150u);

  // Already looked at but not yet handled: still counts as waiting input.
  Post();
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  start = Clock::now();
  p_.WaitForEvents(3000);
  EXPECT_LE(MsSince(start), 500);
  DrainQueue();

  std::thread poster([this] {
    ::Sleep(100);
    Post();
  });
  start = Clock::now();
  p_.WaitForEvents(3000);
  const long long took = MsSince(start);
  poster.join();
  EXPECT_GE(took, 50);
  EXPECT_LE(took, 1500);
}

}  // namespace
}  // namespace wendrel
