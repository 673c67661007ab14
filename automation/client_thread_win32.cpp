#include "automation/client_thread_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

#include "automation/chat_sender.h"
#include "automation/platform_win32.h"
#include "winutil/handles_win32.h"

namespace wendrel {
namespace {

// While the client keeps the user's text from going back, it is tried
// again this often.
constexpr DWORD kDraftRetryMs = 250;
// Work run inside the waits of other work nests; past this depth it waits
// for the outer work to finish instead.
constexpr int kMaxNesting = 8;
constexpr unsigned kDestroyCloseMs = 2000;

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
  ~Lock() { LeaveCriticalSection(&section_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

}  // namespace

// The link's thread sees the work handed over as its events: waiting in
// the automation's loops, it runs what arrived meanwhile, as the window's
// thread would run a click.
class LinkPlatform final : public Win32Platform {
 public:
  explicit LinkPlatform(ClientThread::State& state) : state_(state) {}
  void DoEvents() override;
  void WaitForEvents(unsigned milliseconds) override;
  bool Quitting() override;

 private:
  ClientThread::State& state_;
};

struct ClientThread::State {
  explicit State(ChatLimits limits) : platform(*this) {
    InitializeCriticalSection(&lock);
    chat.limits = limits;
  }
  ~State() { DeleteCriticalSection(&lock); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  void RunQueued();
  void Run();

  struct Handed {
    Job job;
    DWORD tick;  // GetTickCount when handed over
  };
  CRITICAL_SECTION lock;
  std::deque<Handed> queue;  // under `lock`
  bool closed = false;    // under `lock`
  UniqueKernelHandle wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle idle{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
  UniqueKernelHandle thread;
  int depth = 0;
  // The thread's own: nothing else touches them but chat.closing.
  ChatSession chat;
  LinkPlatform platform;
};

void LinkPlatform::DoEvents() { state_.RunQueued(); }

void LinkPlatform::WaitForEvents(unsigned milliseconds) {
  WaitForSingleObject(state_.wake.get(), std::min<DWORD>(milliseconds, INFINITE - 1));
}

bool LinkPlatform::Quitting() { return state_.chat.closing; }

void ClientThread::State::RunQueued() {
  if (depth >= kMaxNesting) return;
  ++depth;
  const std::optional<std::uint64_t> outer = chat.handed_ms;
  for (;;) {
    Handed next;
    {
      Lock hold(lock);
      if (queue.empty()) break;
      next = std::move(queue.front());
      queue.pop_front();
    }
    // A line's wait for a silent client counts from when it was handed
    // over, not from when this thread got to it. The difference of two
    // 32-bit tick counts is right across their wrap.
    const DWORD age = GetTickCount() - next.tick;
    chat.handed_ms = platform.NowMs() - std::min<std::uint64_t>(age, platform.NowMs());
    next.job(platform, chat);
  }
  chat.handed_ms = outer;
  --depth;
}

void ClientThread::State::Run() {
  for (;;) {
    RunQueued();
    const bool draft_held = !GiveBackDraft(platform, chat);
    {
      Lock hold(lock);
      if (queue.empty()) {
        SetEvent(idle.get());
        if (closed) return;
      }
    }
    WaitForSingleObject(wake.get(), draft_held ? kDraftRetryMs : INFINITE);
  }
}

namespace {

DWORD WINAPI ThreadMain(void* param) {
  // The thread's own reference: the state outlives the ClientThread object
  // if the thread is still finishing a send when the object goes.
  std::unique_ptr<std::shared_ptr<ClientThread::State>> owner(
      static_cast<std::shared_ptr<ClientThread::State>*>(param));
  std::shared_ptr<ClientThread::State> state = *owner;
  owner.reset();
  state->Run();
  return 0;
}

}  // namespace

std::unique_ptr<ClientThread> ClientThread::Start(ChatLimits limits) {
  auto state = std::make_shared<State>(limits);
  if (!state->wake || !state->idle) return nullptr;
  auto* param = new std::shared_ptr<State>(state);
  DWORD id = 0;
  state->thread.reset(CreateThread(nullptr, 0, &ThreadMain, param, 0, &id));
  if (!state->thread) {
    delete param;
    return nullptr;
  }
  return std::unique_ptr<ClientThread>(new ClientThread(std::move(state)));
}

ClientThread::~ClientThread() { Close(kDestroyCloseMs); }

void ClientThread::Hand(Job job) {
  {
    Lock hold(state_->lock);
    if (state_->closed) return;
    state_->queue.push_back({std::move(job), GetTickCount()});
    ResetEvent(state_->idle.get());
  }
  SetEvent(state_->wake.get());
}

bool ClientThread::Flush(unsigned ms) {
  return WaitForSingleObject(state_->idle.get(), std::min<DWORD>(ms, INFINITE - 1)) == WAIT_OBJECT_0;
}

bool ClientThread::Close(unsigned ms) {
  {
    Lock hold(state_->lock);
    state_->closed = true;
  }
  state_->chat.closing = true;
  SetEvent(state_->wake.get());
  return WaitForSingleObject(state_->thread.get(), std::min<DWORD>(ms, INFINITE - 1)) == WAIT_OBJECT_0;
}

}  // namespace wendrel
