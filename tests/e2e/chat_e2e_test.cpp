// The fault of a client that only another process can show: one that stops
// answering. The sends of the test's own thread face it as the idler's would.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "automation/chat_sender.h"
#include "tests/e2e/harness_win32.h"

namespace wendrel::e2e {
namespace {

unsigned MsSince(ULONGLONG start) { return static_cast<unsigned>(GetTickCount64() - start); }

// The client takes the line and hangs in its handler. Every message after
// that costs one bounded send, not the hang, and this thread still answers
// what others send to its windows meanwhile.
TEST(ChatFaults, HungClientCostsBoundedSendsWhileThisThreadAnswers) {
  TempDir dir;
  SimulatedClient client(dir, "--version 3 --hang-on-line 1 --hang-ms 15000");
  ASSERT_TRUE(client.up());
  HWND ours = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  std::atomic<unsigned> waited{~0u};
  std::thread asker([&] {
    Sleep(500);
    const ULONGLONG sent = GetTickCount64();
    DWORD_PTR unused = 0;
    if (SendMessageTimeoutA(ours, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &unused)) waited = MsSince(sent);
  });
  VirtualClockPlatform p(dir.path());
  ChatSession chat;
  const ULONGLONG start = GetTickCount64();
  SendChat(p, chat, "\xB7 before the freeze");
  const unsigned took = MsSince(start);
  WaitUntil([&] { return waited != ~0u; }, 15000);
  asker.join();
  DestroyWindow(ours);
  // Three sends meet the hang: Enter, the length read, the typing given
  // back. Under Wine the ANSI length read would wait out the whole hang.
  EXPECT_LT(took, 7000u);
  EXPECT_LT(waited.load(), 500u) << "this thread answered only after the send";
  EXPECT_EQ(client.Chat(), std::vector<std::string>{"\xB7 before the freeze"});
}

}  // namespace
}  // namespace wendrel::e2e
