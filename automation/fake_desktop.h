// The in-memory desktop the tests run the automation against: the other
// side of the platform seam, beside Win32Platform, playing the chat client.
//
// It implements Platform the way the real layer behaves: windows in a tree
// with their children in z-order, text read and set by bounded sends that
// fail on a gone or hung window, menus, profile files, a clock and an event
// loop. Builders make a test read like its situation:
//
//   FakeDesktop d;
//   FakeClient client = d.AddClient("4");
//   FakeRoom room = client.AddRoom("Lobby 12");
//   SendChat(d, "hi");
//   EXPECT_EQ(room.Lines(), (std::vector<std::string>{...}));
//
// Time only moves when the code under test waits (WaitForEvents) or a test
// moves it (AdvanceClock); scheduled actions run inside DoEvents, which is
// how a handler runs in the middle of another on the real event loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "automation/platform.h"

namespace wendrel {

class FakeDesktop;

// Where a new window goes among its siblings. FindWindowExA lists children
// from the top of the z-order, so a window added at kTop is found first.
enum class Z { kTop, kBottom };

// One message that reached (or failed to reach) a window, in the order sent.
struct SentMessage {
  Hwnd hwnd = 0;
  unsigned message = 0;       // kWmSetText, kWmChar, kWmKeyDown, ...
  std::uintptr_t wparam = 0;  // the character, key or capacity
  std::string text;           // what WM_SETTEXT carried
  bool posted = false;        // PostMessage rather than SendMessage
  bool delivered = false;     // false: the window was gone or hung
};

// A line the client posted into a room.
struct ChatLine {
  Hwnd room = 0;
  std::string room_caption;  // the room's caption when the line went out
  std::string text;
};

// A light handle on one window of the desktop; cheap to copy. A default one
// names no window, and every operation on it does nothing.
class FakeWindow {
 public:
  FakeWindow() = default;

  Hwnd hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != 0; }
  FakeDesktop* desktop() const { return desktop_; }

  // --- the tree --------------------------------------------------------------
  FakeWindow AddChild(const std::string& cls, const std::string& text = "",
                      Z z = Z::kBottom) const;
  // The nth (from 0) living direct child of that class, in z-order.
  FakeWindow Child(const std::string& cls, int nth = 0) const;
  FakeWindow Parent() const;
  std::string Class() const;
  std::string Text() const;
  void SetText(const std::string& text) const;
  bool Alive() const;
  // Destroys the window and everything under it; the handle is never reused.
  void Destroy() const;
  void Raise(Z z) const;

  // --- behaviour -------------------------------------------------------------
  // A hung window: every send to it fails like one to a gone window (the
  // real layer's bounded send gives up), posts are queued and never handled.
  void SetHung(bool hung) const;
  // Answers WM_GETTEXTLENGTH with `claimed` whatever its text is.
  void ClaimLength(std::intptr_t claimed) const;
  // Answers WM_GETTEXTLENGTH with its true length plus `delta`.
  void ClaimExtraLength(std::intptr_t delta) const;
  // Runs after every message delivered to this window (e.g. to change the
  // text between WM_GETTEXTLENGTH and WM_GETTEXT).
  void OnMessage(std::function<void(const SentMessage&)> fn) const;
  // Runs when the window is clicked: WM_LBUTTONDOWN then WM_LBUTTONUP sent
  // to it, or, for a button, the space key posted down and up.
  void OnClick(std::function<void()> fn) const;

  // --- chat input boxes ------------------------------------------------------
  // The client posts the box's text on every nth Enter (0: never, the box
  // keeps the line for ever) ...
  void PostAfterEnters(int n) const;
  // ... and empties the box when it posts, unless told to keep the text.
  void KeepTextAfterPost(bool keep) const;

  std::vector<SentMessage> Messages() const;  // those sent or posted to it

 private:
  friend class FakeDesktop;
  FakeWindow(FakeDesktop* desktop, Hwnd hwnd) : desktop_(desktop), hwnd_(hwnd) {}
  FakeDesktop* desktop_ = nullptr;
  Hwnd hwnd_ = 0;
};

// A menu under construction or inspection.
class FakeMenu {
 public:
  FakeMenu() = default;
  Hmenu handle() const { return handle_; }
  // A pop-up item; returns the new submenu.
  FakeMenu AddSubMenu(const std::string& text) const;
  void AddItem(const std::string& text, unsigned id) const;
  // Separators are entries too: they move every later item one place on.
  void AddSeparator() const;
  void SetItemText(int position, const std::string& text) const;

 private:
  friend class FakeDesktop;
  friend class FakeClient;
  FakeMenu(FakeDesktop* desktop, Hmenu handle) : desktop_(desktop), handle_(handle) {}
  FakeDesktop* desktop_ = nullptr;
  Hmenu handle_ = 0;
};

// A chat room of the client.
struct FakeRoom {
  FakeWindow window;  // "AOL Child", captioned with the room's name
  FakeWindow input;   // second "RICHCNTL" (4, 5) or "_AOL_Edit" (2.5, 3)
  // The lines the client posted in this room, in order.
  std::vector<std::string> Lines() const;
};

// The "America Online" error dialog.
struct FakeDialog {
  FakeWindow window;   // "#32770" "America Online"
  FakeWindow ok;       // "Button" "OK"
  FakeWindow message;  // the second "Static"
};

// One running chat client: its frame, toolbar and document area.
class FakeClient {
 public:
  FakeClient() = default;

  const std::string& version() const { return version_; }
  bool newer() const { return version_ == "4" || version_ == "5"; }

  FakeWindow frame() const { return frame_; }
  FakeWindow mdi() const { return mdi_; }
  FakeWindow toolbar() const { return toolbar_; }    // "AOL Toolbar"
  FakeWindow keyword_box() const { return keyword_box_; }  // "Edit"; 4, 5 only
  // The toolbar's "_AOL_Icon" at a 1-based place.
  FakeWindow Icon(int place) const;
  FakeMenu MenuBar() const;

  // A chat room of the client's family with all of its signature controls.
  FakeRoom AddRoom(const std::string& caption, Z z = Z::kBottom) const;
  // A room of the other family (an older room in a newer client, or back).
  FakeRoom AddRoomOfOtherFamily(const std::string& caption, Z z = Z::kBottom) const;
  // A plain "AOL Child" without controls (a mail or a browser window).
  FakeWindow AddChildWindow(const std::string& caption, Z z = Z::kBottom) const;
  // The older clients' "Keyword" window with its "_AOL_Edit". An Enter in
  // the edit records the keyword and closes the window.
  FakeWindow AddKeywordWindow(Z z = Z::kTop) const;
  // Makes the toolbar icon that opens "Keyword" on this version (13th on
  // 2.5, 18th on 3) open it, `delay_ms` after the click.
  void OpenKeywordWindowOnIcon(unsigned delay_ms = 0) const;
  // Runs when an address is entered through either keyword route; gets the
  // box's text exactly as it stood when Enter came.
  void OnKeyword(std::function<void(const std::string&)> fn) const;

  void Close() const { frame_.Destroy(); }

 private:
  friend class FakeDesktop;
  FakeDesktop* desktop_ = nullptr;
  std::string version_;
  FakeWindow frame_, mdi_, toolbar_, keyword_box_;
  Hmenu menu_bar_ = 0;
};

class FakeDesktop : public Platform {
 public:
  FakeDesktop();
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  // --- building the situation --------------------------------------------------
  // A client of version "5", "4", "3" or "2.5", with a menu bar that makes
  // GetAolVersion answer that version.
  FakeClient AddClient(const std::string& version, Z z = Z::kTop);
  FakeWindow AddTopLevel(const std::string& cls, const std::string& text = "",
                         Z z = Z::kTop);
  FakeDialog AddErrorDialog(const std::string& message);
  FakeWindow AddBuddyList(const std::string& caption);
  FakeWindow Window(Hwnd hwnd);  // wraps a handle (it may name no window)
  FakeMenu NewMenu();
  void SetWindowMenu(FakeWindow window, FakeMenu menu);

  // --- what happened -----------------------------------------------------------
  const std::vector<ChatLine>& Transcript() const { return transcript_; }
  std::vector<std::string> LinesIn(Hwnd room) const;
  const std::vector<std::string>& Keywords() const { return keywords_; }
  // The messages of the dialogs closed with the space key on "OK".
  const std::vector<std::string>& ClosedDialogs() const { return closed_dialogs_; }
  const std::vector<SentMessage>& Messages() const { return log_; }
  // Delivered messages of one kind to any window (e.g. kWmSetText).
  std::size_t CountDelivered(unsigned message) const;
  void ClearLog() { log_.clear(); }

  // --- profile files -----------------------------------------------------------
  void SetFile(const std::string& path, const std::string& content);
  void RemoveFile(const std::string& path);
  void SetExeFolder(const std::string& folder) { exe_folder_ = folder; }
  // ExeFolder() + "\\zq7.ini".
  std::string SettingsPath() const;
  // Writes the settings file: "[zq7]" and one "key=value" line per pair.
  void WriteSettings(const std::vector<std::pair<std::string, std::string>>& keys);
  int ProfileReads() const { return profile_reads_; }

  // --- time and events ---------------------------------------------------------
  void AdvanceClock(std::uint64_t ms) { now_ms_ += ms; }
  // Runs `fn` inside the first DoEvents at or after time `at_ms`.
  void At(std::uint64_t at_ms, std::function<void()> fn);
  void After(std::uint64_t delay_ms, std::function<void()> fn);
  // Runs `fn` inside the nth DoEvents call from now (1: the next one).
  void OnDoEvents(int nth, std::function<void()> fn);
  int DoEventsCalls() const { return do_events_calls_; }
  // The length asked for by every WaitForEvents call, in order.
  const std::vector<unsigned>& Waits() const { return waits_; }
  // A loop that calls DoEvents or WaitForEvents more often than this is
  // taken to be spinning: the fake throws, so the test fails, not hangs.
  void SetEventCallLimit(int limit) { event_call_limit_ = limit; }

  // --- Platform ------------------------------------------------------------------
  Hwnd FindWindowA(const char* cls, const char* caption) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, const char* cls,
                     const char* caption) override;
  bool Responds(Hwnd hwnd) override;
  std::intptr_t GetTextLength(Hwnd hwnd) override;
  std::size_t GetTextInto(Hwnd hwnd, char* buffer, std::size_t capacity) override;
  bool SetText(Hwnd hwnd, const std::string& text) override;
  bool SendChar(Hwnd hwnd, unsigned char ch) override;
  bool SendMouse(Hwnd hwnd, unsigned message) override;
  bool PostKey(Hwnd hwnd, unsigned message, unsigned virtual_key) override;
  Hmenu GetMenu(Hwnd hwnd) override;
  Hmenu GetSubMenu(Hmenu menu, int position) override;
  int GetMenuItemCount(Hmenu menu) override;
  unsigned GetMenuItemID(Hmenu menu, int position) override;
  int GetMenuStringA(Hmenu menu, unsigned item, char* buffer, int capacity,
                     unsigned flags) override;
  std::size_t GetPrivateProfileStringA(const char* section, const char* key,
                                       const char* fallback, char* buffer,
                                       std::size_t capacity,
                                       const char* path) override;
  std::string ExeFolder() override { return exe_folder_; }
  void DoEvents() override;
  void WaitForEvents(unsigned milliseconds) override;
  std::uint64_t NowMs() override { return now_ms_; }

 private:
  friend class FakeWindow;
  friend class FakeMenu;
  friend class FakeClient;
  friend struct FakeRoom;

  enum class Kind {
    kPlain,        // text only
    kChatInput,    // posts its text into the room on Enter
    kKeywordBox,   // records the address on Enter
    kKeywordEdit,  // the same, then closes the "Keyword" window
    kButton,       // clicked by the space key posted down and up
  };

  struct Node {
    Hwnd hwnd = 0;
    Hwnd parent = 0;  // 0: top level
    std::string cls;
    std::string text;
    std::vector<Hwnd> children;  // z-order, top first
    bool alive = true;
    bool hung = false;
    Kind kind = Kind::kPlain;
    Hmenu menu = 0;
    int enters_to_post = 1;
    int enters_seen = 0;
    bool keep_text = false;
    bool pressed = false;
    Hwnd client_frame = 0;  // whose keyword callback to run
    std::function<std::intptr_t(std::size_t)> claimed_length;
    std::function<void(const SentMessage&)> on_message;
    std::function<void()> on_click;
  };

  struct MenuItem {
    std::string text;
    unsigned id = 0;
    Hmenu submenu = 0;
    bool separator = false;
  };

  struct TimedEvent {
    std::uint64_t at = 0;
    std::uint64_t seq = 0;
    std::function<void()> fn;
  };

  struct CountedEvent {
    int call = 0;
    std::function<void()> fn;
  };

  FakeWindow Create(Hwnd parent, const std::string& cls,
                    const std::string& text, Z z, Kind kind = Kind::kPlain);
  Node* Find(Hwnd hwnd);            // living windows only
  const Node* Find(Hwnd hwnd) const;
  std::vector<Hwnd>* Siblings(Hwnd parent);
  // Logs the message; returns the window when it can take a send.
  Node* Deliver(Hwnd hwnd, unsigned message, std::uintptr_t wparam,
                const std::string& text, bool posted);
  void AfterDelivery(Hwnd hwnd);
  void Enter(Hwnd hwnd);
  void Click(Hwnd hwnd);
  void RecordKeyword(Hwnd box, Hwnd frame);
  void DestroyTree(Hwnd hwnd);
  Hwnd RoomOf(Hwnd hwnd) const;
  const MenuItem* FindMenuItem(Hmenu menu, unsigned id, int depth) const;
  void CountEventCall();
  FakeClient BuildClient(const std::string& version, Z z);
  FakeRoom BuildRoom(const FakeClient& client, const std::string& caption,
                     Z z, bool newer_family);
  void BuildMenuBar(FakeClient& client);

  std::map<Hwnd, Node> windows_;
  std::vector<Hwnd> top_level_;
  Hwnd next_hwnd_ = 0x10010;
  std::map<Hmenu, std::vector<MenuItem>> menus_;
  Hmenu next_menu_ = 0x50000;
  std::map<Hwnd, std::function<void(const std::string&)>> keyword_callbacks_;

  std::vector<ChatLine> transcript_;
  std::vector<std::string> keywords_;
  std::vector<std::string> closed_dialogs_;
  std::vector<SentMessage> log_;

  std::map<std::string, std::string> files_;  // upper-cased path -> content
  std::string exe_folder_ = "C:\\idler";
  int profile_reads_ = 0;

  std::uint64_t now_ms_ = 1000000;
  std::uint64_t next_seq_ = 0;
  std::vector<TimedEvent> timed_;
  std::vector<CountedEvent> counted_;
  int do_events_calls_ = 0;
  std::vector<unsigned> waits_;
  int event_call_limit_ = 200000;
};

}  // namespace wendrel
