#include "app/single_copy_win32.h"

#include "app/form1_ids.h"

namespace wendrel {
namespace {

// Without a "Global\" prefix the name is the user's session's own, so other
// users on the same machine each run their own copy.
constexpr char kClaimName[] = "wendrel idler one copy";
// The first copy creates its window hidden and may still be asking for the
// handle: look for it this long before giving up on bringing it forward.
constexpr int kFindAttempts = 50;
constexpr DWORD kFindRetryMs = 100;

void BringForward() {
  for (int i = 0; i < kFindAttempts; ++i) {
    if (HWND running = FindWindowA(kForm1Class, kForm1Caption)) {
      if (IsIconic(running)) ShowWindowAsync(running, SW_RESTORE);
      // The handle prompt, when the first copy is still asking for it.
      SetForegroundWindow(GetLastActivePopup(running));
      return;
    }
    Sleep(kFindRetryMs);
  }
}

}  // namespace

bool ClaimSingleCopy(UniqueKernelHandle& claim) {
  claim.reset(CreateMutexA(nullptr, FALSE, kClaimName));
  // Without the name (out of resources) the program runs as it always did.
  if (!claim || GetLastError() != ERROR_ALREADY_EXISTS) return true;
  claim.reset();
  BringForward();
  return false;
}

}  // namespace wendrel
