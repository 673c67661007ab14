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
// elevation, but keeps a name's rights: this thread makes the name so.
TEST(ClaimSingleCopy, WaitsForACopyWithMoreRights) {
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, FALSE};
  // Everyone may wait on it (SYNCHRONIZE), nothing more.
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
      "D:(A;;0x00100000;;;WD)", SDDL_REVISION_1, &sa.lpSecurityDescriptor, nullptr));
  const UniqueKernelHandle other(CreateMutexA(&sa, TRUE, kName));
  LocalFree(sa.lpSecurityDescriptor);
  SetLastError(0);
  EXPECT_FALSE(UniqueKernelHandle(CreateMutexA(nullptr, TRUE, kName)));
  EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED}) << "not staged as Windows does";
  std::atomic<int> claimed{-1};
  const UniqueKernelHandle thread(CreateThread(
      nullptr, 0,
      [](void* result) -> DWORD {
        UniqueKernelHandle claim;
        *static_cast<std::atomic<int>*>(result) = ClaimSingleCopy(claim, kName);
        return 0;
      },
      &claimed, 0, nullptr));
  Sleep(300);
  EXPECT_EQ(claimed, -1) << "ran beside the other copy";
  ReleaseMutex(other.get());
  WaitForSingleObject(thread.get(), 5000);
  EXPECT_EQ(claimed, 1);
}

}  // namespace
}  // namespace wendrel
