#include "app/main_panel_win32.h"

#include "app/announcements.h"
#include "app/main_panel_ids.h"
#include "app/main_panel_layout.h"
#include "app/main_panel_layout_win32.h"
#include "automation/private_room.h"
#include "winutil/window_text_win32.h"

namespace wendrel {

namespace {

// The icon group of resources/wendrel.rc.
constexpr WORD kIconId = 1;
// The window shows once its sign-on lines are out, or after this long.
constexpr unsigned kSignOnWaitMs = 3000;

int CounterId(Counter c) {
  switch (c) {
    case Counter::kDays:
      return kLabel7Id;
    case Counter::kHours:
      return kLabel6Id;
    case Counter::kMinutes:
      break;
  }
  return kLabel1Id;
}

bool RegisterForm1Class(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  // Shared icons and cursors belong to the system; nothing to free.
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
  wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kIconId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kForm1Class;
  return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<Form1> Form1::Create(HINSTANCE instance, AppServices& services,
                                     std::function<void()> end_program) {
  if (!RegisterForm1Class(instance, &Form1::WndProc)) return nullptr;
  std::unique_ptr<Form1> form(new Form1(instance, services, std::move(end_program)));
  const FormGeometry& g = kForm1Geometry;
  const PixelBox box = ToPixels(g.left, g.top, g.width, g.height, form->painter_.dpi());
  // WS_MINIMIZEBOX draws nothing on a window without a caption, but lets
  // the taskbar button minimise and restore it; the taskbar button is how a
  // minimised panel comes back.
  HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, kForm1Class, kForm1Caption,
                              WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN, box.x, box.y,
                              box.width, box.height, nullptr, nullptr, instance, form.get());
  if (!hwnd) return nullptr;
  return form;
}

Form1::~Form1() {
  closing_ = Closing::kDiscarded;
  window_.reset();
}

// --- the window procedure -------------------------------------------------

LRESULT CALLBACK Form1::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form1* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  } else {
    self = reinterpret_cast<Form1*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->OnNcDestroy();
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  return self->HandleMessage(msg, wp, lp);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = window_.get();
  switch (msg) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_TIMER:
      OnTimer(wp);
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      OnEndSession(wp != FALSE);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_ERASEBKGND:
      painter_.EraseBackground(hwnd, reinterpret_cast<HDC>(wp));
      return 1;
    case WM_PAINT:
      painter_.Paint(hwnd);
      return 0;
    case WM_DRAWITEM:
      painter_.DrawItem(hwnd, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_ACTIVATE:
      if (OnActivate(LOWORD(wp) != WA_INACTIVE, HIWORD(wp) != 0)) return 0;
      break;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case kClientDeniedMessage:
      OnClientDenied();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

// Label4 takes every mouse press itself: a press starts the drag, and the
// static's own click notice must not follow the drag as a second event.
LRESULT CALLBACK Form1::TitleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  const WNDPROC original = self->title_proc_;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDOWN:
    case WM_XBUTTONDBLCLK:
      self->OnTitleMouseDown(msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK);
      return (msg == WM_XBUTTONDOWN || msg == WM_XBUTTONDBLCLK) ? TRUE : 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return 0;
    case WM_XBUTTONUP:
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return CallWindowProcA(original, hwnd, msg, wp, lp);
}

// --- creation and destruction ---------------------------------------------

bool Form1::OnCreate() {
  HWND hwnd = window_.get();
  if (!painter_.CreateObjects()) return false;

  opt_menu_.reset(CreatePopupMenu());
  if (!opt_menu_) return false;
  for (const MenuItemLayout& item : OptMenu())
    if (!AppendMenuA(opt_menu_.get(), MF_STRING, item.id, item.caption)) return false;

  controls_ = CreateForm1Controls(hwnd, instance_, painter_.dpi(), painter_.font());
  if (controls_.empty()) return false;

  HWND title = Control(kLabel4Id);
  SetWindowLongPtrA(title, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  title_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(title, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1::TitleProc)));
  return title_proc_ != nullptr;
}

void Form1::OnDestroy() {
  if (timer_enabled_) KillTimer(window_.get(), kTimer1Id);
  timer_enabled_ = false;
  // The child windows go with this one; nothing may reach them by a handle
  // the system could give to a new window.
  controls_.clear();
  last_focus_ = nullptr;
  if (closing_ != Closing::kDiscarded) PostQuitMessage(0);
}

void Form1::OnNcDestroy() { window_.release(); }

HWND Form1::Control(int id) const {
  for (const auto& [control_id, hwnd] : controls_)
    if (control_id == id) return hwnd;
  return nullptr;
}

// --- lifecycle ------------------------------------------------------------

void Form1::Load() {
  StayOnTop();
  StayOnTop();
  AnnounceSignLines(kActiveStatus);
  services_.link.Flush(kSignOnWaitMs);
}

void Form1::Show(int show_command) {
  HWND hwnd = window_.get();
  if (!hwnd || Ended()) return;
  ShowWindow(hwnd, show_command);
  UpdateWindow(hwnd);
  if (HWND first = Control(kCommand1Id)) SetFocus(first);
}

void Form1::Terminate(unsigned close_ms) {
  if (closing_ == Closing::kTerminated || Ended()) return;
  closing_ = Closing::kTerminated;
  AnnounceSignOff();
  services_.link.Close(close_ms);
}

bool Form1::AnnounceSignLines(const std::string& status) {
  const HandleCheck check = EnsureHandle(services_, status);
  if (!check.stored) return false;
  Announce(services_, BannerLine());
  Announce(services_, status + check.handle);
  return true;
}

void Form1::AnnounceSignOff() {
  const std::string handle = services_.store.Read();
  if (handle.empty()) return;
  Announce(services_, BannerLine());
  Announce(services_, kInactiveStatus + handle);
}

// The Unload handler: its lines go out, and the close always goes ahead.
// A program that is closing asks nothing: a prompt that is open closes as
// cancelled, and without a handle nothing is posted.
void Form1::OnClose() {
  if (closing_ != Closing::kOpen) return;
  closing_ = Closing::kUnloaded;
  services_.prompt.Cancel();
  AnnounceSignOff();
  if (window_) DestroyWindow(window_.get());
}

void Form1::OnEndSession(bool ending) {
  if (!ending) return;
  // Windows ends the process soon after this returns: no message loop will
  // run again, and a client that does not answer must not hold it up. An
  // exit control has handed its lines over already: they get what time
  // there is.
  if (Ended()) {
    services_.link.Close(kEndSessionLimitMs);
    return;
  }
  OnClose();
  Terminate(kEndSessionLimitMs);
}

// "Exit", the menu's "exit" and "x".
void Form1::ExitClick() {
  if (!AnnounceSignLines(kInactiveStatus)) return;
  EndProgram();
}

void Form1::EndProgram() {
  if (Ended()) return;
  closing_ = Closing::kEnded;
  // Gone at once for the user; the lines handed over go out meanwhile.
  if (timer_enabled_) KillTimer(window_.get(), kTimer1Id);
  timer_enabled_ = false;
  if (window_) ShowWindow(window_.get(), SW_HIDE);
  services_.link.Close(kCloseLimitMs);
  if (end_program_) {
    end_program_();
  } else {
    ExitProcess(0);
  }
}

// --- events ---------------------------------------------------------------

void Form1::OnCommand(int id, int code) {
  if (Ended() || !window_) return;
  // Owner-drawn buttons report the second click of a double click apart.
  const bool button_click = code == BN_CLICKED || code == BN_DOUBLECLICKED;
  switch (id) {
    case kCommand1Id:
      if (button_click) StartIdle(services_, *this);
      break;
    case kCommand2Id:
    case kCommand6Id:
      if (button_click) StopIdle(services_, *this);
      break;
    case kCommand3Id:
      if (button_click) ExitClick();
      break;
    case kCommand4Id:
      if (button_click) ShowOptions();
      break;
    case kCommand5Id:
      if (button_click) EnterRoom(WindowText(Control(kText2Id)));
      break;
    case kLabel3Id:
    case kLabel4Id:
      if (code == STN_CLICKED) Minimise();
      break;
    case kLabel5Id:
      if (code == STN_CLICKED) ExitClick();
      break;
    case kMenuAbtId:
      ShowBox(AboutText());
      break;
    case kMenuGtsId:
      ShowBox(GreetsText());
      break;
    case kMenuCntId:
      ShowBox(ContactText());
      break;
    case kMenuExtId:
      ExitClick();
      break;
    default:
      break;
  }
}

void Form1::OnTimer(UINT_PTR id) {
  // Ticks also arrive posted by other programs, and one may still be queued
  // after the timer was stopped.
  if (id != kTimer1Id || !timer_enabled_ || Ended()) return;
  IdleTick(services_, *this);
}

void Form1::OnTitleMouseDown(bool left_button) {
  if (Ended() || !window_) return;
  const bool moved = FormDrag(window_.get(), services_.loop);
  // A left press released without moving the window was a click on the
  // title, which minimises.
  if (left_button && !moved && window_ && !Ended()) Minimise();
}

void Form1::EnterRoom(const std::string& room) {
  services_.link.HandRoomEntry(
      [room](Platform& p, ChatSession& chat) { EnterPrivateRoom(p, chat, room); });
}

void Form1::Minimise() {
  if (window_) ShowWindow(window_.get(), SW_MINIMIZE);
}

void Form1::ShowOptions() {
  POINT at{};
  GetCursorPos(&at);
  // The choice comes back as a WM_COMMAND with the item's id.
  TrackPopupMenu(opt_menu_.get(), 0, at.x, at.y, 0, window_.get(), nullptr);
}

// Once a run: the user needs to hear it once, not once a line.
void Form1::OnClientDenied() {
  if (denied_shown_ || Ended()) return;
  denied_shown_ = true;
  ShowBox(kDeniedText);
}

void Form1::ShowBox(const std::string& text) {
  MessageBoxA(window_.get(), text.c_str(), kAppTitle, MB_OK);
}

bool Form1::OnActivate(bool active, bool minimised) {
  HWND hwnd = window_.get();
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd, focus)) last_focus_ = focus;
    return false;
  }
  if (minimised) return false;
  OnSetFocus();
  return true;
}

// The focus goes back to the control that had it, "Idle On" at first.
void Form1::OnSetFocus() {
  HWND target = (last_focus_ && IsWindow(last_focus_)) ? last_focus_ : Control(kCommand1Id);
  if (target) SetFocus(target);
}

// --- IdleForm -------------------------------------------------------------

std::string Form1::CounterText(Counter c) { return WindowText(Control(CounterId(c))); }

void Form1::SetCounterText(Counter c, const std::string& text) {
  if (HWND label = Control(CounterId(c))) SetWindowTextA(label, text.c_str());
}

void Form1::EnableTimer(bool enabled) {
  if (enabled == timer_enabled_) return;
  HWND hwnd = window_.get();
  if (enabled) {
    if (!hwnd || Ended() || !SetTimer(hwnd, kTimer1Id, kTimer1IntervalMs, nullptr)) return;
  } else if (hwnd) {
    KillTimer(hwnd, kTimer1Id);
  }
  timer_enabled_ = enabled;
}

void Form1::RestartTimer() {
  // Setting a timer again under its id starts its interval over.
  if (timer_enabled_ && window_) SetTimer(window_.get(), kTimer1Id, kTimer1IntervalMs, nullptr);
}

void Form1::StayOnTop() {
  if (window_) wendrel::StayOnTop(window_.get());
}

}  // namespace wendrel
