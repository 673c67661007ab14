// The main window: a small borderless panel above all other windows.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/idle.h"
#include "app/main_panel_paint_win32.h"
#include "app/services.h"
#include "winutil/handles_win32.h"

namespace wendrel {

class MainPanel : public IdlePanel {
 public:
  // Creates the window hidden, with every control; empty when any step
  // fails. `services` must outlive the panel. `end_program` ends the process
  // when an exit control is used (ExitProcess when empty); it is not
  // expected to return.
  static std::unique_ptr<MainPanel> Create(HINSTANCE instance, AppServices& services,
                                           std::function<void()> end_program = {});
  ~MainPanel() override;
  MainPanel(const MainPanel&) = delete;
  MainPanel& operator=(const MainPanel&) = delete;

  // Null once the window is destroyed.
  HWND hwnd() const { return window_.get(); }
  bool Destroyed() const { return !window_; }

  // The load handler: StayOnTop twice, then the sign-on lines (or the
  // prompt), all before the window is shown (a client that does not
  // answer holds the window back for a few seconds at most).
  void Load();
  // Shows the window with the keyboard focus on "Idle On".
  void Show(int show_command);
  // The terminate handler, run once after the message loop when the window
  // was closed by the platform: its lines are handed over and the link to
  // the client is closed, waiting at most `close_ms` for them to go out.
  // Does nothing after an exit control ended the program.
  void Terminate(unsigned close_ms = kCloseLimitMs);

  // How long the program may take to end once it is closed: three seconds
  // for the closing lines, whatever is under way, and one for the user's
  // text after them. Then it ends, even with a send to a frozen client
  // still under way.
  static constexpr unsigned kCloseLimitMs = 4000;
  // Windows ends the process soon after WM_ENDSESSION returns, and counts a
  // program that takes 5 s to answer as one that blocks the shutdown: well
  // within two seconds, with room to spare on a busy machine.
  static constexpr unsigned kEndSessionLimitMs = 1500;

  // IdlePanel: the counters are the captions of the days, hours and
  // minutes labels; idle mode is the idle timer's enabled flag.
  std::string CounterText(Counter c) override;
  void SetCounterText(Counter c, const std::string& text) override;
  // Enabling an enabled timer keeps its countdown.
  void EnableTimer(bool enabled) override;
  bool TimerEnabled() override { return timer_enabled_; }
  void RestartTimer() override;
  void StayOnTop() override;
  bool& TickInProgress() override { return tick_in_progress_; }

 private:
  MainPanel(HINSTANCE instance, AppServices& services, std::function<void()> end_program)
      : instance_(instance),
        services_(services),
        end_program_(std::move(end_program)),
        painter_(GetScreenDpi()) {}

  // How far the window has gone towards closing. WM_CLOSE and the end of
  // the session run Unload, which takes the window (kUnloaded); the end of
  // the message loop runs Terminate (kTerminated); an exit control signs
  // off itself and ends the program at once (kEnded), and then nothing
  // else runs; the destructor takes the window without ending any message
  // loop (kDiscarded).
  enum class Closing { kOpen, kUnloaded, kTerminated, kEnded, kDiscarded };
  bool Ended() const { return closing_ == Closing::kEnded; }

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK TitleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  bool OnCreate();
  void OnCommand(int id, int code);
  void OnTimer(UINT_PTR id);
  void OnClose();
  void OnDestroy();
  void OnNcDestroy();
  bool OnActivate(bool active, bool minimised);
  void OnSetFocus();
  void OnEndSession(bool ending);
  void OnClientDenied();
  void OnTitleMouseDown(bool left_button);

  // The handlers of the design.
  void ExitClick();
  void Minimise();
  void EnterRoom(const std::string& room);
  void ShowOptions();
  void ShowBox(const std::string& text);

  // EnsureHandle with `status`; when the handle was stored, the banner and
  // status + handle. Returns whether it was stored.
  bool AnnounceSignLines(const std::string& status);
  // The same for a program that is ending, which asks nothing: without a
  // stored handle nothing is posted.
  void AnnounceSignOff();
  void EndProgram();

  HWND Control(int id) const;

  HINSTANCE instance_;
  AppServices& services_;
  std::function<void()> end_program_;
  MainPanelPainter painter_;
  UniqueHwnd window_;
  UniqueHmenu options_menu_;
  std::vector<std::pair<int, HWND>> controls_;
  WNDPROC title_proc_ = nullptr;  // the title label's own procedure
  HWND last_focus_ = nullptr;
  bool timer_enabled_ = false;
  bool tick_in_progress_ = false;
  Closing closing_ = Closing::kOpen;
  bool denied_shown_ = false;
};

}  // namespace wendrel
