// Finding the client's windows and reading them. Nothing is cached: every
// call walks the client afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "automation/platform.h"

namespace wendrel {

// A direct child of `parent` by class (and caption, when not null), the
// first after `after` (0: from the first). A missing parent finds nothing:
// asked with parent 0 the system would search the top-level windows instead.
Hwnd FindChild(Platform& p, Hwnd parent, const char* cls,
               const char* caption = nullptr, Hwnd after = 0);

// GetText's rule for a window's answer: `claimed` is its length claim,
// `copy` reads into a buffer of the given capacity and says how much it
// wrote. Only what was written within the (capped) claim is kept.
std::string ReadClaimedText(
    std::intptr_t claimed, const std::function<std::size_t(char*, std::size_t)>& copy);

// The text of a window; "" for 0, a vanished window or one without text.
std::string GetText(Platform& p, Hwnd hwnd);
// "5", "4", "3" or "2.5"; "3" when no client runs.
std::string GetAolVersion(Platform& p);
// The open chat room (any version), or 0.
Hwnd FindChatRoom(Platform& p);
// The open chat room of an older client, or 0.
Hwnd FindOldChatRoom(Platform& p);
// The buddy list's screen name, or "n/a".
std::string GetAimScreenName(Platform& p);

}  // namespace wendrel
