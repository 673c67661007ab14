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
  static std::nullptr_t Empty() { return nullptr; }
};
struct InvalidIsEmpty {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
};

// Owns one handle and frees it exactly once with Traits::Free.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

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
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Handle release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(Handle h = Traits::Empty()) {
    Handle old = std::exchange(handle_, h);
    if (old != Traits::Empty()) Traits::Free(old);
  }

 private:
  Handle handle_ = Traits::Empty();
};

struct HwndTraits : NullIsEmpty {
  using Handle = HWND;
  static void Free(HWND h) { DestroyWindow(h); }
};
struct HbrushTraits : NullIsEmpty {
  using Handle = HBRUSH;
  static void Free(HBRUSH h) { DeleteObject(h); }
};
struct HkeyTraits : NullIsEmpty {
  using Handle = HKEY;
  static void Free(HKEY h) { RegCloseKey(h); }
};
struct HmenuTraits : NullIsEmpty {
  using Handle = HMENU;
  static void Free(HMENU h) { DestroyMenu(h); }
};
// Threads, processes, events, mutexes and jobs.
struct KernelTraits : NullIsEmpty {
  using Handle = HANDLE;
  static void Free(HANDLE h) { CloseHandle(h); }
};
// CreateFile fails with INVALID_HANDLE_VALUE, not null.
struct FileTraits : InvalidIsEmpty {
  using Handle = HANDLE;
  static void Free(HANDLE h) { CloseHandle(h); }
};
struct FindTraits : InvalidIsEmpty {
  using Handle = HANDLE;
  static void Free(HANDLE h) { FindClose(h); }
};

using UniqueHwnd = UniqueHandle<HwndTraits>;
using UniqueHbrush = UniqueHandle<HbrushTraits>;
using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueHmenu = UniqueHandle<HmenuTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueFileHandle = UniqueHandle<FileTraits>;
using UniqueFindHandle = UniqueHandle<FindTraits>;

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
