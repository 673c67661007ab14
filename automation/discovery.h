// Finding the client's windows and reading them. Nothing is cached: every
// call walks the client afresh.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "automation/platform.h"

namespace wendrel {

// A direct child of `parent` by class (and caption, when not null), the
// first after `after` (0: from the first). A missing parent finds nothing:
// asked with parent 0 the system would search the top-level windows instead.
Hwnd FindChild(Platform& p, Hwnd parent, const char* cls,
               const char* caption = nullptr, Hwnd after = 0);

// The longest text ReadClaimedText and ReadText return for `known` (the
// bound below): a text that long may have been cut.
std::size_t TextReadLimit(std::size_t known = 0);

// ReadText's rule for a window's answers: `claimed` is its length claim,
// `copy` reads into a buffer of the given capacity, says how much it wrote
// and returns false when the window did not answer. The claim only sizes
// the first buffer: while the text fills the buffer it is read again with a
// larger one, up to a fixed bound, so a length claim that is wrong
// (negative, short or absurd) cannot cut the text or lose it. The bound
// always lies above `known`, the length of a text the caller set itself
// and looks for, so that text is told apart from anything longer.
std::optional<std::string> ReadClaimedText(
    std::intptr_t claimed,
    const std::function<bool(char*, std::size_t, std::size_t&)>& copy,
    std::size_t known = 0);

// The text of a window; nothing when it did not answer (gone or hung).
// `known` as for ReadClaimedText.
std::optional<std::string> ReadText(Platform& p, Hwnd hwnd, std::size_t known = 0);
// The same, "" for 0, a vanished or hung window or one without text.
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
