// Move-only owners for the system objects the program creates, and the
// guards that hold something for the life of a scope.
#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

namespace wendrel {

// What a handle holds when it owns nothing: null for most kinds, and
// INVALID_HANDLE_VALUE for files and finds.
struct NullIsEmpty {
  static std::nullptr_t Value() { return nullptr; }
};
struct InvalidIsEmpty {
  static HANDLE Value() { return INVALID_HANDLE_VALUE; }
};

// Owns one handle of type H and closes it exactly once with Close.
template <typename H, auto Close, typename EmptyValue = NullIsEmpty>
class UniqueHandle {
 public:
  using Handle = H;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != EmptyValue::Value(); }
  Handle release() { return std::exchange(handle_, EmptyValue::Value()); }
  void reset(Handle h = EmptyValue::Value()) {
    Handle old = std::exchange(handle_, h);
    if (old != EmptyValue::Value()) Close(old);
  }

 private:
  Handle handle_ = EmptyValue::Value();
};

using UniqueHwnd = UniqueHandle<HWND, DestroyWindow>;
using UniqueHbrush = UniqueHandle<HBRUSH, DeleteObject>;
using UniqueHkey = UniqueHandle<HKEY, RegCloseKey>;
using UniqueHmenu = UniqueHandle<HMENU, DestroyMenu>;
// Threads, processes, events, mutexes and jobs.
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
// CreateFile and FindFirstFile fail with INVALID_HANDLE_VALUE, not null.
using UniqueFileHandle = UniqueHandle<HANDLE, CloseHandle, InvalidIsEmpty>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindClose, InvalidIsEmpty>;

// Holds a critical section for the life of a scope. (The flag set for a
// scope, ScopedFlag, is in scoped_flag.h, which portable code includes.)
class CriticalSectionLock {
 public:
  explicit CriticalSectionLock(CRITICAL_SECTION& section) : section_(section) {
    EnterCriticalSection(&section_);
  }
  ~CriticalSectionLock() { LeaveCriticalSection(&section_); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

// A window's (or, for nullptr, the screen's) device context from GetDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The device context of one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace wendrel
