// What the tests on the real window system share: per-test folders, the
// simulated client's transcript, waits with deadlines, window text as
// another program reads it, the simulated client on a thread of the test
// process, and the platform layer with the clock in the test's hands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <atomic>

#include "automation/discovery.h"
#include "automation/platform_win32.h"
#include "winutil/event_loop_win32.h"
#include "winutil/handles_win32.h"

namespace wendrel::testing {

// A fresh folder under the system's temp folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  bool Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// The simulated client's transcript, read while the client runs.
class Transcript {
 public:
  explicit Transcript(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  // The payloads of every complete record with this tag, in order.
  std::vector<std::string> Payloads(const std::string& tag) const;
  std::vector<std::string> Chat() const { return Payloads("chat"); }
  // What was done to the rooms' input boxes, in order: "set TEXT" for each
  // text set from outside, "enter" for each Enter.
  std::vector<std::string> Typing() const;
  bool WaitFor(const std::string& tag, std::size_t count, unsigned timeout_ms) const;

 private:
  struct Record {
    std::string tag, payload;
  };
  std::vector<Record> Records() const;
  std::string path_;
};

// Handles this thread's messages until `done` holds (true) or `timeout_ms`
// have passed (false).
bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms);
// A window's text, read and set as the program does, with bounded sends.
inline std::string TextOf(HWND hwnd) {
  Win32Platform p;
  return GetText(p, FromHwnd(hwnd));
}
inline bool SetTextOf(HWND hwnd, const std::string& text) {
  return Win32Platform().SetText(FromHwnd(hwnd), text) == Sent::kTaken;
}
// The running client's "AOL Child" windows, topmost first.
std::vector<HWND> ClientChildren();
// The input box of a room: the second "RICHCNTL" or the "_AOL_Edit".
HWND InputOf(HWND room);

// The simulated client on a thread of this process, set up by the same
// options as clientsim.exe, with its transcript in a folder of its own.
// Wine reads a menu bar only within its own process, so here every
// version is told apart. Not for the faults that stop the client's thread
// or process (--hang-*, --quit-*).
class SimThread {
 public:
  explicit SimThread(std::vector<std::string> args);
  ~SimThread();
  SimThread(const SimThread&) = delete;
  SimThread& operator=(const SimThread&) = delete;

  // False when the options were refused or a window could not be made.
  explicit operator bool() const { return frame_ != nullptr; }
  const Transcript& transcript() const { return transcript_; }
  std::vector<std::string> Chat() const { return transcript_.Chat(); }

 private:
  static DWORD WINAPI Run(void* self);

  TempDir dir_;
  Transcript transcript_;
  std::vector<std::string> args_;
  UniqueKernelHandle ready_;
  UniqueKernelHandle thread_;
  HWND frame_ = nullptr;
};

// The real platform layer, windows and all, whose clock moves only when the
// code under test rests: a rest of n ms takes at most a real millisecond,
// so that other threads run, and moves the clock by n. zq7.ini is looked
// for in `folder`. For the posting thread: the clock may be read from the
// test's thread too.
class VirtualClockPlatform : public Win32Platform {
 public:
  explicit VirtualClockPlatform(std::string folder) : folder_(std::move(folder)) {}
  std::string ExeFolder() override { return folder_; }
  std::uint64_t NowMs() override { return now_ms_; }
  void Rest(unsigned milliseconds) override;
  // Windows' answer to a program with fewer rights than the client's, which
  // Wine cannot give: every set refused.
  Sent SetText(Hwnd hwnd, const std::string& text) override {
    return deny_sets ? Sent::kDenied : Win32Platform::SetText(hwnd, text);
  }
  bool deny_sets = false;
  // Run once, at the next rest, as a key the user presses meanwhile.
  std::function<void()> on_rest;

 private:
  std::string folder_;
  std::atomic<std::uint64_t> now_ms_{1000000};
};

// The window thread's real event loop with the same kind of clock, and
// events the test schedules on it.
class VirtualEventLoop : public Win32EventLoop {
 public:
  std::uint64_t NowMs() override { return now_ms_; }
  void WaitForEvents(unsigned milliseconds) override;
  // Real events first, then what the test scheduled and is due by now.
  void DoEvents() override;
  void Advance(std::uint64_t ms) { now_ms_ += ms; }
  // Runs `fn` inside the first DoEvents at or after `delay_ms` from now, as
  // a click or a tick would run inside a wait of the code under test.
  void After(std::uint64_t delay_ms, std::function<void()> fn);
  // Runs what is scheduled, each at its time, until the clock reads `at`.
  void RunUntil(std::uint64_t at);
  // The length asked for by every wait, in order.
  const std::vector<unsigned>& Waits() const { return waits_; }

 private:
  struct Scheduled {
    std::uint64_t at;
    std::function<void()> fn;
  };
  std::uint64_t now_ms_ = 1000000;
  std::vector<unsigned> waits_;
  std::vector<Scheduled> scheduled_;
};

}  // namespace wendrel::testing
