#include "automation/chat_sender.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "automation/client_contract.h"
#include "automation/discovery.h"
#include "automation/line_style.h"

namespace wendrel {
namespace {

// Between Enters that did not take, sleep this long rather than spin.
constexpr unsigned kEnterRetryMs = 15;
// Before the line is set again into a box that did not show it.
constexpr unsigned kSetRetryMs = 100;
// A box that shows neither the line nor a beginning of it after a set is
// given the line this many times in all: a client that changes what it is
// given will change it again.
constexpr int kLineSets = 2;
// Between questions to a client that has stopped answering.
constexpr unsigned kSilenceRetryMs = 100;
// A box that answers but will not keep the user's text is given it this
// many times.
constexpr int kRestoreAttempts = 3;

// How talking to a box ended.
enum class Outcome { kDone, kGone, kGivenUp, kDenied };

// One rest while a client is silent; false once the line's time is up:
// its own bound, or shortly after the program began to close.
bool RestForSilence(Platform& p, ChatSession& chat) {
  const std::uint64_t now = p.NowMs();
  const std::uint64_t due = std::min(chat.line_due_ms, ClosingDue(chat));
  if (now >= due) return false;
  p.Rest(static_cast<unsigned>(std::min<std::uint64_t>(kSilenceRetryMs, due - now)));
  return true;
}

// The box's text, read once its client answers, with room for at least
// `known` characters.
//
// A send that timed out leaves one of two things behind: a message the
// client had not yet taken is cancelled and never arrives, while one it was
// handling when it stopped runs to its end once it wakes (an Enter under
// way still posts what the box held). Both are settled before the client
// answers anything sent after them, so only a read that was answered tells
// what the box holds, and nothing is done to the box on a guess.
Outcome ReadBox(Platform& p, ChatSession& chat, Hwnd box, std::size_t known, std::string& text) {
  for (;;) {
    if (std::optional<std::string> read = ReadText(p, box, known)) {
      text = std::move(*read);
      return Outcome::kDone;
    }
    if (!p.Exists(box)) return Outcome::kGone;
    if (!RestForSilence(p, chat)) return Outcome::kGivenUp;
  }
}

// Waits until the client's window answers again.
Outcome AwaitClient(Platform& p, ChatSession& chat, Hwnd window) {
  for (;;) {
    if (p.Responds(window)) return Outcome::kDone;
    if (!p.Exists(window)) return Outcome::kGone;
    if (!RestForSilence(p, chat)) return Outcome::kGivenUp;
  }
}

void DropDraft(ChatSession& chat) {
  chat.draft_box = 0;
  chat.draft.clear();
}

}  // namespace

// Reads the box before each set: only a box seen holding the text has it,
// and a set the client never took is simply made again.
bool GiveBackDraft(Platform& p, ChatSession& chat) {
  for (int attempt = 0; chat.draft_box != 0; ++attempt) {
    std::string text;
    const Outcome read = ReadBox(p, chat, chat.draft_box, chat.draft.size(), text);
    if (read == Outcome::kGivenUp) return false;
    // Gone, holding the text again, or a box that will not keep it.
    if (read == Outcome::kGone || text == chat.draft || attempt == kRestoreAttempts) break;
    p.SetText(chat.draft_box, chat.draft);
  }
  DropDraft(chat);
  return true;
}

namespace {

bool StartsWith(const std::string& text, const std::string& start) {
  return text.compare(0, start.size(), start) == 0;
}

// Sets the line into the box and presses Enter until the client has taken
// it, the box is gone, or the time is up.
//
// Enter is only pressed straight after a read that shows the line as the
// client keeps it: the whole line, or, when both sets were taken, a
// beginning of it (a client with a limit of its own keeps that much of
// any text). So the user's own text is never sent. The line was taken
// when the box, read after such an Enter, no longer holds it. Every retry
// rests first, and a box that shows anything else gets the line again
// kLineSets times at most.
Outcome TypeLine(Platform& p, ChatSession& chat, Hwnd box, const std::string& line) {
  // Only time the client answers counts against a stuck box.
  std::uint64_t deadline = p.NowMs() + chat.limits.enter_ms;
  int sets = 0;
  bool set_due = true;
  bool whole = false;    // both sets of the last try were taken
  bool pressed = false;  // Enter was pressed since the last set
  bool rested = false;   // the read is the first after a rest
  unsigned rest_ms = 0;  // to rest before the next read
  std::string kept;      // the line as the box showed it when Enter was pressed
  std::string added;     // what the user typed after the line, when last seen
  for (;;) {
    if (rest_ms != 0) {
      const std::uint64_t due = std::min(deadline, ClosingDue(chat));
      const std::uint64_t now = p.NowMs();
      if (now >= due) return Outcome::kGivenUp;
      p.Rest(static_cast<unsigned>(std::min<std::uint64_t>(rest_ms, due - now)));
      rest_ms = 0;
      rested = true;
    }
    if (set_due) {
      if (sets == kLineSets) return Outcome::kGivenUp;
      const Sent cleared = p.SetText(box, "");
      // Windows lets reads through to a program with more rights than
      // ours, but refuses the first set: nothing of the user's is touched.
      if (cleared == Sent::kDenied && sets == 0) return Outcome::kDenied;
      const Sent set = p.SetText(box, line);
      whole = cleared == Sent::kTaken && set == Sent::kTaken;
      ++sets;
      set_due = pressed = rested = false;
    }
    std::string text;
    const std::uint64_t asked = p.NowMs();
    const Outcome read = ReadBox(p, chat, box, line.size(), text);
    if (read != Outcome::kDone) return read;
    deadline += p.NowMs() - asked;

    const std::string& shown = pressed ? kept : line;
    if (text.size() > shown.size() && StartsWith(text, shown)) {
      // Keys the user pressed while the line was in the box: theirs, never
      // sent, and put back after their own text. The line goes in again;
      // shown once more after that, the same text is the client's doing.
      std::string typed = text.substr(shown.size());
      if (typed == added) {
        chat.draft.resize(chat.draft.size() - added.size());
        added.clear();
      } else {
        chat.draft += typed;
        added = std::move(typed);
      }
      rest_ms = kSetRetryMs;
      set_due = true;
      continue;
    }
    if (pressed && text != kept) return Outcome::kDone;
    if (p.NowMs() >= std::min(deadline, ClosingDue(chat))) return Outcome::kGivenUp;
    if (pressed && !rested) {
      // The last Enter did not take: a short rest, then a fresh read.
      rest_ms = kEnterRetryMs;
      continue;
    }
    if (!pressed && !(text == line || (whole && !text.empty() && StartsWith(line, text)))) {
      // A set that never arrived, or a box that changed the line.
      rest_ms = kSetRetryMs;
      set_due = true;
      continue;
    }
    kept = std::move(text);
    p.SendChar(box, kCharEnter);
    pressed = true;
    rested = false;
  }
}

// A line the client could not take in time is not posted, late or ever.
void GiveUp(ChatSession& chat) {
  ++chat.given_up;
  if (chat.closing_line) chat.closing_gave_up = true;
}

// One line into `box`: what the user had typed there is read first and put
// back after the line, whatever became of it, so a key pressed between two
// lines is kept too.
void Deliver(Platform& p, ChatSession& chat, Hwnd box, const std::string& line) {
  // A draft an earlier line could not give back goes back first: the box
  // must hold it again before this line reads it.
  Outcome outcome = GiveBackDraft(p, chat) ? Outcome::kDone : Outcome::kGivenUp;
  std::string draft;
  if (outcome == Outcome::kDone) outcome = ReadBox(p, chat, box, line.size(), draft);
  if (outcome == Outcome::kDone && draft.size() >= TextReadLimit(line.size())) {
    // More than the program reads could not go back whole: the line is
    // given up and the box left as it is.
    outcome = Outcome::kGivenUp;
  } else if (outcome == Outcome::kDone) {
    chat.draft_box = box;
    chat.draft = std::move(draft);
    outcome = TypeLine(p, chat, box, line);
    if (outcome == Outcome::kGone || outcome == Outcome::kDenied) {
      // Nothing is left to put the user's text back into, or it was never
      // taken out.
      DropDraft(chat);
    } else {
      // Set at once after a line that went; after one given up, only once
      // the box has been read, as a silent client may be holding it.
      if (outcome == Outcome::kDone) p.SetText(box, chat.draft);
      GiveBackDraft(p, chat);
    }
  }
  if (outcome == Outcome::kDenied) chat.denied = true;
  if (outcome == Outcome::kGivenUp || outcome == Outcome::kDenied) GiveUp(chat);
}

void PostToNewerRoom(Platform& p, ChatSession& chat, const std::string& line) {
  if (line.empty()) return;
  const Hwnd room = FindChatRoom(p);
  const Hwnd view = FindChild(p, room, kRichTextClass);
  const Hwnd input = view == 0 ? 0 : FindChild(p, room, kRichTextClass, nullptr, view);
  if (input == 0) return;
  Deliver(p, chat, input, line);
}

// The route of the older clients ("3", "2.5").
void PostChatText(Platform& p, ChatSession& chat, const std::string& text) {
  const Hwnd room = FindOldChatRoom(p);
  const Hwnd input = FindChild(p, room, kOldEditClass);
  if (text.empty() || input == 0) return;
  Deliver(p, chat, input, text);
}

// One line, styled by the settings as they stand now and sent down the route
// of the client as it stands now.
void SendOne(Platform& p, ChatSession& chat, const LineMaker& make) {
  // A client that has stopped answering is waited for before anything is
  // asked of it: asked now, every question would cost a time-out, and its
  // room would look as if it were not there.
  const Hwnd frame = p.FindWindowA(kFrameClass, nullptr);
  if (frame != 0) {
    if (AwaitClient(p, chat, frame) == Outcome::kGivenUp) return GiveUp(chat);
  }
  const std::string text = make(p);
  const std::string path = StyleFilePath(p);
  LineStyle style = ReadDecoration(p, path);
  // The version is asked afresh for each comparison, both asked every time;
  // the mode is read between the two pairs of questions.
  const bool is5 = GetAolVersion(p) == kVersion5;
  const bool is4 = GetAolVersion(p) == kVersion4;
  style.mode = ReadTextMode(p, path);
  const std::optional<std::string> line = StyleLine(style, is5 || is4, text);
  if (!line) return;

  const bool is3 = GetAolVersion(p) == kVersion3;
  const bool is25 = GetAolVersion(p) == kVersion25;
  if (is3 || is25) {
    PostChatText(p, chat, *line);
  } else {
    PostToNewerRoom(p, chat, *line);
  }
}

}  // namespace

void SendChat(Platform& p, ChatSession& chat, const std::string& text) {
  SendMadeLine(p, chat, [text](Platform&) { return text; });
}

void SendMadeLine(Platform& p, ChatSession& chat, LineMaker make) {
  chat.line_due_ms = chat.handed_ms.value_or(p.NowMs()) + chat.limits.silence_ms;
  chat.closing_line = chat.closing;
  // Closing, once a line has given up on a stuck box or a silent client,
  // or once the closing lines' time is up, the ones after it would only
  // wait out their own bounds in vain.
  if (chat.closing && (chat.closing_gave_up || p.NowMs() >= ClosingDue(chat))) return GiveUp(chat);
  SendOne(p, chat, make);
}

}  // namespace wendrel
