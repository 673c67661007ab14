#include "tests/support/support_win32.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "automation/client_contract.h"
#include "tools/clientsim/options.h"
#include "tools/clientsim/sim_client_win32.h"

namespace wendrel::testing {
namespace {

constexpr unsigned kPollMs = 10;
constexpr unsigned kStartTimeoutMs = 10000;

// This thread's messages, as the program's own pump handles them.
void PumpOnce() { Win32EventLoop().DoEvents(); }

}  // namespace

TempDir::TempDir() {
  static int serial = 0;
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  do {
    path_ = std::string(base) + "wendrel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++serial);
  } while (!CreateDirectoryA(path_.c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream f(File(name), std::ios::binary);
  return f.write(bytes.data(), static_cast<std::streamsize>(bytes.size())).flush().good();
}

std::vector<std::string> Transcript::Payloads(const std::string& tag) const {
  std::vector<std::string> out;
  for (Record& r : Records())
    if (r.tag == tag) out.push_back(std::move(r.payload));
  return out;
}

std::vector<std::string> Transcript::Typing() const {
  std::vector<std::string> out;
  for (const Record& r : Records()) {
    if (r.tag == "set") out.push_back("set " + r.payload);
    if (r.tag == "enter") out.push_back("enter");
  }
  return out;
}

std::vector<Transcript::Record> Transcript::Records() const {
  // The C library shares the file both ways: the client keeps appending.
  std::ifstream f(path_, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  // "TAG<tab>PAYLOAD<newline>", with "\\", "\n" and "\r" escaped; a last
  // line without its newline is still being written.
  std::vector<Record> out;
  for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos;
       start = end + 1) {
    const std::size_t tab = bytes.find('\t', start);
    if (tab >= end) continue;
    std::string payload;
    for (std::size_t i = tab + 1; i < end; ++i) {
      char c = bytes[i];
      if (c == '\\' && i + 1 < end)
        c = bytes[++i] == 'n' ? '\n' : bytes[i] == 'r' ? '\r' : bytes[i];
      payload += c;
    }
    out.push_back({bytes.substr(start, tab - start), std::move(payload)});
  }
  return out;
}

bool Transcript::WaitFor(const std::string& tag, std::size_t count, unsigned timeout_ms) const {
  return WaitUntil([&] { return Payloads(tag).size() >= count; }, timeout_ms);
}

bool WaitUntil(const std::function<bool()>& done, unsigned timeout_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpOnce();
    if (done()) return true;
    if (GetTickCount() - start >= timeout_ms) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, kPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

std::vector<HWND> ClientChildren() {
  const HWND frame = FindWindowA(kFrameClass, nullptr);
  const HWND mdi = frame ? FindWindowExA(frame, nullptr, kMdiClientClass, nullptr) : nullptr;
  std::vector<HWND> children;
  for (HWND c = nullptr; mdi && (c = FindWindowExA(mdi, c, kChildClass, nullptr)) != nullptr;)
    children.push_back(c);
  return children;
}

HWND InputOf(HWND room) {
  if (HWND view = FindWindowExA(room, nullptr, kRichTextClass, nullptr))
    return FindWindowExA(room, view, kRichTextClass, nullptr);
  return FindWindowExA(room, nullptr, kOldEditClass, nullptr);
}

SimThread::SimThread(std::vector<std::string> args)
    : transcript_(dir_.File("transcript.txt")), args_(std::move(args)) {
  args_.insert(args_.begin(), "clientsim");
  args_.push_back("--transcript");
  args_.push_back(transcript_.path());
  ready_.reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  thread_.reset(CreateThread(nullptr, 0, &SimThread::Run, this, 0, nullptr));
  if (thread_) WaitForSingleObject(ready_.get(), kStartTimeoutMs);
}

SimThread::~SimThread() {
  if (frame_) PostMessageA(frame_, WM_CLOSE, 0, 0);
  // The client's thread may be sending to ours: answer until it is gone.
  HANDLE thread = thread_.get();
  while (thread && MsgWaitForMultipleObjects(1, &thread, FALSE, kStartTimeoutMs, QS_ALLINPUT) ==
                       WAIT_OBJECT_0 + 1)
    PumpOnce();
}

DWORD WINAPI SimThread::Run(void* param) {
  auto* self = static_cast<SimThread*>(param);
  std::vector<const char*> argv;
  for (const std::string& a : self->args_) argv.push_back(a.c_str());
  clientsim::Options options;
  std::string error;
  std::unique_ptr<clientsim::SimClient> client;
  if (clientsim::ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error))
    client = clientsim::SimClient::Create(options, GetModuleHandleA(nullptr));
  if (client) self->frame_ = client->frame();
  SetEvent(self->ready_.get());
  return client ? clientsim::PumpClient(*client) : 1;
}

void VirtualClockPlatform::Rest(unsigned milliseconds) {
  if (on_rest) std::exchange(on_rest, nullptr)();
  // Long enough for the other threads to run.
  Sleep(std::min(milliseconds, 1u));
  now_ms_ += milliseconds;
}

void VirtualEventLoop::WaitForEvents(unsigned milliseconds) {
  waits_.push_back(milliseconds);
  Win32EventLoop::WaitForEvents(std::min(milliseconds, 1u));
  // A scheduled event wakes the wait as a message would.
  std::uint64_t until = now_ms_ + milliseconds;
  for (const Scheduled& s : scheduled_) until = std::min(until, std::max(s.at, now_ms_));
  now_ms_ = until;
}

void VirtualEventLoop::RunUntil(std::uint64_t at) {
  for (;;) {
    std::uint64_t next = at;
    for (const Scheduled& s : scheduled_) next = std::min(next, s.at);
    now_ms_ = std::max(now_ms_, next);
    if (next >= at) return;
    DoEvents();
  }
}

void VirtualEventLoop::DoEvents() {
  Win32EventLoop::DoEvents();
  // Taken out before it runs: it may schedule more, or wait itself.
  for (auto it = scheduled_.begin(); it != scheduled_.end(); ++it) {
    if (it->at > now_ms_) continue;
    std::function<void()> fn = std::move(it->fn);
    scheduled_.erase(it);
    fn();
    return;
  }
}

void VirtualEventLoop::After(std::uint64_t delay_ms, std::function<void()> fn) {
  scheduled_.push_back({now_ms_ + delay_ms, std::move(fn)});
}

}  // namespace wendrel::testing
