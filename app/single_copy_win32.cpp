#include "app/single_copy_win32.h"

#include "app/form1_ids.h"

namespace wendrel {
namespace {

// Without a "Global\" prefix the name is the user's session's own, so other
// users on the same machine each run their own copy.
constexpr char kClaimName[] = "wendrel idler one copy";
// A copy that is closing is gone within its closing bounds (about 12 s);
// one that still holds the claim after this is stuck, and this one ends.
constexpr DWORD kWaitForClosingMs = 15000;
// How often to look for the running copy's window meanwhile.
constexpr DWORD kLookMs = 100;

// The running copy's handle prompt or its panel, whichever shows: a copy
// that is loading shows one of them within seconds, and one that is
// closing shows neither again.
HWND ShownWindowOfRunningCopy() {
  const HWND panel = FindWindowA(kForm1Class, kForm1Caption);
  if (!panel) return nullptr;
  const HWND popup = GetLastActivePopup(panel);
  if (popup && popup != panel && IsWindowVisible(popup)) return popup;
  return IsWindowVisible(panel) ? panel : nullptr;
}

// Neither call waits on the other copy, so a frozen one cannot hold us.
void BringForward(HWND shown) {
  const HWND panel = FindWindowA(kForm1Class, kForm1Caption);
  if (panel && IsIconic(panel)) ShowWindowAsync(panel, SW_RESTORE);
  SetForegroundWindow(shown);
}

}  // namespace

bool ClaimSingleCopy(UniqueKernelHandle& claim) {
  claim.reset(CreateMutexA(nullptr, TRUE, kClaimName));
  // Without the name (out of resources) the program runs as it always did.
  if (!claim || GetLastError() != ERROR_ALREADY_EXISTS) return true;
  const DWORD start = GetTickCount();
  do {
    if (const HWND shown = ShownWindowOfRunningCopy()) {
      BringForward(shown);
      break;
    }
    // The claim is ours once the other copy has ended.
    const DWORD got = WaitForSingleObject(claim.get(), kLookMs);
    if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) return true;
  } while (GetTickCount() - start < kWaitForClosingMs);
  claim.reset();
  return false;
}

}  // namespace wendrel
