// The platform seam translated to user32 and kernel32.
//
// Every message to another window goes through one bounded send: a client
// that hangs, is slow or has just closed costs at most the send time-out and
// then reads like a window that is not there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "automation/platform.h"

namespace wendrel {

// The seam's plain numbers and the system's handles meet only here.
inline HWND ToHwnd(Hwnd hwnd) { return reinterpret_cast<HWND>(hwnd); }
inline Hwnd FromHwnd(HWND hwnd) { return reinterpret_cast<Hwnd>(hwnd); }
inline HMENU ToHmenu(Hmenu menu) { return reinterpret_cast<HMENU>(menu); }
inline Hmenu FromHmenu(HMENU menu) { return reinterpret_cast<Hmenu>(menu); }

enum class SendOutcome {
  kOk,        // the window answered; `value` is its result
  kTimedOut,  // the window exists but did not answer in time (hung or busy)
  kGone,      // no such window (never was, or destroyed)
  kDenied,    // Windows refused it: the window's program has more rights
};

struct SendResult {
  SendOutcome outcome = SendOutcome::kGone;
  LRESULT value = 0;
  bool ok() const { return outcome == SendOutcome::kOk; }
};

// Which of the system's two sends: the ANSI one or the wide one.
enum class SendCharset { kAnsi, kWide };

// SendMessageTimeoutA without SMTO_BLOCK, so the calling thread keeps
// answering messages sent to its own windows while it waits, and with
// SMTO_ABORTIFHUNG, so a window the system already counts as hung (after
// about 5 s without pumping) fails at once. Refuses handle 0 and
// HWND_BROADCAST. A window of the calling thread is called directly and
// is not bounded. A timed-out send to a window of another thread of this
// process may still be handled later, with the pointers it was given: aim it
// only at other processes' windows, whose buffers the system copies.
SendResult BoundedSend(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                       unsigned timeout_ms,
                       SendCharset charset = SendCharset::kAnsi);

class Win32Platform : public Platform {
 public:
  // Long enough for a busy client to answer a text read; short enough that
  // the idler never looks frozen. The system's own hung flag only comes after
  // about 5 s without pumping.
  static constexpr unsigned kDefaultSendTimeoutMs = 1500;

  explicit Win32Platform(unsigned send_timeout_ms = kDefaultSendTimeoutMs);

  // The one send all messages of this class use.
  SendResult Send(Hwnd hwnd, unsigned message, WPARAM wparam, LPARAM lparam,
                  SendCharset charset = SendCharset::kAnsi);

  Hwnd FindWindowA(const char* cls, const char* caption) override;
  Hwnd FindWindowExA(Hwnd parent, Hwnd after, const char* cls,
                     const char* caption) override;

  bool Responds(Hwnd hwnd) override;
  bool Exists(Hwnd hwnd) override;
  std::intptr_t GetTextLength(Hwnd hwnd) override;
  bool GetTextInto(Hwnd hwnd, char* buffer, std::size_t capacity,
                   std::size_t& copied) override;
  // The bool results say whether the window took the message, not what it
  // answered: a WM_CHAR handler returns 0 after acting on it.
  Sent SetText(Hwnd hwnd, const std::string& text) override;
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
  std::string ExeFolder() override;

  void Rest(unsigned milliseconds) override;
  std::uint64_t NowMs() override;

 private:
  unsigned send_timeout_ms_;
};

}  // namespace wendrel
