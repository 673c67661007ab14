// The simulated chat client: real windows of the classes and captions that
// the idler looks for, answering the messages it sends.
#pragma once

#include <windows.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "tools/clientsim/options.h"

namespace wendrel::clientsim {

struct Room;
struct Control;

class SimClient {
 public:
  // Builds every window on the calling thread, which must then pump its
  // messages. Empty when a window cannot be made.
  static std::unique_ptr<SimClient> Create(const Options& options,
                                           HINSTANCE instance);
  ~SimClient();
  SimClient(const SimClient&) = delete;
  SimClient& operator=(const SimClient&) = delete;

  HWND frame() const { return frame_; }
  const Options& options() const { return options_; }
  // Gives the modeless error dialog its keyboard handling; true when the
  // message was used up.
  bool PreTranslate(MSG& msg);

  // Called by the window procedures.
  void OnInputEnter(Control& input);
  void OnInputText(bool set);
  void OnInputSet(const char* text);
  void OnKeywordEnter(HWND edit);
  void OnIconClick(Control& icon);
  void OnFrameTimer(UINT_PTR id);
  void OnFrameApp(WPARAM what);
  void OnChildDestroyed(HWND child);
  void OnDialogCommand(int id);

 private:
  SimClient(const Options& options, HINSTANCE instance);
  bool Build();
  bool BuildMenu();
  bool BuildToolbar();
  Room* MakeRoom(const ChildPlan& plan);
  HWND MakeChild(HWND parent, const char* cls, const char* text, DWORD style,
                 Control* control);
  Control* NewControl(int kind);
  void OpenAddress(const std::string& address);
  void OpenPrivateRoom(const std::string& caption);
  void ShowErrorDialog();
  void OpenKeywordWindow();
  void Record(const char* tag, const std::string& payload);
  void Hang();

  Options options_;
  HINSTANCE instance_;
  std::FILE* transcript_ = nullptr;
  HWND frame_ = nullptr;
  HWND mdi_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND buddy_list_ = nullptr;
  HWND dialog_ = nullptr;
  HWND dialog_message_ = nullptr;
  HWND keyword_window_ = nullptr;
  std::vector<std::unique_ptr<Room>> rooms_;
  std::deque<std::unique_ptr<Control>> controls_;
  std::string pending_room_;
  std::string shown_message_;
  int lines_taken_ = 0;
  unsigned input_reads_ = 0;
  unsigned input_sets_ = 0;
  bool own_set_ = false;  // the client empties its own box
  int next_cascade_ = 0;
};

// Builds the client and serves it until its frame is closed; the exit code.
int RunClient(const Options& options, HINSTANCE instance);
// Serves the client's windows on the calling thread until WM_QUIT.
int PumpClient(SimClient& client);

}  // namespace wendrel::clientsim
