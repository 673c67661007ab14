// Finding the client's windows and reading them. Nothing is cached: every
// call walks the client afresh.
#pragma once

#include <string>

#include "automation/platform.h"

namespace wendrel {

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
