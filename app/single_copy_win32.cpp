#include "app/single_copy_win32.h"

#include "app/main_panel_ids.h"

namespace wendrel {
namespace {

// A copy that is closing is gone within its closing bound (4 s) and a
// little more; one that still holds the claim after this is stuck, and
// this one ends.
constexpr DWORD kWaitForClosingMs = 8000;
// How often to look for the running copy's window meanwhile.
constexpr DWORD kLookMs = 100;
// A copy keeps answering while it closes; one whose hidden panel does not
// answer in this long is frozen, and is not waited for.
constexpr UINT kAnswerMs = 1000;

// The running copy's handle prompt or its panel, whichever shows: a copy
// that is loading shows one of them within seconds, and one that is
// closing shows neither again.
HWND ShownWindowOfRunningCopy() {
  const HWND panel = FindWindowA(kMainPanelClass, kMainPanelCaption);
  if (!panel) return nullptr;
  const HWND popup = GetLastActivePopup(panel);
  if (popup && popup != panel && IsWindowVisible(popup)) return popup;
  return IsWindowVisible(panel) ? panel : nullptr;
}

// The running copy's panel is there, hidden, and does not answer.
bool HiddenPanelFrozen() {
  const HWND panel = FindWindowA(kMainPanelClass, kMainPanelCaption);
  DWORD_PTR answer = 0;
  return panel && !IsWindowVisible(panel) &&
         !SendMessageTimeoutA(panel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &answer) &&
         IsWindow(panel);
}

// Neither call waits on the other copy, so a frozen one cannot hold us.
void BringForward(HWND shown) {
  const HWND panel = FindWindowA(kMainPanelClass, kMainPanelCaption);
  if (panel && IsIconic(panel)) ShowWindowAsync(panel, SW_RESTORE);
  SetForegroundWindow(shown);
}

}  // namespace

bool ClaimSingleCopy(UniqueKernelHandle& claim, const char* name) {
  claim.reset(CreateMutexA(nullptr, TRUE, name));
  if (!claim && GetLastError() == ERROR_ACCESS_DENIED) {
    // Made by a copy with more rights than ours (started as administrator):
    // it runs, and ours may at most wait on it.
    claim.reset(OpenMutexA(SYNCHRONIZE, FALSE, name));
  } else if (!claim || GetLastError() != ERROR_ALREADY_EXISTS) {
    // The only copy; without the name (out of resources) the program runs
    // as it always did.
    return true;
  }
  const DWORD start = GetTickCount();
  do {
    if (const HWND shown = ShownWindowOfRunningCopy()) {
      BringForward(shown);
      break;
    }
    if (HiddenPanelFrozen()) break;
    if (claim) {
      // The claim is ours once the other copy has ended.
      const DWORD got = WaitForSingleObject(claim.get(), kLookMs);
      if (got == WAIT_OBJECT_0 || got == WAIT_ABANDONED) return true;
    } else {
      // Not even a wait allowed: the name is made anew once the other
      // copy has ended.
      Sleep(kLookMs);
      claim.reset(CreateMutexA(nullptr, TRUE, name));
      if (claim && GetLastError() != ERROR_ALREADY_EXISTS) return true;
    }
  } while (GetTickCount() - start < kWaitForClosingMs);
  claim.reset();
  return false;
}

}  // namespace wendrel
