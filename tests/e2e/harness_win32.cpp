#include "tests/e2e/harness_win32.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "app/form1_ids.h"
#include "automation/client_contract.h"

namespace wendrel::e2e {
namespace {

constexpr unsigned kPollMs = 10;
constexpr unsigned kReadTimeoutMs = 2000;
// Long enough for a cold Wine to start a process and build its windows.
constexpr unsigned kStartTimeoutMs = 15000;
constexpr char kHandleKey[] = "Software\\VB and VBA Program Settings\\wendrel idler\\settings";
constexpr char kHandleValue[] = "handle";

// Build paths are Unix paths; Wine shows the root of the file system as Z:.
std::string WindowsPath(std::string unix_path) {
  for (char& c : unix_path)
    if (c == '/') c = '\\';
  return "Z:" + unix_path;
}

// Every process the tests start goes into this job, which ends them all
// when the test program ends, even by a crash.
HANDLE TestJob() {
  static HANDLE job = [] {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    if (j) {
      JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
      info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
      SetInformationJobObject(j, JobObjectExtendedLimitInformation, &info, sizeof info);
    }
    return j;
  }();
  return job;
}

void PumpOnce() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = dir + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileA(full.c_str());
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

std::string ClientSimExe() { return WindowsPath(WENDREL_CLIENTSIM_PATH); }
std::string IdlerExe() { return WindowsPath(WENDREL_IDLER_PATH); }

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string QuoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes double only where a quote follows them.
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

// --- ChildProcess ----------------------------------------------------------

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(other.process_), id_(other.id_) {
  other.process_ = nullptr;
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Kill();
    process_ = other.process_;
    id_ = other.id_;
    other.process_ = nullptr;
  }
  return *this;
}

ChildProcess ChildProcess::Start(const std::string& exe,
                                 const std::vector<std::string>& args,
                                 const std::string& work_dir) {
  std::string cmd = QuoteArgument(exe);
  for (const std::string& a : args) cmd += " " + QuoteArgument(a);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ChildProcess child;
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, work_dir.empty() ? nullptr : work_dir.c_str(), &si, &pi))
    return child;
  if (HANDLE job = TestJob()) AssignProcessToJobObject(job, pi.hProcess);
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  child.process_ = pi.hProcess;
  child.id_ = pi.dwProcessId;
  return child;
}

bool ChildProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(unsigned timeout_ms) {
  if (!process_) return std::nullopt;
  if (!WaitUntil([&] { return !Running(); }, timeout_ms)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

void ChildProcess::Kill() {
  if (!process_) return;
  if (Running()) TerminateProcess(process_, 99);
  WaitForSingleObject(process_, 10000);
  CloseHandle(process_);
  process_ = nullptr;
}

// --- TempDir ---------------------------------------------------------------

TempDir::TempDir() {
  static int serial = 0;
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  for (;;) {
    path_ = std::string(base) + "wendrel-e2e-" + std::to_string(GetCurrentProcessId()) +
            "-" + std::to_string(++serial);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  if (!path_.empty() && (path_.back() == '\\')) path_.pop_back();
}

TempDir::~TempDir() { RemoveTree(path_); }

bool TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::FILE* f = std::fopen(File(name).c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// --- waits and reads -------------------------------------------------------

bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    PumpOnce();
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, kPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

HWND WaitForWindow(const char* cls, const char* caption, unsigned timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(cls, caption)) != nullptr; }, timeout_ms);
  return found;
}

std::string TextOf(HWND hwnd) {
  SendResult length = BoundedSend(hwnd, WM_GETTEXTLENGTH, 0, 0, kReadTimeoutMs);
  if (!length.ok() || length.value <= 0) return "";
  std::string text(static_cast<std::size_t>(length.value) + 1, '\0');
  SendResult copied = BoundedSend(hwnd, WM_GETTEXT, text.size(),
                                  reinterpret_cast<LPARAM>(&text[0]), kReadTimeoutMs);
  if (!copied.ok()) return "";
  text.resize(std::min<std::size_t>(static_cast<std::size_t>(copied.value), text.size() - 1));
  return text;
}

std::vector<HWND> ChildrenOf(HWND parent, const char* cls) {
  std::vector<HWND> children;
  if (!parent) return children;
  for (HWND c = nullptr; (c = FindWindowExA(parent, c, cls, nullptr)) != nullptr;)
    children.push_back(c);
  return children;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  // Opened with full sharing: the client keeps appending to it.
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(f, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  CloseHandle(f);
  return bytes;
}

// --- Transcript ------------------------------------------------------------

std::vector<Record> Transcript::Records() const {
  std::optional<std::string> bytes = ReadFileBytes(path_);
  return bytes ? clientsim::ParseRecords(*bytes) : std::vector<Record>{};
}

std::vector<std::string> Transcript::Payloads(const std::string& tag) const {
  std::vector<std::string> out;
  for (Record& r : Records())
    if (r.tag == tag) out.push_back(std::move(r.payload));
  return out;
}

bool Transcript::WaitFor(const std::string& tag, std::size_t count, unsigned timeout_ms) const {
  return WaitUntil([&] { return Payloads(tag).size() >= count; }, timeout_ms);
}

// --- SimulatedClient -------------------------------------------------------

SimulatedClient SimulatedClient::Start(const TempDir& dir, std::vector<std::string> args) {
  std::string transcript = dir.File("transcript.txt");
  DeleteFileA(transcript.c_str());
  args.push_back("--transcript");
  args.push_back(transcript);
  SimulatedClient client(ChildProcess::Start(ClientSimExe(), args, dir.path()), transcript);
  if (!client.process_) return client;
  auto ready = [&] { return !client.transcript_.Payloads("ready").empty(); };
  WaitUntil([&] { return ready() || !client.process_.Running(); }, kStartTimeoutMs);
  if (!ready()) client.process_.Kill();
  return client;
}

HWND SimulatedClient::Frame() const { return FindWindowA(kFrameClass, nullptr); }

HWND SimulatedClient::Mdi() const {
  HWND frame = Frame();
  return frame ? FindWindowExA(frame, nullptr, kMdiClientClass, nullptr) : nullptr;
}

std::vector<HWND> SimulatedClient::Children() const { return ChildrenOf(Mdi(), kChildClass); }

HWND SimulatedClient::InputOf(HWND room) {
  if (HWND view = FindWindowExA(room, nullptr, kRichTextClass, nullptr))
    return FindWindowExA(room, view, kRichTextClass, nullptr);
  return FindWindowExA(room, nullptr, kOldEditClass, nullptr);
}

// --- the idler -------------------------------------------------------------

namespace {

constexpr char kPromptCaption[] = "wendrel idler";

struct WindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindIdlerWindow(HWND hwnd, LPARAM lp) {
  auto* search = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid != search->pid || std::string(cls) != kForm1Class) return TRUE;
  search->found = hwnd;
  return FALSE;
}

bool PressButton(HWND dialog, const char* caption) {
  HWND button = FindWindowExA(dialog, nullptr, kButtonClass, caption);
  if (!button) return false;
  PostMessageA(button, BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(dialog); }, kStartTimeoutMs);
}

}  // namespace

IdlerProcess IdlerProcess::Start(const TempDir& dir) {
  IdlerProcess idler;
  const std::string exe = dir.File("wendrel-idler.exe");
  if (!CopyFileA(IdlerExe().c_str(), exe.c_str(), FALSE)) return idler;
  idler.process_ = ChildProcess::Start(exe, {}, dir.path());
  if (!idler.process_) return idler;
  WindowSearch search{idler.process_.id(), nullptr};
  WaitUntil(
      [&] {
        EnumWindows(FindIdlerWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !idler.process_.Running();
      },
      kStartTimeoutMs);
  idler.window_ = search.found;
  return idler;
}

void IdlerProcess::Click(int id) const {
  PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(id)));
}

void IdlerProcess::Tick() const { PostMessageA(window_, WM_TIMER, kTimer1Id, 0); }

bool IdlerProcess::Settle(unsigned timeout_ms) const {
  // A sent message may be answered from any pump, even one inside a
  // handler, and before messages posted earlier; posted messages keep their
  // order. So post a change nobody sees, the room box's length limit, and
  // wait to see it made, then put the limit back.
  static WPARAM cookie = 400000;
  HWND box = Control(kText2Id);
  const SendResult before = BoundedSend(box, EM_GETLIMITTEXT, 0, 0, timeout_ms);
  if (!before.ok()) return false;
  const WPARAM mark = ++cookie;
  PostMessageA(box, EM_SETLIMITTEXT, mark, 0);
  const bool seen = WaitUntil(
      [&] {
        const SendResult now = BoundedSend(box, EM_GETLIMITTEXT, 0, 0, timeout_ms);
        return now.ok() && static_cast<WPARAM>(now.value) == mark;
      },
      timeout_ms);
  if (seen) BoundedSend(box, EM_SETLIMITTEXT, static_cast<WPARAM>(before.value), 0, timeout_ms);
  return seen;
}

HWND WaitForPrompt(unsigned timeout_ms) {
  // The dialog is found while its controls are still being made; it is
  // shown once they are all there.
  HWND prompt = nullptr;
  WaitUntil(
      [&] {
        prompt = FindWindowA(kDialogClass, kPromptCaption);
        return prompt && IsWindowVisible(prompt);
      },
      timeout_ms);
  return prompt && IsWindowVisible(prompt) ? prompt : nullptr;
}

bool AnswerPrompt(HWND prompt, const std::string& answer) {
  HWND edit = FindWindowExA(prompt, nullptr, kEditClass, nullptr);
  if (!BoundedSend(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.c_str()),
                   kReadTimeoutMs).ok())
    return false;
  return PressButton(prompt, kOkCaption);
}

bool CancelPrompt(HWND prompt) { return PressButton(prompt, "Cancel"); }

// --- the stored handle -----------------------------------------------------

std::optional<std::string> ReadStoredHandle() {
  char buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_CURRENT_USER, kHandleKey, kHandleValue, RRF_RT_REG_SZ, nullptr,
                   buffer, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(buffer, size > 0 ? size - 1 : 0);
}

bool WriteStoredHandle(const std::string& handle) {
  return RegSetKeyValueA(HKEY_CURRENT_USER, kHandleKey, kHandleValue, REG_SZ, handle.c_str(),
                         static_cast<DWORD>(handle.size() + 1)) == ERROR_SUCCESS;
}

void DeleteStoredHandle() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kHandleKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, kHandleValue);
    RegCloseKey(key);
  }
}

StoredHandleScope::StoredHandleScope(const std::optional<std::string>& handle)
    : before_(ReadStoredHandle()) {
  if (handle) WriteStoredHandle(*handle);
  else DeleteStoredHandle();
}

StoredHandleScope::~StoredHandleScope() {
  if (before_) WriteStoredHandle(*before_);
  else DeleteStoredHandle();
}

// --- ResponsivenessProbe ---------------------------------------------------

struct ResponsivenessProbe::State {
  HWND window = nullptr;
  HANDLE thread = nullptr;
  std::atomic<bool> stop{false};
  std::atomic<unsigned> longest{0};
  std::atomic<unsigned> answers{0};
};

namespace {

constexpr char kProbeClass[] = "WendrelE2eProbe";
constexpr unsigned kPingEveryMs = 25;
constexpr unsigned kPingTimeoutMs = 20000;

DWORD WINAPI Pinger(void* param) {
  auto* s = static_cast<ResponsivenessProbe::State*>(param);
  while (!s->stop) {
    ULONGLONG sent = GetTickCount64();
    DWORD_PTR ignored;
    if (SendMessageTimeoutA(s->window, WM_NULL, 0, 0, SMTO_NORMAL, kPingTimeoutMs, &ignored)) {
      unsigned waited = static_cast<unsigned>(GetTickCount64() - sent);
      if (waited > s->longest) s->longest = waited;
      ++s->answers;
    }
    Sleep(kPingEveryMs);
  }
  return 0;
}

}  // namespace

ResponsivenessProbe::ResponsivenessProbe() : state_(new State) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kProbeClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  state_->window = CreateWindowExA(0, kProbeClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
  state_->thread = CreateThread(nullptr, 0, Pinger, state_, 0, nullptr);
}

ResponsivenessProbe::~ResponsivenessProbe() {
  state_->stop = true;
  // The pinger may be waiting for this thread to answer: keep answering
  // until it has ended.
  while (state_->thread &&
         MsgWaitForMultipleObjects(1, &state_->thread, FALSE, 30000, QS_ALLINPUT) ==
             WAIT_OBJECT_0 + 1)
    PumpOnce();
  if (state_->thread) CloseHandle(state_->thread);
  DestroyWindow(state_->window);
  delete state_;
}

unsigned ResponsivenessProbe::LongestWaitMs() const { return state_->longest; }
unsigned ResponsivenessProbe::Answers() const { return state_->answers; }

}  // namespace wendrel::e2e
