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
      return kDaysLabel;
    case Counter::kHours:
      return kHoursLabel;
    case Counter::kMinutes:
      break;
  }
  return kMinutesLabel;
}

bool RegisterMainPanelClass(HINSTANCE instance, WNDPROC proc) {
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
  wc.lpszClassName = kMainPanelClass;
  return RegisterClassExA(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<MainPanel> MainPanel::Create(HINSTANCE instance, AppServices& services,
                                             std::function<void()> end_program) {
  if (!RegisterMainPanelClass(instance, &MainPanel::WndProc)) return nullptr;
  std::unique_ptr<MainPanel> panel(new MainPanel(instance, services, std::move(end_program)));
  const PanelGeometry& g = kMainPanelGeometry;
  const PixelBox box = ToPixels(g.left, g.top, g.width, g.height, panel->painter_.dpi());
  // WS_MINIMIZEBOX draws nothing on a window without a caption, but lets
  // the taskbar button minimise and restore it; the taskbar button is how a
  // minimised panel comes back.
  HWND hwnd = CreateWindowExA(WS_EX_APPWINDOW, kMainPanelClass, kMainPanelCaption,
                              WS_POPUP | WS_MINIMIZEBOX | WS_CLIPCHILDREN, box.x, box.y, box.width,
                              box.height, nullptr, nullptr, instance, panel.get());
  if (!hwnd) return nullptr;
  return panel;
}

MainPanel::~MainPanel() {
  closing_ = Closing::kDiscarded;
  window_.reset();
}

// --- the window procedure -------------------------------------------------

LRESULT CALLBACK MainPanel::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  MainPanel* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<MainPanel*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(hwnd);
  } else {
    self = reinterpret_cast<MainPanel*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->OnNcDestroy();
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  return self->HandleMessage(msg, wp, lp);
}

LRESULT MainPanel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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

// The title takes every mouse press itself: a press starts the drag, and the
// static's own click notice must not follow the drag as a second event.
LRESULT CALLBACK MainPanel::TitleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<MainPanel*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
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

bool MainPanel::OnCreate() {
  HWND hwnd = window_.get();
  if (!painter_.CreateObjects()) return false;

  options_menu_.reset(CreatePopupMenu());
  if (!options_menu_) return false;
  for (const MenuItemLayout& item : OptionsMenu())
    if (!AppendMenuA(options_menu_.get(), MF_STRING, item.id, item.caption)) return false;

  controls_ = CreateMainPanelControls(hwnd, instance_, painter_.dpi(), painter_.font());
  if (controls_.empty()) return false;

  HWND title = Control(kTitleLabel);
  SetWindowLongPtrA(title, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  title_proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(title, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainPanel::TitleProc)));
  return title_proc_ != nullptr;
}

void MainPanel::OnDestroy() {
  if (timer_enabled_) KillTimer(window_.get(), kIdleTimer);
  timer_enabled_ = false;
  // The child windows go with this one; nothing may reach them by a handle
  // the system could give to a new window.
  controls_.clear();
  last_focus_ = nullptr;
  if (closing_ != Closing::kDiscarded) PostQuitMessage(0);
}

void MainPanel::OnNcDestroy() { window_.release(); }

HWND MainPanel::Control(int id) const {
  for (const auto& [control_id, hwnd] : controls_)
    if (control_id == id) return hwnd;
  return nullptr;
}

// --- lifecycle ------------------------------------------------------------

void MainPanel::Load() {
  StayOnTop();
  StayOnTop();
  AnnounceSignLines(kActiveStatus);
  services_.link.Flush(kSignOnWaitMs);
}

void MainPanel::Show(int show_command) {
  HWND hwnd = window_.get();
  if (!hwnd || Ended()) return;
  ShowWindow(hwnd, show_command);
  UpdateWindow(hwnd);
  if (HWND first = Control(kIdleOnButton)) SetFocus(first);
}

void MainPanel::Terminate(unsigned close_ms) {
  if (closing_ == Closing::kTerminated || Ended()) return;
  closing_ = Closing::kTerminated;
  AnnounceSignOff();
  services_.link.Close(close_ms);
}

bool MainPanel::AnnounceSignLines(const std::string& status) {
  const HandleCheck check = EnsureHandle(services_, status);
  if (!check.stored) return false;
  Announce(services_, BannerLine());
  Announce(services_, status + check.handle);
  return true;
}

void MainPanel::AnnounceSignOff() {
  const std::string handle = services_.store.Read();
  if (handle.empty()) return;
  Announce(services_, BannerLine());
  Announce(services_, kInactiveStatus + handle);
}

// The Unload handler: its lines go out, and the close always goes ahead.
// A program that is closing asks nothing: a prompt that is open closes as
// cancelled, and without a handle nothing is posted.
void MainPanel::OnClose() {
  if (closing_ != Closing::kOpen) return;
  closing_ = Closing::kUnloaded;
  services_.prompt.Cancel();
  AnnounceSignOff();
  if (window_) DestroyWindow(window_.get());
}

void MainPanel::OnEndSession(bool ending) {
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
void MainPanel::ExitClick() {
  if (!AnnounceSignLines(kInactiveStatus)) return;
  EndProgram();
}

void MainPanel::EndProgram() {
  if (Ended()) return;
  closing_ = Closing::kEnded;
  // Gone at once for the user; the lines handed over go out meanwhile.
  if (timer_enabled_) KillTimer(window_.get(), kIdleTimer);
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

void MainPanel::OnCommand(int id, int code) {
  if (Ended() || !window_) return;
  // Owner-drawn buttons report the second click of a double click apart.
  const bool button_click = code == BN_CLICKED || code == BN_DOUBLECLICKED;
  switch (id) {
    case kIdleOnButton:
      if (button_click) StartIdle(services_, *this);
      break;
    case kHiddenIdleOffButton:
    case kIdleOffButton:
      if (button_click) StopIdle(services_, *this);
      break;
    case kExitButton:
      if (button_click) ExitClick();
      break;
    case kOptionsButton:
      if (button_click) ShowOptions();
      break;
    case kEnterRoomButton:
      if (button_click) EnterRoom(WindowText(Control(kRoomBox)));
      break;
    case kMinimiseLabel:
    case kTitleLabel:
      if (code == STN_CLICKED) Minimise();
      break;
    case kExitLabel:
      if (code == STN_CLICKED) ExitClick();
      break;
    case kAboutMenuItem:
      ShowBox(AboutText());
      break;
    case kGreetsMenuItem:
      ShowBox(GreetsText());
      break;
    case kContactMenuItem:
      ShowBox(ContactText());
      break;
    case kExitMenuItem:
      ExitClick();
      break;
    default:
      break;
  }
}

void MainPanel::OnTimer(UINT_PTR id) {
  // Ticks also arrive posted by other programs, and one may still be queued
  // after the timer was stopped.
  if (id != kIdleTimer || !timer_enabled_ || Ended()) return;
  IdleTick(services_, *this);
}

void MainPanel::OnTitleMouseDown(bool left_button) {
  if (Ended() || !window_) return;
  const bool moved = FormDrag(window_.get(), services_.loop);
  // A left press released without moving the window was a click on the
  // title, which minimises.
  if (left_button && !moved && window_ && !Ended()) Minimise();
}

void MainPanel::EnterRoom(const std::string& room) {
  services_.link.HandRoomEntry(
      [room](Platform& p, ChatSession& chat) { EnterPrivateRoom(p, chat, room); });
}

void MainPanel::Minimise() {
  if (window_) ShowWindow(window_.get(), SW_MINIMIZE);
}

void MainPanel::ShowOptions() {
  POINT at{};
  GetCursorPos(&at);
  // The choice comes back as a WM_COMMAND with the item's id.
  TrackPopupMenu(options_menu_.get(), 0, at.x, at.y, 0, window_.get(), nullptr);
}

// Once a run: the user needs to hear it once, not once a line.
void MainPanel::OnClientDenied() {
  if (denied_shown_ || Ended()) return;
  denied_shown_ = true;
  ShowBox(kDeniedText);
}

void MainPanel::ShowBox(const std::string& text) {
  MessageBoxA(window_.get(), text.c_str(), kAppTitle, MB_OK);
}

bool MainPanel::OnActivate(bool active, bool minimised) {
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
void MainPanel::OnSetFocus() {
  HWND target = (last_focus_ && IsWindow(last_focus_)) ? last_focus_ : Control(kIdleOnButton);
  if (target) SetFocus(target);
}

// --- IdlePanel -------------------------------------------------------------

std::string MainPanel::CounterText(Counter c) { return WindowText(Control(CounterId(c))); }

void MainPanel::SetCounterText(Counter c, const std::string& text) {
  if (HWND label = Control(CounterId(c))) SetWindowTextA(label, text.c_str());
}

void MainPanel::EnableTimer(bool enabled) {
  if (enabled == timer_enabled_) return;
  HWND hwnd = window_.get();
  if (enabled) {
    if (!hwnd || Ended() || !SetTimer(hwnd, kIdleTimer, kIdleTimerIntervalMs, nullptr)) return;
  } else if (hwnd) {
    KillTimer(hwnd, kIdleTimer);
  }
  timer_enabled_ = enabled;
}

void MainPanel::RestartTimer() {
  // Setting a timer again under its id starts its interval over.
  if (timer_enabled_ && window_) SetTimer(window_.get(), kIdleTimer, kIdleTimerIntervalMs, nullptr);
}

void MainPanel::StayOnTop() {
  if (window_) wendrel::StayOnTop(window_.get());
}

}  // namespace wendrel
