#include "automation/discovery.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "automation/client_contract.h"
#include "automation/cp1252.h"

namespace wendrel {
namespace {

// A window may claim any length; the cap keeps a lying or hostile window
// from making us allocate wildly. It lies far above any draft a user
// types, which must come back whole.
constexpr std::size_t kMaxTextLength = 1 << 20;
// The first read's room when the claim is smaller: a chat line and most
// captions fit, so a claim that is short or wrong rarely costs a second read.
constexpr std::intptr_t kFirstReadLength = 1023;

// The text of a menu item addressed by its command id, read into a
// space-filled buffer as the client's menus were always read.
std::string MenuItemText(Platform& p, Hmenu submenu, unsigned id) {
  char buffer[kMenuStringCapacity];
  for (char& c : buffer) c = ' ';
  p.GetMenuStringA(submenu, id, buffer, kMenuStringCapacity, kMenuStringFlags);
  return std::string(buffer, sizeof buffer);
}

bool Contains(const std::string& haystack, const char* needle) {
  return LowerCase(haystack).find(LowerCase(needle)) != std::string::npos;
}

bool HasNewerRoomControls(Platform& p, Hwnd room) {
  const Hwnd rich = FindChild(p, room, kRichTextClass);
  const Hwnd list = FindChild(p, room, kListboxClass);
  const Hwnd icon = FindChild(p, room, kIconClass);
  const Hwnd combo = FindChild(p, room, kComboboxClass);
  return rich != 0 && list != 0 && icon != 0 && combo != 0;
}

bool HasOlderRoomControls(Platform& p, Hwnd room) {
  const Hwnd view = FindChild(p, room, kViewClass);
  const Hwnd list = FindChild(p, room, kListboxClass);
  const Hwnd icon = FindChild(p, room, kIconClass);
  return view != 0 && list != 0 && icon != 0;
}

}  // namespace

Hwnd FindChild(Platform& p, Hwnd parent, const char* cls, const char* caption,
               Hwnd after) {
  if (parent == 0) return 0;
  return p.FindWindowExA(parent, after, cls, caption);
}

std::size_t TextReadLimit(std::size_t known) { return std::max(kMaxTextLength, known + 1); }

std::optional<std::string> ReadClaimedText(
    std::intptr_t claimed,
    const std::function<bool(char*, std::size_t, std::size_t&)>& copy,
    std::size_t known) {
  const std::size_t limit = TextReadLimit(known);
  // One more than claimed: a true claim then fits with room to spare, which
  // tells it is whole.
  const std::size_t guess = claimed < kFirstReadLength ? kFirstReadLength
                            : static_cast<std::size_t>(claimed) < limit
                                ? static_cast<std::size_t>(claimed) + 1
                                : limit;
  std::size_t capacity = guess + 1;
  for (;;) {
    std::vector<char> buffer(capacity, '\0');
    std::size_t copied = 0;
    if (!copy(buffer.data(), buffer.size(), copied)) return std::nullopt;
    if (copied > capacity - 1) copied = capacity - 1;
    // What it claims to have written ends at the first terminator.
    copied = std::find(buffer.begin(), buffer.begin() + copied, '\0') - buffer.begin();
    // A text that fits with room to spare is whole.
    if (copied < capacity - 1 || capacity - 1 >= limit) return std::string(buffer.data(), copied);
    capacity = std::min((capacity - 1) * 4, limit) + 1;
  }
}

std::optional<std::string> ReadText(Platform& p, Hwnd hwnd, std::size_t known) {
  if (hwnd == 0) return std::nullopt;
  return ReadClaimedText(
      p.GetTextLength(hwnd),
      [&](char* buffer, std::size_t capacity, std::size_t& copied) {
        return p.GetTextInto(hwnd, buffer, capacity, copied);
      },
      known);
}

std::string GetText(Platform& p, Hwnd hwnd) { return ReadText(p, hwnd).value_or(""); }

std::string GetAolVersion(Platform& p) {
  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  const Hwnd toolbar = FindChild(p, frame, kToolbarClass);
  const Hwnd inner = FindChild(p, toolbar, kInnerToolbarClass);
  const Hwnd combo = FindChild(p, inner, kComboboxClass);
  const Hwnd edit = FindChild(p, combo, kEditClass);

  if (edit != 0 && combo != 0) {
    const Hmenu menu = p.GetMenu(frame);
    const Hmenu submenu = p.GetSubMenu(menu, 4);
    const unsigned id = p.GetMenuItemID(submenu, 9);
    return Contains(MenuItemText(p, submenu, id), kVersion5MenuText) ? kVersion5 : kVersion4;
  }

  const Hwnd older_frame = p.FindWindowA(kFrameClass, nullptr);
  const Hmenu menu = p.GetMenu(older_frame);
  // 2.5 has exactly eight menus and keeps the item in its second one.
  const Hmenu submenu =
      p.GetMenuItemCount(menu) == 8 ? p.GetSubMenu(menu, 1) : p.GetSubMenu(menu, 0);
  const unsigned id = p.GetMenuItemID(submenu, 8);
  return Contains(MenuItemText(p, submenu, id), kVersion25MenuText) ? kVersion25 : kVersion3;
}

Hwnd FindChatRoom(Platform& p) {
  // Two separate decisions, both always made; the client may change between
  // them, and either one can send us down the older route.
  const bool first_says_25 = GetAolVersion(p) == kVersion25;
  const bool second_says_3 = GetAolVersion(p) == kVersion3;
  if (first_says_25 || second_says_3) return FindOldChatRoom(p);

  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  const Hwnd mdi = FindChild(p, frame, kMdiClientClass);
  Hwnd child = FindChild(p, mdi, kChildClass);
  if (child == 0) return 0;

  // The topmost window is skipped when its caption starts with "AOL"; every
  // later one only when it is the hotline itself.
  bool controls = HasNewerRoomControls(p, child);
  std::string caption = GetText(p, child);
  if (controls && caption.compare(0, 3, kNewerRoomExcludedPrefix) != 0) return child;
  for (;;) {
    child = FindChild(p, mdi, kChildClass, nullptr, child);
    if (child == 0) return 0;
    controls = HasNewerRoomControls(p, child);
    caption = GetText(p, child);
    if (controls && caption != kHotlineCaption) return child;
  }
}

Hwnd FindOldChatRoom(Platform& p) {
  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  const Hwnd mdi = FindChild(p, frame, kMdiClientClass);
  for (Hwnd child = FindChild(p, mdi, kChildClass); child != 0;
       child = FindChild(p, mdi, kChildClass, nullptr, child)) {
    const bool controls = HasOlderRoomControls(p, child);
    const std::string caption = GetText(p, child);
    if (controls && caption != kHotlineCaption) return child;
  }
  return 0;
}

std::string GetAimScreenName(Platform& p) {
  const std::string caption = GetText(p, p.FindWindowA(kBuddyListClass, nullptr));
  const std::size_t apostrophe = caption.find('\'');
  if (apostrophe == std::string::npos) return "n/a";
  return caption.substr(0, apostrophe);
}

}  // namespace wendrel
