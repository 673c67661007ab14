#include "automation/private_room.h"

#include <algorithm>
#include <cstdint>
#include <functional>

#include "automation/chat_sender.h"
#include "automation/client_contract.h"
#include "automation/cp1252.h"
#include "automation/discovery.h"
#include "automation/text_styles.h"

namespace wendrel {
namespace {

// A private room opens within a few seconds, or the client answers with a
// dialog; after half a minute of neither, nothing is coming.
constexpr std::uint64_t kRoomWaitMs = 30000;
// The "Keyword" window opens at once on a working client.
constexpr std::uint64_t kKeywordWindowWaitMs = 10000;
// Sleep between passes that found nothing, so a wait does not spin.
constexpr unsigned kPassPauseMs = 50;

constexpr char kFullText[] = "you requested is full";
constexpr char kErrorText[] = "error";  // compared with the text lower-cased
constexpr char kNotAllowedText[] = "name is not allowed";
constexpr char kInvalidText[] = "Invalid";

// Each line begins with a middle dot (0xB7). The "full" and "invalid" lines
// carry two spaces before "can't", and "full" no space after its dot.
constexpr char kEnteredLine[] = "\xB7 zarnik has entered.";
constexpr char kFullHead[] = "\xB7 zarnik  can't enter ";
constexpr char kFullTail[] = " \xB7" "full.";  // split: "\xB7f" is one escape
constexpr char kErrorHead[] = "\xB7 zarnik can't enter ";
constexpr char kErrorTail[] = " \xB7 error.";
constexpr char kBannedHead[] = "\xB7 zarnik can't enter ";
constexpr char kBannedTail[] = " \xB7 banned.";
constexpr char kInvalidHead[] = "\xB7 zarnik  can't enter ";
constexpr char kInvalidTail[] = " \xB7 invalid.";

std::string RemoveSpaces(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

std::string RoomKey(const std::string& text) {
  return LowerCase(RemoveSpaces(text));
}

void Post(Platform& p, ChatSession& chat, const std::string& line) {
  SendChat(p, chat, BoldWordStarts(line));
}

// What a wait does once the program is closing: one that has typed
// nothing gives way at once, one that has typed its address waits on,
// within the closing lines' bound, to post how it went before them.
enum class AtClosing { kGiveWay, kFinish };

// Runs `pass` until it returns true (true), or until `limit_ms` have gone
// by or the program's closing ends it (false), resting between passes.
bool WaitForPass(Platform& p, const ChatSession& chat, std::uint64_t limit_ms, AtClosing at_closing,
                 const std::function<bool()>& pass) {
  const std::uint64_t deadline = p.NowMs() + limit_ms;
  for (;;) {
    if (at_closing == AtClosing::kGiveWay && chat.closing) return false;
    if (pass()) return true;
    const std::uint64_t due = std::min(deadline, ClosingDue(chat));
    const std::uint64_t now = p.NowMs();
    if (now >= due) return false;
    p.Rest(static_cast<unsigned>(std::min<std::uint64_t>(kPassPauseMs, due - now)));
  }
}

// The older clients take an address in the "Keyword" window, opened from
// their toolbar.
bool KeywordWindow(Platform& p, const ChatSession& chat, const std::string& address) {
  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  const Hwnd mdi = FindChild(p, frame, kMdiClientClass);
  const Hwnd toolbar = FindChild(p, frame, kToolbarClass);
  Hwnd icon = FindChild(p, toolbar, kIconClass);

  int steps = 0;
  if (GetAolVersion(p) == kVersion25) {
    steps = kKeywordIcon25 - 1;
  } else if (GetAolVersion(p) == kVersion3) {
    steps = kKeywordIcon3 - 1;
  }
  // An "after" of 0 would restart the walk at the first icon.
  for (int i = 0; i < steps && icon != 0; ++i)
    icon = FindChild(p, toolbar, kIconClass, nullptr, icon);

  // A toolbar with too few icons clicks nothing rather than a wrong icon.
  if (icon != 0) {
    p.SendMouse(icon, kWmLButtonDown);
    p.SendMouse(icon, kWmLButtonUp);
  }
  if (mdi == 0) return false;

  Hwnd edit = 0;
  const bool opened = WaitForPass(p, chat, kKeywordWindowWaitMs, AtClosing::kGiveWay, [&] {
    const Hwnd window = FindChild(p, mdi, kChildClass, kKeywordCaption);
    edit = FindChild(p, window, kOldEditClass);
    return edit != 0;
  });
  if (!opened || chat.closing) return false;
  p.SetText(edit, address);
  p.SendChar(edit, kCharEnter);
  return true;
}

// Makes the client open an address or keyword (4 and 5: the toolbar box).
// False when it could not be typed anywhere.
bool Keyword(Platform& p, const ChatSession& chat, const std::string& address) {
  if (GetAolVersion(p) == kVersion25 || GetAolVersion(p) == kVersion3) {
    return KeywordWindow(p, chat, address);
  }
  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  const Hwnd toolbar = FindChild(p, frame, kToolbarClass);
  const Hwnd inner = FindChild(p, toolbar, kInnerToolbarClass);
  const Hwnd combo = FindChild(p, inner, kComboboxClass);
  const Hwnd edit = FindChild(p, combo, kEditClass);
  if (edit == 0 || chat.closing) return false;
  p.SetText(edit, address);
  p.SendChar(edit, kCharSpace);
  p.SendChar(edit, kCharEnter);
  return true;
}

}  // namespace

void EnterPrivateRoom(Platform& p, ChatSession& chat, const std::string& room) {
  const std::string wanted = RoomKey(room);
  // A name of spaces alone names no room; its address would be the bare
  // prefix, and with no room open it would count as already entered. An
  // entry not yet begun when the program closes is dropped.
  if (wanted.empty() || chat.closing) return;
  if (RoomKey(GetText(p, FindChatRoom(p))) == wanted) return;

  if (!Keyword(p, chat, kPrivateRoomAddress + RemoveSpaces(room))) return;

  Hwnd dialog = 0;
  Hwnd ok = 0;
  std::string text;
  // From here on the user may be moved to the room: the entry is seen
  // through, so that its line comes before any closing line.
  const bool answered = WaitForPass(p, chat, kRoomWaitMs, AtClosing::kFinish, [&] {
    dialog = p.FindWindowA(kDialogClass, kErrorDialogCaption);
    ok = FindChild(p, dialog, kButtonClass, kOkCaption);
    const Hwnd first_static = FindChild(p, dialog, kStaticClass);
    const Hwnd message =
        first_static == 0 ? 0 : FindChild(p, dialog, kStaticClass, nullptr, first_static);
    text = GetText(p, message);
    const bool room_open = RoomKey(GetText(p, FindChatRoom(p))) == wanted;
    // A dialog still being built has no message yet and is waited for.
    const bool dialog_shown = !text.empty() && ok != 0 && message != 0;
    return room_open || dialog_shown;
  });
  if (!answered) return;

  if (dialog == 0) {
    Post(p, chat, kEnteredLine);
    return;
  }

  // The order matters: a full room's message may also say "error", and
  // "error" in any case outranks the two tests after it.
  const char* head = nullptr;
  const char* tail = nullptr;
  if (text.find(kFullText) != std::string::npos) {
    head = kFullHead;
    tail = kFullTail;
  } else if (LowerCase(text).find(kErrorText) != std::string::npos) {
    head = kErrorHead;
    tail = kErrorTail;
  } else if (text.find(kNotAllowedText) != std::string::npos) {
    head = kBannedHead;
    tail = kBannedTail;
  } else if (text.find(kInvalidText) != std::string::npos) {
    head = kInvalidHead;
    tail = kInvalidTail;
  } else {
    return;  // a message we do not know: the user reads it and closes it
  }

  // The space bar on "OK" closes the dialog as a click would. A message to
  // window 0 would land in our own queue.
  if (ok != 0) {
    p.PostKey(ok, kWmKeyDown, kVkSpace);
    p.PostKey(ok, kWmKeyUp, kVkSpace);
  }
  Post(p, chat, head + LowerCase(room) + tail);
}

}  // namespace wendrel
