// The posting thread's half of the platform: everything the automation
// does to the client's windows, to profile files and to the clock.
//
// Only the thread that owns the client holds a Platform; the window's
// thread gets the EventLoop half, so the compiler keeps it from reaching
// the client. Win32Platform translates it to user32/kernel32; a test may
// swap the clock and the rests, never the windows. The seam carries the
// platform only: what the program keeps between calls lives in its
// ChatSession. Apart from the _win32 files, nothing in automation/
// includes <windows.h>, so its portable files build anywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "winutil/clock.h"

namespace wendrel {

// Window and menu handles as plain numbers; 0 means "none".
using Hwnd = std::uintptr_t;
using Hmenu = std::uintptr_t;

// How a message that changes another program's window went.
enum class Sent {
  kTaken,   // the window took it
  kFailed,  // gone, hung or too slow
  // Windows refused it: the window's program runs with more rights than
  // ours (started "as administrator"), and never takes a message from us.
  kDenied,
};

class Platform : public Clock {
 public:

  // --- finding windows -----------------------------------------------------
  // A top-level window by class (and caption, when not null).
  virtual Hwnd FindWindowA(const char* cls, const char* caption) = 0;
  // A direct child of `parent` by class (and caption, when not null),
  // searching the children in z-order after `after` (0: from the first).
  virtual Hwnd FindWindowExA(Hwnd parent, Hwnd after, const char* cls,
                             const char* caption) = 0;

  // --- messages ------------------------------------------------------------
  // Every send is bounded: a window that is gone, hung or too slow answers
  // like a window that is not there (0 / false). Nothing here blocks for long.

  // WM_NULL: true when the window exists and answers within the bound.
  virtual bool Responds(Hwnd hwnd) = 0;
  // Whether the window still exists; asks nothing of its thread, so a hung
  // window exists without answering.
  virtual bool Exists(Hwnd hwnd) = 0;
  // WM_GETTEXTLENGTH.
  virtual std::intptr_t GetTextLength(Hwnd hwnd) = 0;
  // WM_GETTEXT with wParam = `capacity` (room for the terminator included).
  // Sets `copied` to the count of characters copied, never more than
  // capacity - 1; false when the window did not answer (gone, hung or slow).
  virtual bool GetTextInto(Hwnd hwnd, char* buffer, std::size_t capacity,
                           std::size_t& copied) = 0;
  // WM_SETTEXT, wParam 0.
  virtual Sent SetText(Hwnd hwnd, const std::string& text) = 0;
  // WM_CHAR, lParam 0, sent synchronously.
  virtual bool SendChar(Hwnd hwnd, unsigned char ch) = 0;
  // A mouse message (WM_LBUTTONDOWN / WM_LBUTTONUP), wParam 0, lParam 0, sent.
  virtual bool SendMouse(Hwnd hwnd, unsigned message) = 0;
  // A key message (WM_KEYDOWN / WM_KEYUP) posted, lParam 0.
  virtual bool PostKey(Hwnd hwnd, unsigned message, unsigned virtual_key) = 0;

  // --- menus (read the client's menu bar) ----------------------------------
  virtual Hmenu GetMenu(Hwnd hwnd) = 0;
  virtual Hmenu GetSubMenu(Hmenu menu, int position) = 0;
  virtual int GetMenuItemCount(Hmenu menu) = 0;           // -1 on failure
  virtual unsigned GetMenuItemID(Hmenu menu, int position) = 0;  // ~0u on failure
  // Copies at most capacity - 1 characters plus a terminator; returns the count.
  virtual int GetMenuStringA(Hmenu menu, unsigned item, char* buffer,
                             int capacity, unsigned flags) = 0;

  // --- profile files -------------------------------------------------------
  // GetPrivateProfileStringA: copies the value (or `fallback`), cut to
  // capacity - 1 characters, plus a terminator; returns the count copied.
  virtual std::size_t GetPrivateProfileStringA(const char* section,
                                               const char* key,
                                               const char* fallback,
                                               char* buffer,
                                               std::size_t capacity,
                                               const char* path) = 0;
  // The folder that holds the running executable, without a trailing slash.
  virtual std::string ExeFolder() = 0;

  // --- time ------------------------------------------------------------------
  // Sleeps `milliseconds` between two questions to the client. The posting
  // thread has no events to handle: it waits for the client and for
  // closing, nothing else.
  virtual void Rest(unsigned milliseconds) = 0;
};

}  // namespace wendrel
