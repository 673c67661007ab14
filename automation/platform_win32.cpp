#include "automation/platform_win32.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "winutil/bounded_wait_win32.h"
#include "winutil/tick_clock.h"

namespace wendrel {
namespace {

// GetModuleFileNameA takes a DWORD size; 32767 characters is the longest
// path the system has, and ANSI text may need two bytes for one of them.
constexpr DWORD kMaxModulePath = 2 * 32768;

bool Refused(HWND hwnd) { return hwnd == nullptr || hwnd == HWND_BROADCAST; }

DWORD ClampToDword(std::size_t n) {
  return static_cast<DWORD>(
      std::min<std::size_t>(n, std::numeric_limits<DWORD>::max()));
}

}  // namespace

SendResult BoundedSend(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                       unsigned timeout_ms, SendCharset charset) {
  SendResult result;
  if (Refused(hwnd)) return result;
  DWORD_PTR answer = 0;
  ::SetLastError(0);
  const auto send = charset == SendCharset::kWide ? ::SendMessageTimeoutW
                                                  : ::SendMessageTimeoutA;
  if (send(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, timeout_ms,
           &answer) != 0) {
    result.outcome = SendOutcome::kOk;
    result.value = static_cast<LRESULT>(answer);
    return result;
  }
  const DWORD error = ::GetLastError();
  // Older systems leave the error at 0 on a time-out; anything but a missing
  // window is taken as a window that did not answer.
  if (error == ERROR_ACCESS_DENIED) {
    result.outcome = SendOutcome::kDenied;
  } else if (error == ERROR_INVALID_WINDOW_HANDLE || !::IsWindow(hwnd)) {
    result.outcome = SendOutcome::kGone;
  } else {
    result.outcome = SendOutcome::kTimedOut;
  }
  return result;
}

Win32Platform::Win32Platform(unsigned send_timeout_ms)
    : send_timeout_ms_(send_timeout_ms) {}

SendResult Win32Platform::Send(Hwnd hwnd, unsigned message, WPARAM wparam,
                               LPARAM lparam, SendCharset charset) {
  return BoundedSend(ToHwnd(hwnd), message, wparam, lparam, send_timeout_ms_,
                     charset);
}

Hwnd Win32Platform::FindWindowA(const char* cls, const char* caption) {
  return FromHwnd(::FindWindowA(cls, caption));
}

Hwnd Win32Platform::FindWindowExA(Hwnd parent, Hwnd after, const char* cls,
                                  const char* caption) {
  // A parent of 0 would make the system search the top-level windows: a
  // lookup under a window that was not found must find nothing.
  if (parent == 0) return 0;
  return FromHwnd(::FindWindowExA(ToHwnd(parent), ToHwnd(after), cls, caption));
}

bool Win32Platform::Responds(Hwnd hwnd) {
  return Send(hwnd, WM_NULL, 0, 0).ok();
}

bool Win32Platform::Exists(Hwnd hwnd) {
  return !Refused(ToHwnd(hwnd)) && ::IsWindow(ToHwnd(hwnd)) != FALSE;
}

std::intptr_t Win32Platform::GetTextLength(Hwnd hwnd) {
  // Asked in wide characters: Wine does not bound the ANSI form of this
  // message across processes and would wait for a hung client for as long
  // as it hangs. In a single-byte code page such as 1252 the two counts are
  // the same.
  const SendResult r = Send(hwnd, WM_GETTEXTLENGTH, 0, 0, SendCharset::kWide);
  if (!r.ok() || r.value < 0) return 0;
  return static_cast<std::intptr_t>(r.value);
}

bool Win32Platform::GetTextInto(Hwnd hwnd, char* buffer, std::size_t capacity,
                                std::size_t& copied) {
  copied = 0;
  if (buffer == nullptr || capacity == 0) return false;
  // Zeroed first, so that a window which claims more than it wrote cannot
  // hand back whatever the buffer held before.
  std::memset(buffer, 0, capacity);
  const SendResult r = Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(capacity),
                            reinterpret_cast<LPARAM>(buffer));
  if (!r.ok()) {
    buffer[0] = '\0';
    return false;
  }
  std::size_t count =
      r.value <= 0 ? 0 : std::min(static_cast<std::size_t>(r.value), capacity - 1);
  const void* nul = std::memchr(buffer, '\0', count);
  if (nul != nullptr) count = static_cast<const char*>(nul) - buffer;
  buffer[count] = '\0';
  copied = count;
  return true;
}

Sent Win32Platform::SetText(Hwnd hwnd, const std::string& text) {
  const SendResult r = Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (r.outcome == SendOutcome::kDenied) return Sent::kDenied;
  return r.ok() ? Sent::kTaken : Sent::kFailed;
}

bool Win32Platform::SendChar(Hwnd hwnd, unsigned char ch) {
  return Send(hwnd, WM_CHAR, static_cast<WPARAM>(ch), 0).ok();
}

bool Win32Platform::SendMouse(Hwnd hwnd, unsigned message) {
  return Send(hwnd, message, 0, 0).ok();
}

bool Win32Platform::PostKey(Hwnd hwnd, unsigned message, unsigned virtual_key) {
  // PostMessageA to handle 0 would land in our own thread's queue.
  if (Refused(ToHwnd(hwnd))) return false;
  return ::PostMessageA(ToHwnd(hwnd), message, static_cast<WPARAM>(virtual_key),
                        0) != 0;
}

Hmenu Win32Platform::GetMenu(Hwnd hwnd) {
  return FromHmenu(::GetMenu(ToHwnd(hwnd)));
}

Hmenu Win32Platform::GetSubMenu(Hmenu menu, int position) {
  return FromHmenu(::GetSubMenu(ToHmenu(menu), position));
}

int Win32Platform::GetMenuItemCount(Hmenu menu) {
  return ::GetMenuItemCount(ToHmenu(menu));
}

unsigned Win32Platform::GetMenuItemID(Hmenu menu, int position) {
  return ::GetMenuItemID(ToHmenu(menu), position);
}

int Win32Platform::GetMenuStringA(Hmenu menu, unsigned item, char* buffer,
                                  int capacity, unsigned flags) {
  // With size 0 the call reports the needed length without copying, which
  // the caller would take for a count of copied characters.
  if (buffer == nullptr || capacity <= 0) return 0;
  buffer[0] = '\0';
  int count = ::GetMenuStringA(ToHmenu(menu), item, buffer, capacity, flags);
  count = std::clamp(count, 0, capacity - 1);
  buffer[count] = '\0';
  return count;
}

std::size_t Win32Platform::GetPrivateProfileStringA(
    const char* section, const char* key, const char* fallback, char* buffer,
    std::size_t capacity, const char* path) {
  if (buffer == nullptr || capacity == 0) return 0;
  const DWORD size = ClampToDword(capacity);
  buffer[0] = '\0';
  const DWORD copied =
      ::GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
  const std::size_t count = std::min<std::size_t>(copied, size - 1);
  buffer[count] = '\0';
  return count;
}

std::string Win32Platform::ExeFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(path.size());
    const DWORD n = ::GetModuleFileNameA(nullptr, &path[0], size);
    if (n == 0) return "";
    if (n < size) {
      path.resize(n);
      break;
    }
    // A result that fills the buffer may have been cut: ask again with more.
    if (size >= kMaxModulePath) return "";
    path.resize(std::min<DWORD>(size * 2, kMaxModulePath));
  }
  const std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  path.resize(slash);
  return path;
}

void Win32Platform::Rest(unsigned milliseconds) {
  ::Sleep(BoundedWaitMs(milliseconds));
}

std::uint64_t Win32Platform::NowMs() { return SystemTickMs(); }

}  // namespace wendrel
