// Move-only owners for the system objects the program creates.
#pragma once

#include <windows.h>

#include <utility>

namespace wendrel {

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
  explicit operator bool() const { return handle_ != nullptr; }
  Handle release() { return std::exchange(handle_, nullptr); }
  void reset(Handle h = nullptr) {
    Handle old = std::exchange(handle_, h);
    if (old) Traits::Free(old);
  }

 private:
  Handle handle_ = nullptr;
};

struct HwndTraits {
  using Handle = HWND;
  static void Free(HWND h) { DestroyWindow(h); }
};
// Fonts, brushes and pens all go back with DeleteObject.
template <typename GdiObject>
struct GdiTraits {
  using Handle = GdiObject;
  static void Free(GdiObject h) { DeleteObject(h); }
};
struct HkeyTraits {
  using Handle = HKEY;
  static void Free(HKEY h) { RegCloseKey(h); }
};
struct HmenuTraits {
  using Handle = HMENU;
  static void Free(HMENU h) { DestroyMenu(h); }
};

// Threads, events and mutexes go back with CloseHandle.
struct KernelTraits {
  using Handle = HANDLE;
  static void Free(HANDLE h) { CloseHandle(h); }
};

using UniqueHwnd = UniqueHandle<HwndTraits>;
using UniqueKernelHandle = UniqueHandle<KernelTraits>;
using UniqueHfont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueHbrush = UniqueHandle<GdiTraits<HBRUSH>>;
using UniqueHpen = UniqueHandle<GdiTraits<HPEN>>;
using UniqueHkey = UniqueHandle<HkeyTraits>;
using UniqueHmenu = UniqueHandle<HmenuTraits>;

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
