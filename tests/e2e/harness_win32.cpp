#include "tests/e2e/harness_win32.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "automation/client_contract.h"

namespace wendrel::e2e {
namespace {

// Long enough for a cold Wine to start a process and build its windows.
constexpr unsigned kStartMs = 15000;
constexpr char kHandleKey[] = "Software\\VB and VBA Program Settings\\wendrel idler\\settings";

// Build paths are Unix paths; Wine shows the root of the file system as Z:.
std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

HANDLE TestJob() {
  static const UniqueKernelHandle job = [] {
    UniqueKernelHandle j(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(j.get(), JobObjectExtendedLimitInformation, &info, sizeof info);
    return j;
  }();
  return job.get();
}

// The programs this build made, or others named in the environment (the
// 32-bit builds), as Unix paths.
std::string ProgramPath(const char* variable, const char* built) {
  const char* named = std::getenv(variable);
  return WindowsPath(named && *named ? named : built);
}

}  // namespace

std::string CopyOfIdler(const TempDir& dir) {
  const std::string exe = dir.File("wendrel-idler.exe");
  CopyFileA(ProgramPath("WENDREL_IDLER_EXE", WENDREL_IDLER_PATH).c_str(), exe.c_str(), FALSE);
  return exe;
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& args,
                           const std::string& work_dir) {
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                      work_dir.c_str(), &si, &info))
    return;
  process_.reset(info.hProcess);
  thread_.reset(info.hThread);
  AssignProcessToJobObject(TestJob(), process_.get());
  ResumeThread(thread_.get());
}

// Each call fails harmlessly on a process that never started or has ended.
ChildProcess::~ChildProcess() {
  TerminateProcess(process_.get(), 99);
  WaitForSingleObject(process_.get(), 10000);
}

bool ChildProcess::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(unsigned timeout_ms) {
  DWORD code = 0;
  if (!WaitUntil([&] { return !Running(); }, timeout_ms) ||
      !GetExitCodeProcess(process_.get(), &code))
    return std::nullopt;
  return code;
}

SimulatedClient::SimulatedClient(const TempDir& dir, const std::string& args)
    : Transcript(dir.File("transcript.txt")),
      process_(ProgramPath("WENDREL_CLIENTSIM_EXE", WENDREL_CLIENTSIM_PATH),
               args + " --transcript \"" + path() + "\"", dir.path()) {
  WaitUntil([&] { return up() || !process_.Running(); }, kStartMs);
  if (up()) return;
  if (const std::optional<DWORD> code = process_.WaitForExit(0)) {
    std::fprintf(stderr, "the simulated client ended at start, with code %lu\n", *code);
  } else {
    std::fprintf(stderr, "the simulated client was not up after %u ms\n", kStartMs);
  }
}

IdlerProcess::IdlerProcess(const TempDir& dir) : process_(CopyOfIdler(dir), "", dir.path()) {
  // Each test's idler is gone before the next starts: the one window of
  // the class is this one.
  WaitUntil(
      [&] { return (window_ = FindWindowA(kMainPanelClass, nullptr)) || !process_.Running(); },
      kStartMs);
}

bool IdlerProcess::Settle() const {
  // A sent message may be answered from any pump, before messages posted
  // earlier; posted ones keep their order. So post a change nobody sees,
  // the room box's length limit, and wait until it is made.
  static WPARAM mark = 400000;
  const HWND box = GetDlgItem(window_, kRoomBox);
  PostMessageA(box, EM_SETLIMITTEXT, ++mark, 0);
  return WaitUntil(
      [&] { return BoundedSend(box, EM_GETLIMITTEXT, 0, 0, kStartMs).value == LRESULT(mark); },
      kStartMs);
}

HWND WaitForPrompt(unsigned timeout_ms) {
  // Found while its controls are still being made; shown once they are all
  // there.
  HWND prompt = nullptr;
  const bool shown = WaitUntil(
      [&] {
        return (prompt = FindWindowA(kDialogClass, "wendrel idler")) && IsWindowVisible(prompt);
      },
      timeout_ms);
  return shown ? prompt : nullptr;
}

bool AnswerPrompt(HWND prompt, const char* answer) {
  if (!prompt || !SetTextOf(FindWindowExA(prompt, nullptr, kEditClass, nullptr), answer))
    return false;
  HWND button = FindWindowExA(prompt, nullptr, kButtonClass, kOkCaption);
  return button && PostMessageA(button, BM_CLICK, 0, 0) &&
         WaitUntil([&] { return !IsWindow(prompt); }, kStartMs);
}

std::optional<std::string> ReadStoredHandle() {
  char buffer[256];
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_CURRENT_USER, kHandleKey, "handle", RRF_RT_REG_SZ, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(buffer, size > 0 ? size - 1 : 0);
}

void StoreHandle(const std::optional<std::string>& handle) {
  if (!handle) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kHandleKey, "handle");
    return;
  }
  RegSetKeyValueA(HKEY_CURRENT_USER, kHandleKey, "handle", REG_SZ, handle->c_str(),
                  static_cast<DWORD>(handle->size() + 1));
}

}  // namespace wendrel::e2e
