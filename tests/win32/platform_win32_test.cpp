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

namespace wendrel {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() -
                                                               start)
      .count();
}

// A window whose answers a test chooses: `on` returns true when it has
// handled the message and set the result.
struct Probe {
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> on;
};

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wparam,
                           LPARAM lparam) {
  auto* probe =
      reinterpret_cast<Probe*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (probe != nullptr && probe->on &&
      probe->on(hwnd, message, wparam, lparam, &result)) {
    return result;
  }
  return ::DefWindowProcA(hwnd, message, wparam, lparam);
}

constexpr char kProbeClass[] = "WendrelPlatformProbe";

void RegisterProbeClass() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kProbeClass;
    return ::RegisterClassA(&wc) != 0;
  }();
  ASSERT_TRUE(registered);
}

// Destroys the window on the thread that made it, exactly once.
class OwnedWindow {
 public:
  explicit OwnedWindow(HWND hwnd = nullptr) : hwnd_(hwnd) {}
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

HWND MakeWindow(const char* cls, Probe* probe = nullptr, HWND parent = nullptr,
                int id = 0) {
  if (std::strcmp(cls, kProbeClass) == 0) RegisterProbeClass();
  const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
  HWND hwnd = ::CreateWindowExA(0, cls, "", style, 0, 0, 100, 40, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleA(nullptr), nullptr);
  if (hwnd != nullptr && probe != nullptr) {
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(probe));
  }
  return hwnd;
}

// Empties this thread's queue, WM_QUIT included.
void DrainQueue() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message != WM_QUIT) ::DispatchMessageA(&msg);
  }
}

std::string ReadText(Win32Platform& p, Hwnd hwnd, std::size_t capacity) {
  std::vector<char> buffer(capacity + 1, 'Z');
  const std::size_t n = p.GetTextInto(hwnd, buffer.data(), capacity);
  return std::string(buffer.data(), n);
}

TEST(Win32Text, RoundTripThroughAnEdit) {
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"windows-1252 bytes", "\xB7 caf\xE9"},  // middle dot, e acute
      {"empty", ""},
      {"all high bytes", "\x80\x9F\xA0\xFF"},
      {"long line", std::string(3000, 'w')},
  };
  Win32Platform p;
  OwnedWindow edit(MakeWindow("Edit"));
  ASSERT_NE(edit.get(), nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(p.SetText(edit.handle(), c.text));
    EXPECT_EQ(p.GetTextLength(edit.handle()),
              static_cast<std::intptr_t>(c.text.size()));
    std::vector<char> buffer(c.text.size() + 1, 'Z');
    const std::size_t n =
        p.GetTextInto(edit.handle(), buffer.data(), buffer.size());
    EXPECT_EQ(n, c.text.size());
    EXPECT_EQ(std::string(buffer.data(), n), c.text);
    EXPECT_EQ(buffer[n], '\0');
  }
}

TEST(Win32Text, CapacitySmallerThanTheText) {
  struct Case {
    std::size_t capacity;
    std::string expected;
  };
  const Case cases[] = {
      {1, ""},
      {2, "\xB7"},  // middle dot
      {6, "\xB7 caf"},
      {7, "\xB7 caf\xE9"},
      {64, "\xB7 caf\xE9"},
  };
  Win32Platform p;
  OwnedWindow edit(MakeWindow("Edit"));
  ASSERT_TRUE(p.SetText(edit.handle(), "\xB7 caf\xE9"));
  for (const Case& c : cases) {
    SCOPED_TRACE("capacity " + std::to_string(c.capacity));
    std::vector<char> buffer(c.capacity + 8, 'Z');
    const std::size_t n =
        p.GetTextInto(edit.handle(), buffer.data(), c.capacity);
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
  struct Case {
    const char* name;
    // Written without a terminator; nullptr fills the whole buffer.
    const char* writes;
    LRESULT claims;
    std::string expected;
  };
  constexpr std::size_t kCapacity = 8;
  const Case cases[] = {
      {"fills the buffer, claims a huge count", nullptr, 1 << 30,
       std::string(kCapacity - 1, 'x')},
      {"writes two, claims forty", "ab", 40, "ab"},
      {"writes nothing, claims ten", "", 10, ""},
      {"writes four, claims two", "abcd", 2, "ab"},
      {"claims a negative count", "abc", -5, ""},
  };
  Win32Platform p;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Probe probe{[&](HWND, UINT m, WPARAM w, LPARAM l, LRESULT* r) {
      if (m != WM_GETTEXT) return false;
      char* out = reinterpret_cast<char*>(l);
      if (c.writes == nullptr) {
        std::memset(out, 'x', w);
      } else {
        std::memcpy(out, c.writes, std::strlen(c.writes));
      }
      *r = c.claims;
      return true;
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

  const Hwnd missing[] = {FromHwnd(edit), 0};
  for (Hwnd hwnd : missing) {
    SCOPED_TRACE("handle " + std::to_string(hwnd));
    EXPECT_EQ(p.Send(hwnd, WM_NULL, 0, 0).outcome, SendOutcome::kGone);
    EXPECT_EQ(p.GetTextLength(hwnd), 0);
    EXPECT_EQ(ReadText(p, hwnd, 32), "");
    EXPECT_FALSE(p.SetText(hwnd, "x"));
    EXPECT_FALSE(p.SendChar(hwnd, 13));
    EXPECT_FALSE(p.SendMouse(hwnd, WM_LBUTTONDOWN));
    EXPECT_FALSE(p.PostKey(hwnd, WM_KEYDOWN, VK_SPACE));
  }
  // A stray handle 0 must not post into our own queue, nor 0xFFFF reach
  // every top-level window.
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_NE(p.Send(FromHwnd(HWND_BROADCAST), WM_NULL, 0, 0).outcome,
            SendOutcome::kOk);
  EXPECT_FALSE(p.PostKey(FromHwnd(HWND_BROADCAST), WM_KEYDOWN, VK_SPACE));
}

// A window on a thread of its own that stops answering: either it never
// pumps after being made, or its handler for kBlockMessage blocks. Released
// (and joined) at the end; until then every buffer handed to it stays alive,
// because a message that timed out may still be handled later.
class HungWindow {
 public:
  enum Mode { kNotPumping, kBlockedInHandler };
  static constexpr UINT kBlockMessage = WM_APP + 1;
  static constexpr UINT kEndMessage = WM_APP + 2;

  explicit HungWindow(Mode mode)
      : ready_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        blocked_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
        release_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    RegisterProbeClass();
    thread_ = std::thread([this, mode] { Run(mode); });
    ::WaitForSingleObject(ready_, 5000);
    if (mode == kBlockedInHandler && hwnd_ != nullptr) {
      ::PostMessageA(hwnd_, kBlockMessage, 0, 0);
      ::WaitForSingleObject(blocked_, 5000);
    }
  }
  ~HungWindow() {
    ::SetEvent(release_);
    if (hwnd_ != nullptr) ::PostMessageA(hwnd_, kEndMessage, 0, 0);
    thread_.join();
    ::CloseHandle(ready_);
    ::CloseHandle(blocked_);
    ::CloseHandle(release_);
  }
  Hwnd handle() const { return FromHwnd(hwnd_); }

 private:
  void Run(Mode mode) {
    probe_.on = [this](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT* r) {
      if (m == kBlockMessage) {
        ::SetEvent(blocked_);
        ::WaitForSingleObject(release_, 10000);
      } else if (m == kEndMessage) {
        ::DestroyWindow(hwnd);
        ::PostQuitMessage(0);
      } else {
        return false;
      }
      *r = 0;
      return true;
    };
    hwnd_ = MakeWindow(kProbeClass, &probe_);
    ::SetEvent(ready_);
    if (hwnd_ == nullptr) return;
    if (mode == kNotPumping) ::WaitForSingleObject(release_, 10000);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
  }

  HANDLE ready_;
  HANDLE blocked_;
  HANDLE release_;
  Probe probe_;
  HWND hwnd_ = nullptr;
  std::thread thread_;
};

TEST(Win32Send, HungWindowTimesOutWhileOurWindowsKeepAnswering) {
  const HungWindow::Mode modes[] = {HungWindow::kNotPumping,
                                    HungWindow::kBlockedInHandler};
  for (HungWindow::Mode mode : modes) {
    SCOPED_TRACE(mode == HungWindow::kNotPumping ? "not pumping"
                                                 : "blocked in handler");
    // Another thread asks one of our windows something while we wait on the
    // hung one: the answer must not wait for our send to end.
    std::atomic<long long> answered_at_ms{-1};
    const Clock::time_point start = Clock::now();
    Probe ours_probe{[&](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
      if (m != WM_APP + 3) return false;
      answered_at_ms = MsSince(start);
      *r = 1;
      return true;
    }};
    OwnedWindow ours(MakeWindow(kProbeClass, &ours_probe));

    std::vector<char> buffer(64, 'Z');
    Win32Platform p;
    {
      HungWindow hung(mode);
      ASSERT_NE(hung.handle(), 0u);
      std::thread asker([&] {
        ::Sleep(200);
        DWORD_PTR unused = 0;
        ::SendMessageTimeoutA(ours.get(), WM_APP + 3, 0, 0, SMTO_NORMAL, 5000,
                              &unused);
      });
      const Clock::time_point sent = Clock::now();
      const SendResult r = p.Send(hung.handle(), WM_GETTEXT, buffer.size(),
                                  reinterpret_cast<LPARAM>(buffer.data()));
      const long long took = MsSince(sent);
      const long long returned_at = MsSince(start);
      asker.join();

      EXPECT_EQ(r.outcome, SendOutcome::kTimedOut);
      EXPECT_GE(took, 1000);
      EXPECT_LE(took, 2500);
      EXPECT_GE(answered_at_ms.load(), 0);
      EXPECT_LT(answered_at_ms.load(), returned_at);
    }
  }
}

TEST(Win32Send, EverySendToAHungWindowFailsQuickly) {
  struct Case {
    const char* name;
    std::function<bool(Win32Platform&, Hwnd)> call;  // true: read as absent
  };
  static char buffer[64];
  static const std::string text = "x";
  const Case cases[] = {
      {"GetTextLength", [](Win32Platform& p, Hwnd h) {
         return p.GetTextLength(h) == 0;
       }},
      {"GetTextInto", [](Win32Platform& p, Hwnd h) {
         return p.GetTextInto(h, buffer, sizeof buffer) == 0 && buffer[0] == 0;
       }},
      {"SetText", [](Win32Platform& p, Hwnd h) { return !p.SetText(h, text); }},
      {"SendChar", [](Win32Platform& p, Hwnd h) { return !p.SendChar(h, 13); }},
      {"SendMouse", [](Win32Platform& p, Hwnd h) {
         return !p.SendMouse(h, WM_LBUTTONDOWN);
       }},
  };
  Win32Platform p(200);
  HungWindow hung(HungWindow::kBlockedInHandler);
  ASSERT_NE(hung.handle(), 0u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Clock::time_point start = Clock::now();
    EXPECT_TRUE(c.call(p, hung.handle()));
    EXPECT_LE(MsSince(start), 1000);
  }
  // Posting does not wait for the window at all.
  EXPECT_TRUE(p.PostKey(hung.handle(), WM_KEYDOWN, VK_SPACE));
}

TEST(Win32Menu, ReadsTheVersionItemOfAMenuBar) {
  constexpr UINT kWhatsNewId = 5010;
  constexpr char kWhatsNew[] = "&What's New in AOL 5.0";
  Win32Platform p;
  OwnedWindow frame(MakeWindow(kProbeClass));
  HMENU bar = ::CreateMenu();
  for (int i = 0; i < 5; ++i) {
    HMENU popup = ::CreatePopupMenu();
    const int items = i == 4 ? 10 : 1;
    for (int j = 0; j < items; ++j) {
      const UINT id = 1000 * (i + 1) + j + 1;
      const std::string label =
          id == kWhatsNewId ? kWhatsNew : "Item " + std::to_string(id);
      ::AppendMenuA(popup, MF_STRING, id, label.c_str());
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

  struct Case {
    const char* name;
    Hmenu menu;
    unsigned item;
    unsigned flags;
    int capacity;
    std::string expected;
  };
  const Case cases[] = {
      {"by id in the submenu", fifth, kWhatsNewId, 1, 100, kWhatsNew},
      {"by id from the bar", got_bar, kWhatsNewId, 1, 100, kWhatsNew},
      {"by position", fifth, 9, MF_BYPOSITION, 100, kWhatsNew},
      {"cut to the capacity", fifth, kWhatsNewId, 1, 5, "&Wha"},
      {"unknown id", fifth, 9999, 1, 100, ""},
      {"no menu", 0, kWhatsNewId, 1, 100, ""},
      {"no room", fifth, kWhatsNewId, 1, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[128];
    std::memset(buffer, 'Z', sizeof buffer);
    const int n = p.GetMenuStringA(c.menu, c.item, buffer, c.capacity, c.flags);
    EXPECT_EQ(n, static_cast<int>(c.expected.size()));
    EXPECT_EQ(std::string(buffer, n), c.expected);
    if (c.capacity > 0) {
      EXPECT_EQ(buffer[n], '\0');
    }
  }

  EXPECT_EQ(p.GetMenu(0), 0u);
  EXPECT_EQ(p.GetSubMenu(got_bar, 7), 0u);
  EXPECT_EQ(p.GetMenuItemCount(0), -1);
  EXPECT_EQ(p.GetMenuItemID(got_bar, 0), ~0u);  // a submenu has no id
}

class Win32ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    char file[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    ASSERT_NE(::GetTempFileNameA(folder, "wdr", 0, file), 0u);
    path_ = file;
    const std::string content = "[zq7]\r\n"
                                "ascii=--\r\n"
                                "Ascii Color = FF0000\r\n"
                                "mode=elite\r\n"
                                "long=" + std::string(800, 'a') + "\r\n"
                                "[other]\r\n"
                                "mode=hacker\r\n";
    std::FILE* f = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  void TearDown() override { ::DeleteFileA(path_.c_str()); }
  std::string path_;
};

TEST_F(Win32ProfileTest, ReadsKeysOfAFile) {
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
      {"zq7", "mode", 750, "elite"},
      {"other", "mode", 750, "hacker"},
      {"zq7", "long", 750, std::string(749, 'a')},
      {"zq7", "mode", 3, "el"},
      {"zq7", "missing", 750, "fallback"},
      {"nosuch", "ascii", 750, "fallback"},
      {"zq7", "ascii", 1, ""},
  };
  Win32Platform p;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key + " into " +
                 std::to_string(c.capacity));
    std::vector<char> buffer(c.capacity + 1, 'Z');
    const std::size_t n = p.GetPrivateProfileStringA(
        c.section, c.key, "fallback", buffer.data(), c.capacity, path_.c_str());
    EXPECT_EQ(n, c.expected.size());
    EXPECT_EQ(std::string(buffer.data(), n), c.expected);
    EXPECT_EQ(buffer[n], '\0');
  }
  char buffer[16];
  const std::string missing = path_ + ".missing";
  EXPECT_EQ(p.GetPrivateProfileStringA("zq7", "ascii", "", buffer,
                                       sizeof buffer, missing.c_str()),
            0u);
  EXPECT_STREQ(buffer, "");
}

TEST(Win32Process, ExeFolderHoldsTheRunningExe) {
  Win32Platform p;
  const std::string folder = p.ExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_NE(folder.back(), '\\');
  char full[MAX_PATH * 4];
  const DWORD n = ::GetModuleFileNameA(nullptr, full, sizeof full);
  ASSERT_GT(n, folder.size());
  EXPECT_EQ(std::string(full, folder.size() + 1), folder + "\\");
  EXPECT_NE(::GetFileAttributesA((folder + "\\wendrel_tests.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Events, DoEventsDispatchesPendingMessages) {
  DrainQueue();
  int seen = 0;
  Probe probe{[&](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_APP) return false;
    ++seen;
    *r = 0;
    return true;
  }};
  OwnedWindow window(MakeWindow(kProbeClass, &probe));
  for (int i = 0; i < 3; ++i) ::PostMessageA(window.get(), WM_APP, 0, 0);
  Win32Platform p;
  p.DoEvents();
  EXPECT_EQ(seen, 3);
  MSG msg;
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(Win32Events, DoEventsLeavesQuitForTheMessageLoop) {
  DrainQueue();
  int seen = 0;
  Probe probe{[&](HWND, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_APP) return false;
    ++seen;
    *r = 0;
    return true;
  }};
  OwnedWindow window(MakeWindow(kProbeClass, &probe));
  ::PostMessageA(window.get(), WM_APP, 0, 0);
  ::PostQuitMessage(7);
  Win32Platform p;
  p.DoEvents();
  p.DoEvents();
  EXPECT_EQ(seen, 1);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_FALSE(::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST(Win32Events, WaitAfterQuitSleepsInsteadOfSpinning) {
  DrainQueue();
  ::PostQuitMessage(0);
  Win32Platform p;
  p.DoEvents();
  const ULONGLONG start = ::GetTickCount64();
  int passes = 0;
  while (::GetTickCount64() - start < 200 && passes < 1000) {
    p.WaitForEvents(1000);
    ++passes;
  }
  // A spinning wait would manage thousands of passes in 200 ms.
  EXPECT_LE(passes, 10);
  DrainQueue();
}

TEST(Win32Find, ChildLookupUnderNoWindowFindsNothing) {
  OwnedWindow top(MakeWindow(kProbeClass));
  ASSERT_NE(top.get(), nullptr);
  Win32Platform p;
  EXPECT_NE(p.FindWindowA(kProbeClass, nullptr), 0u);
  // The system would search the top-level windows for a parent of 0.
  EXPECT_EQ(p.FindWindowExA(0, 0, kProbeClass, nullptr), 0u);
}

TEST(Win32Events, DoEventsEndsWhenAHandlerKeepsPosting) {
  DrainQueue();
  int seen = 0;
  bool keep_posting = true;
  Probe probe{[&](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_APP) return false;
    ++seen;
    if (keep_posting) ::PostMessageA(hwnd, WM_APP, 0, 0);
    *r = 0;
    return true;
  }};
  OwnedWindow window(MakeWindow(kProbeClass, &probe));
  ::PostMessageA(window.get(), WM_APP, 0, 0);
  Win32Platform p;
  p.DoEvents();
  EXPECT_GE(seen, 1);
  keep_posting = false;
  DrainQueue();
}

// A handler that waits (and so pumps) while each message brings another:
// the nesting must stop well before the stack does.
TEST(Win32Events, DoEventsNestsOnlySoDeep) {
  DrainQueue();
  Win32Platform p;
  int depth = 0;
  int deepest = 0;
  int posts = 0;
  Probe probe{[&](HWND hwnd, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_APP) return false;
    ++depth;
    deepest = std::max(deepest, depth);
    if (posts < 1000) {
      ++posts;
      ::PostMessageA(hwnd, WM_APP, 0, 0);
    }
    p.DoEvents();
    --depth;
    *r = 0;
    return true;
  }};
  OwnedWindow window(MakeWindow(kProbeClass, &probe));
  ::PostMessageA(window.get(), WM_APP, 0, 0);
  p.DoEvents();
  EXPECT_GE(deepest, 2);
  EXPECT_LE(deepest, 64);
  DrainQueue();
}

TEST(Win32Events, DoEventsGivesKeysToTheDialogWindow) {
  struct Case {
    const char* name;
    bool registered;
    bool expect_ok_command;
  };
  const Case cases[] = {
      {"not registered", false, false},
      {"registered", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DrainQueue();
    bool ok_command = false;
    Probe probe{[&](HWND, UINT m, WPARAM w, LPARAM, LRESULT* r) {
      if (m != WM_COMMAND || LOWORD(w) != IDOK) return false;
      ok_command = true;
      *r = 0;
      return true;
    }};
    OwnedWindow form(MakeWindow(kProbeClass, &probe));
    HWND box = MakeWindow("Edit", nullptr, form.get(), 101);
    ASSERT_NE(box, nullptr);
    Win32Platform p;
    if (c.registered) p.SetDialogWindow(form.get());
    ::PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
    p.DoEvents();
    EXPECT_EQ(ok_command, c.expect_ok_command);
  }
  DrainQueue();
}

TEST(Win32Events, WaitForEventsSleepsUntilAMessageOrTheTimeOut) {
  Win32Platform p;
  OwnedWindow window(MakeWindow(kProbeClass));

  DrainQueue();
  const std::uint64_t before = p.NowMs();
  Clock::time_point start = Clock::now();
  p.WaitForEvents(200);
  EXPECT_GE(MsSince(start), 150);
  EXPECT_LE(MsSince(start), 1500);
  EXPECT_GE(p.NowMs() - before, 150u);

  // Already looked at but not yet handled: still counts as waiting input.
  ::PostMessageA(window.get(), WM_APP, 0, 0);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
  start = Clock::now();
  p.WaitForEvents(3000);
  EXPECT_LE(MsSince(start), 500);
  DrainQueue();

  std::thread poster([&] {
    ::Sleep(100);
    ::PostMessageA(window.get(), WM_APP, 0, 0);
  });
  start = Clock::now();
  p.WaitForEvents(3000);
  const long long took = MsSince(start);
  poster.join();
  EXPECT_GE(took, 50);
  EXPECT_LE(took, 1500);
  DrainQueue();
}

}  // namespace
}  // namespace wendrel
