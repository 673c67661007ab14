// One copy per user, whatever rights each copy runs with.
#include "app/single_copy_win32.h"

#include <gtest/gtest.h>
#include <sddl.h>
#include <windows.h>

#include <atomic>

namespace wendrel {
namespace {

constexpr char kName[] = "wendrel idler test copy";

// A copy started with more rights (as administrator) makes the name with
// rights that let ours wait on it and no more, so Windows refuses ours its
// creation: access denied says as plainly as "already exists" that another
// copy runs, and it is waited for as a copy that is closing. Wine has no
// elevation, but keeps a name's rights: a thread here makes the name so.
TEST(ClaimSingleCopy, WaitsForACopyWithMoreRights) {
  struct Other {
    UniqueKernelHandle ready{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<bool> ended{false};
  } other;
  const UniqueKernelHandle thread(CreateThread(
      nullptr, 0,
      [](void* param) -> DWORD {
        auto* o = static_cast<Other*>(param);
        SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
        // Everyone may wait on it (SYNCHRONIZE), nothing more.
        ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;0x00100000;;;WD)", SDDL_REVISION_1,
                                                             &sa.lpSecurityDescriptor, nullptr);
        const UniqueKernelHandle name(CreateMutexA(&sa, TRUE, kName));
        LocalFree(sa.lpSecurityDescriptor);
        SetEvent(o->ready.get());
        Sleep(300);
        o->ended = true;
        ReleaseMutex(name.get());
        return 0;
      },
      &other, 0, nullptr));
  ASSERT_EQ(WaitForSingleObject(other.ready.get(), 5000), WAIT_OBJECT_0);
  SetLastError(0);
  EXPECT_EQ(UniqueKernelHandle(CreateMutexA(nullptr, TRUE, kName)).get(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "not staged as Windows does";
  UniqueKernelHandle claim;
  EXPECT_TRUE(ClaimSingleCopy(claim, kName));
  EXPECT_TRUE(other.ended) << "ran beside the other copy";
  WaitForSingleObject(thread.get(), 5000);
}

}  // namespace
}  // namespace wendrel
