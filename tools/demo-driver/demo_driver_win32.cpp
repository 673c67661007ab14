// Drives the idler's and the dialogs' windows from inside Wine for the demo,
// the package check and the benchmarks: the clicks a user would make, sent as
// the window messages those clicks produce.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr unsigned kDefaultWaitMs = 15000;
constexpr DWORD kPollMs = 5;

const char kUsage[] =
    "usage: demo-driver COMMAND ARGS...\n"
    "Top-level windows are named by CLASS and CAPTION (\"*\" for any caption);\n"
    "a control by its id inside one (0 for the window itself).\n"
    "\n"
    "  wait-window CLASS CAPTION [MS]   wait until it is shown; print its\n"
    "                                   process id and executable\n"
    "  wait-gone CLASS CAPTION [MS]     wait until no such window is left\n"
    "  set-text CLASS CAPTION ID TEXT   WM_SETTEXT\n"
    "  get-text CLASS CAPTION ID        WM_GETTEXT, printed\n"
    "  click CLASS CAPTION ID           BM_CLICK, posted\n"
    "  post-timer CLASS CAPTION ID      WM_TIMER with that timer id, posted\n"
    "  close CLASS CAPTION              WM_CLOSE, posted\n"
    "  move CLASS CAPTION X Y           move the window (pixels on the screen)\n"
    "  rect CLASS CAPTION               print its left, top, right and bottom\n"
    "  memory CLASS CAPTION             peak and current working set, bytes\n"
    "  start-timed CLASS CAPTION EXE [ARGS...]\n"
    "                                   start EXE, print the milliseconds until\n"
    "                                   its window is shown, leave it running\n"
    "Exit status: 0 done, 1 no such window (or time-out), 2 bad command line.\n";

// Posted and sent messages must not wait on a window that stopped answering.
constexpr UINT kSendTimeoutMs = 5000;

HWND Find(const char* cls, const char* caption) {
  return FindWindowA(cls, std::strcmp(caption, "*") == 0 ? nullptr : caption);
}

HWND Target(const char* cls, const char* caption, const char* id_text) {
  HWND top = Find(cls, caption);
  if (!top) return nullptr;
  int id = std::atoi(id_text);
  return id == 0 ? top : GetDlgItem(top, id);
}

unsigned WaitArg(int argc, char** argv, int index) {
  return argc > index ? static_cast<unsigned>(std::strtoul(argv[index], nullptr, 10))
                      : kDefaultWaitMs;
}

std::string ExeOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return "?";
  char path[MAX_PATH] = {};
  DWORD size = sizeof path;
  std::string out = QueryFullProcessImageNameA(process, 0, path, &size) ? path : "?";
  CloseHandle(process);
  return out;
}

// A shown window whose process is `pid` (any process when pid is 0).
HWND ShownWindow(const char* cls, const char* caption, DWORD pid) {
  HWND hwnd = Find(cls, caption);
  if (!hwnd || !IsWindowVisible(hwnd)) return nullptr;
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  return pid == 0 || owner == pid ? hwnd : nullptr;
}

int WaitWindow(const char* cls, const char* caption, unsigned ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  for (;;) {
    if (HWND hwnd = ShownWindow(cls, caption, 0)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      std::printf("%lu %s\n", static_cast<unsigned long>(pid), ExeOf(pid).c_str());
      return 0;
    }
    if (GetTickCount64() >= deadline) return 1;
    Sleep(kPollMs);
  }
}

int WaitGone(const char* cls, const char* caption, unsigned ms) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (Find(cls, caption)) {
    if (GetTickCount64() >= deadline) return 1;
    Sleep(kPollMs);
  }
  return 0;
}

int SetText(HWND hwnd, const char* text) {
  DWORD_PTR result = 0;
  return hwnd && SendMessageTimeoutA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text),
                                     SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)
             ? 0
             : 1;
}

int GetText(HWND hwnd) {
  char buffer[4096] = {};
  DWORD_PTR got = 0;
  if (!hwnd || !SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer,
                                    reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                                    kSendTimeoutMs, &got))
    return 1;
  std::printf("%s\n", buffer);
  return 0;
}

int Memory(HWND hwnd) {
  if (!hwnd) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  const BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
  CloseHandle(process);
  if (!ok) return 1;
  std::printf("%llu %llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize),
              static_cast<unsigned long long>(counters.WorkingSetSize));
  return 0;
}

std::string Quote(const char* arg) {
  if (*arg && !std::strpbrk(arg, " \t\"")) return arg;
  std::string out = "\"";
  for (const char* c = arg; *c; ++c) {
    if (*c == '"') out += '\\';
    out += *c;
  }
  return out + "\"";
}

int StartTimed(const char* cls, const char* caption, int argc, char** argv) {
  std::string command_line;
  for (int i = 0; i < argc; ++i) command_line += (i ? " " : "") + Quote(argv[i]);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[0], GetLastError());
    return 1;
  }
  CloseHandle(info.hThread);
  int status = 1;
  const ULONGLONG deadline = GetTickCount64() + kDefaultWaitMs;
  while (GetTickCount64() < deadline) {
    // Polling at a millisecond adds at most that to the figure.
    if (ShownWindow(cls, caption, info.dwProcessId)) {
      QueryPerformanceCounter(&now);
      std::printf("%.1f %lu\n",
                  1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart),
                  static_cast<unsigned long>(info.dwProcessId));
      status = 0;
      break;
    }
    if (WaitForSingleObject(info.hProcess, 1) == WAIT_OBJECT_0) break;
  }
  CloseHandle(info.hProcess);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const auto need = [&](int n) { return argc >= 2 + n; };
  if (command == "wait-window" && need(2))
    return WaitWindow(argv[2], argv[3], WaitArg(argc, argv, 4));
  if (command == "wait-gone" && need(2)) return WaitGone(argv[2], argv[3], WaitArg(argc, argv, 4));
  if (command == "set-text" && need(4)) return SetText(Target(argv[2], argv[3], argv[4]), argv[5]);
  if (command == "get-text" && need(3)) return GetText(Target(argv[2], argv[3], argv[4]));
  if (command == "click" && need(3)) {
    HWND button = Target(argv[2], argv[3], argv[4]);
    return button && PostMessageA(button, BM_CLICK, 0, 0) ? 0 : 1;
  }
  if (command == "post-timer" && need(3)) {
    HWND hwnd = Find(argv[2], argv[3]);
    // lParam 0: a non-zero one would be taken for a timer callback and dropped.
    return hwnd && PostMessageA(hwnd, WM_TIMER, std::strtoul(argv[4], nullptr, 10), 0) ? 0 : 1;
  }
  if (command == "close" && need(2)) {
    HWND hwnd = Find(argv[2], argv[3]);
    return hwnd && PostMessageA(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (command == "move" && need(4)) {
    HWND hwnd = Find(argv[2], argv[3]);
    return hwnd && SetWindowPos(hwnd, nullptr, std::atoi(argv[4]), std::atoi(argv[5]), 0, 0,
                                SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : 1;
  }
  if (command == "rect" && need(2)) {
    RECT r{};
    HWND hwnd = Find(argv[2], argv[3]);
    if (!hwnd || !GetWindowRect(hwnd, &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  if (command == "memory" && need(2)) return Memory(Find(argv[2], argv[3]));
  if (command == "start-timed" && need(3)) return StartTimed(argv[2], argv[3], argc - 4, argv + 4);
  std::fputs(kUsage, command == "--help" || command == "-h" ? stdout : stderr);
  return command == "--help" || command == "-h" ? 0 : 2;
}
