// What the end-to-end tests need around the programs they run: processes
// that end with the test whatever happens, the idler's prompt and the
// handle it stores.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/main_panel_ids.h"
#include "tests/support/support_win32.h"

namespace wendrel::e2e {

using namespace wendrel::testing;

// Milliseconds of the real clock.
inline std::uint64_t Ms() { return GetTickCount64(); }

// A process started by a test. The destructor ends it if it still runs and
// waits until it is gone; a job ends it too if the test program dies.
class ChildProcess {
 public:
  // `args` as the command line has them, quotes and all.
  ChildProcess(const std::string& exe, const std::string& args, const std::string& work_dir);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  bool Running() const;
  // Stops or starts again its first thread, as a program that hangs.
  void Freeze(bool frozen) const {
    frozen ? SuspendThread(thread_.get()) : ResumeThread(thread_.get());
  }
  // Its exit code, or nothing while it still runs after `timeout_ms`.
  std::optional<DWORD> WaitForExit(unsigned timeout_ms);

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
};

// clientsim.exe, started in `dir` with its transcript there; waits until
// its windows are up.
class SimulatedClient : public Transcript {
 public:
  SimulatedClient(const TempDir& dir, const std::string& args);
  bool up() const { return !Payloads("ready").empty(); }
  bool WaitForLines(std::size_t count) const { return WaitFor("chat", count, 10000); }
  // Until a --hang-* fault has stopped the client.
  bool WaitForHang() const { return WaitFor("hang", 1, 10000); }

 private:
  ChildProcess process_;
};

// A copy of the idler in `dir`, where the test's zq7.ini sits; its path.
std::string CopyOfIdler(const TempDir& dir);

// The idler, run from a copy in `dir` so that the test's zq7.ini sits
// beside it; waits for its main window (hidden while the load handler runs).
class IdlerProcess {
 public:
  explicit IdlerProcess(const TempDir& dir);
  HWND window() const { return window_; }
  ChildProcess& process() { return process_; }
  // Posted, as the user's click would be queued: the handler may open the
  // prompt, which the test must be free to answer.
  void Click(int id) const { PostMessageA(window_, WM_COMMAND, id, 0); }
  // One tick of the idle timer, now: a real one comes once a minute.
  void Tick() const { PostMessageA(window_, WM_TIMER, kIdleTimer, 0); }
  // True once the idler has handled everything posted to it before.
  bool Settle() const;

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

// The handle prompt once it is shown; null when it was not in time.
HWND WaitForPrompt(unsigned timeout_ms = 15000);
// Types `answer` and presses OK; true once the prompt has closed.
bool AnswerPrompt(HWND prompt, const char* answer);

// The handle as the idler stores it, read without the idler's own code.
std::optional<std::string> ReadStoredHandle();

// Writes the handle where the idler looks for it, or removes it.
void StoreHandle(const std::optional<std::string>& handle);

// Stores `handle` (or none) for one test and puts back what was there.
struct StoredHandleScope {
  explicit StoredHandleScope(const std::optional<std::string>& handle) { StoreHandle(handle); }
  ~StoredHandleScope() { StoreHandle(before); }
  const std::optional<std::string> before = ReadStoredHandle();
};

}  // namespace wendrel::e2e
