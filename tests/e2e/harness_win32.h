// What the end-to-end tests need around the programs they run: processes
// that end with the test whatever happens, per-test folders, waits with
// deadlines, the simulated client's transcript and the stored handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "automation/platform_win32.h"
#include "tools/clientsim/transcript_format.h"

namespace wendrel::e2e {

// The built programs, as Windows paths.
std::string ClientSimExe();
std::string IdlerExe();
bool RunningUnderWine();

// Quotes one argument so that the C run-time hands it back unchanged.
std::string QuoteArgument(const std::string& arg);

// A process started by the test. The destructor terminates it (if still
// running) and waits for it to be gone, so no test leaves one behind; the
// processes also sit in a job that ends them if the test program dies.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Empty (false) when the process could not be started.
  static ChildProcess Start(const std::string& exe,
                            const std::vector<std::string>& args,
                            const std::string& work_dir = "");

  explicit operator bool() const { return process_ != nullptr; }
  HANDLE handle() const { return process_; }
  DWORD id() const { return id_; }
  bool Running() const;
  // Waits for the process to end by itself; its exit code, or nothing
  // when it still runs after `timeout_ms`.
  std::optional<DWORD> WaitForExit(unsigned timeout_ms);
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

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

// Returns as soon as `done` holds, or false once `timeout_ms` have passed;
// handles this thread's messages while it waits.
bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms);
// A top-level window by class and caption (either may be null).
HWND WaitForWindow(const char* cls, const char* caption, unsigned timeout_ms);
// A window's text, asked with a bounded WM_GETTEXT as another program would.
std::string TextOf(HWND hwnd);
// The direct children of `parent` of class `cls`, in z-order.
std::vector<HWND> ChildrenOf(HWND parent, const char* cls);

std::optional<std::string> ReadFileBytes(const std::string& path);

using clientsim::Record;

class Transcript {
 public:
  explicit Transcript(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  std::vector<Record> Records() const;
  // The payloads of every record with this tag, in order.
  std::vector<std::string> Payloads(const std::string& tag) const;
  bool WaitFor(const std::string& tag, std::size_t count, unsigned timeout_ms) const;

 private:
  std::string path_;
};

// The simulated client, started in its own folder with a transcript there.
class SimulatedClient {
 public:
  SimulatedClient() : transcript_("") {}
  // Starts clientsim.exe with `args` and waits until its windows are up.
  // Empty (false) when it did not come up.
  static SimulatedClient Start(const TempDir& dir, std::vector<std::string> args);
  explicit operator bool() const { return static_cast<bool>(process_); }
  ChildProcess& process() { return process_; }
  const Transcript& transcript() const { return transcript_; }
  std::vector<std::string> Chat() const { return transcript_.Payloads("chat"); }

  HWND Frame() const;
  HWND Mdi() const;
  // The "AOL Child" windows, topmost first.
  std::vector<HWND> Children() const;
  // The input box of a room: the second "RICHCNTL" or the "_AOL_Edit".
  static HWND InputOf(HWND room);

 private:
  SimulatedClient(ChildProcess process, std::string transcript)
      : process_(std::move(process)), transcript_(std::move(transcript)) {}
  ChildProcess process_;
  Transcript transcript_;
};

// The idler, run from a copy in a test's folder so that the test's zq7.ini
// sits beside it.
class IdlerProcess {
 public:
  IdlerProcess() = default;
  // Copies and starts the idler and waits for its main window to exist
  // (hidden while the load handler runs). Empty (false) when it did not.
  static IdlerProcess Start(const TempDir& dir);
  explicit operator bool() const { return window_ != nullptr; }
  ChildProcess& process() { return process_; }
  HWND window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }
  // A click posted, as the user's would be queued: the handler may show a
  // modal prompt, which the test must be free to answer.
  void Click(int id) const;
  // One tick of the idle timer, now.
  void Tick() const;
  // Returns once the idler has taken everything posted to it before the call
  // and pumps messages again; false if it did not in time.
  bool Settle(unsigned timeout_ms = 10000) const;

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

// The handle prompt, "#32770" captioned "wendrel idler"; null when it did
// not appear in time.
HWND WaitForPrompt(unsigned timeout_ms = 10000);
// Types `answer` into the prompt and presses OK, or presses Cancel; true
// once the prompt has closed.
bool AnswerPrompt(HWND prompt, const std::string& answer);
bool CancelPrompt(HWND prompt);

// The real platform layer, with the program's folder (where zq7.ini is
// looked for) moved to a test's own folder.
class TestPlatform : public Win32Platform {
 public:
  explicit TestPlatform(std::string folder) : folder_(std::move(folder)) {}
  std::string ExeFolder() override { return folder_; }

 private:
  std::string folder_;
};

// The idler's stored handle in the per-user settings store.
std::optional<std::string> ReadStoredHandle();
bool WriteStoredHandle(const std::string& handle);
void DeleteStoredHandle();

// Sets the stored handle for one test and puts back what was there before.
class StoredHandleScope {
 public:
  explicit StoredHandleScope(const std::optional<std::string>& handle);
  ~StoredHandleScope();
  StoredHandleScope(const StoredHandleScope&) = delete;
  StoredHandleScope& operator=(const StoredHandleScope&) = delete;

 private:
  std::optional<std::string> before_;
};

// Answers SendMessage from another thread and measures how long each answer
// took, to show that a thread stays responsive while it works.
class ResponsivenessProbe {
 public:
  ResponsivenessProbe();
  ~ResponsivenessProbe();
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;
  // The longest wait for an answer so far, in milliseconds.
  unsigned LongestWaitMs() const;
  unsigned Answers() const;

  struct State;

 private:
  State* state_;
};

}  // namespace wendrel::e2e
