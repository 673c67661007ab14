#include "automation/client_thread_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

#include "automation/chat_sender.h"
#include "automation/platform_win32.h"
#include "winutil/bounded_wait_win32.h"
#include "winutil/handles_win32.h"

namespace wendrel {
namespace {

// While the client keeps the user's text from going back, it is tried
// again this often.
constexpr DWORD kDraftRetryMs = 250;
constexpr unsigned kDestroyCloseMs = 2000;

// Waits until `object` is signalled (true) or `ms` have passed (false),
// answering meanwhile the messages that other threads and programs send to
// this thread's windows: the window stays responsive while it waits for
// the posting thread, and Windows never takes it for hung. Nothing posted
// is handled, so no click or tick starts work of its own inside the wait.
bool WaitAnsweringSends(HANDLE object, unsigned ms) {
  const DWORD start = GetTickCount();
  const DWORD bound = BoundedWaitMs(ms);
  for (;;) {
    const DWORD waited = GetTickCount() - start;
    const DWORD left = waited < bound ? bound - waited : 0;
    const DWORD got = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_SENDMESSAGE);
    if (got == WAIT_OBJECT_0) return true;
    if (got != WAIT_OBJECT_0 + 1) return false;
    // Delivers the messages sent to this thread, and only those.
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

struct ClientThread::State {
  State(std::unique_ptr<Platform> p, ChatLimits limits) : platform(std::move(p)) {
    InitializeCriticalSection(&lock);
    chat.limits = limits;
  }
  ~State() { DeleteCriticalSection(&lock); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  struct Handed {
    Job job;
    DWORD tick;  // GetTickCount when handed over
    bool room_entry;
  };
  std::optional<Handed> Take();
  void RunJob(Handed& handed);
  void Run();

  CRITICAL_SECTION lock;
  std::deque<Handed> queue;       // under `lock`
  bool room_entry_ahead = false;  // under `lock`: queued or under way
  bool closed = false;            // under `lock`
  UniqueKernelHandle wake{CreateEventA(nullptr, FALSE, FALSE, nullptr)};
  UniqueKernelHandle idle{CreateEventA(nullptr, TRUE, TRUE, nullptr)};
  UniqueKernelHandle thread;
  // The thread's own: nothing else touches them but chat.closing and
  // chat.closing_due_ms, and the platform's clock, which any thread reads.
  std::unique_ptr<Platform> platform;
  ChatSession chat;
  std::function<void()> denied_notice;  // under `lock`
  bool denied_told = false;
};

std::optional<ClientThread::State::Handed> ClientThread::State::Take() {
  CriticalSectionLock hold(lock);
  if (queue.empty()) return std::nullopt;
  Handed next = std::move(queue.front());
  queue.pop_front();
  return next;
}

void ClientThread::State::RunJob(Handed& handed) {
  // A line's wait for a silent client counts from when it was handed
  // over, not from when this thread got to it. The difference of two
  // 32-bit tick counts is right across their wrap.
  const std::uint64_t now = platform->NowMs();
  const DWORD age = GetTickCount() - handed.tick;
  chat.handed_ms = now - std::min<std::uint64_t>(age, now);
  handed.job(*platform, chat);
  chat.handed_ms.reset();
  if (chat.denied && !denied_told) {
    denied_told = true;
    std::function<void()> notice;
    {
      CriticalSectionLock hold(lock);
      notice = denied_notice;
    }
    if (notice) notice();
  }
  if (handed.room_entry) {
    CriticalSectionLock hold(lock);
    room_entry_ahead = false;
  }
}

void ClientThread::State::Run() {
  for (;;) {
    if (std::optional<Handed> next = Take()) {
      RunJob(*next);
      continue;
    }
    const bool draft_held = !GiveBackDraft(*platform, chat);
    {
      CriticalSectionLock hold(lock);
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

std::unique_ptr<ClientThread> ClientThread::Start(std::unique_ptr<Platform> platform,
                                                  ChatLimits limits) {
  if (!platform) return nullptr;
  auto state = std::make_shared<State>(std::move(platform), limits);
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

void ClientThread::Queue(Job job, bool room_entry) {
  {
    CriticalSectionLock hold(state_->lock);
    if (state_->closed) return;
    if (room_entry) {
      if (state_->room_entry_ahead) return;
      state_->room_entry_ahead = true;
    }
    state_->queue.push_back({std::move(job), GetTickCount(), room_entry});
    ResetEvent(state_->idle.get());
  }
  SetEvent(state_->wake.get());
}

void ClientThread::Hand(Job job) { Queue(std::move(job), false); }

void ClientThread::SetDeniedNotice(std::function<void()> notice) {
  CriticalSectionLock hold(state_->lock);
  state_->denied_notice = std::move(notice);
}

void ClientThread::HandRoomEntry(Job job) { Queue(std::move(job), true); }

bool ClientThread::Flush(unsigned ms) { return WaitAnsweringSends(state_->idle.get(), ms); }

bool ClientThread::Close(unsigned ms) {
  {
    CriticalSectionLock hold(state_->lock);
    state_->closed = true;
  }
  ChatSession& chat = state_->chat;
  if (!chat.closing) {
    // Three quarters of what the caller waits are for the lines
    // themselves; the rest is for putting the user's text back after them.
    const std::uint64_t lines_ms = std::min<std::uint64_t>(chat.limits.closing_ms, ms / 4 * 3);
    chat.closing_due_ms = state_->platform->NowMs() + lines_ms;
    chat.closing = true;
  }
  SetEvent(state_->wake.get());
  return WaitAnsweringSends(state_->thread.get(), ms);
}

}  // namespace wendrel
