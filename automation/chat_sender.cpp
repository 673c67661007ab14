#include "automation/chat_sender.h"

#include <cstdint>
#include <optional>

#include "automation/client_contract.h"
#include "automation/cp1252.h"
#include "automation/discovery.h"
#include "automation/pause.h"
#include "automation/text_styles.h"

namespace wendrel {
namespace {

constexpr char kSettingsFile[] = "\\zq7.ini";
constexpr char kSettingsSection[] = "zq7";
constexpr std::size_t kIniBufferSize = 750;

// A client that never empties its box must not keep us typing for ever;
// ten seconds is far beyond any client that works.
constexpr std::uint64_t kEnterLoopLimitMs = 10000;
// Between Enters that did not take, sleep this long rather than spin.
constexpr unsigned kEnterRetryMs = 15;

std::string TrimSpaces(const std::string& s) {
  const std::size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

// The input box a line goes to, and what the user had typed there before
// the first line of this run; it goes back when the run is over or when a
// later line goes to another box.
struct UserTyping {
  Hwnd box = 0;
  std::string saved;
  bool held = false;
};

void GiveBack(Platform& p, UserTyping& typing) {
  if (!typing.held) return;
  p.SetText(typing.box, typing.saved);
  typing.held = false;
}

// Sets the line into the box and presses Enter until the client has taken
// it (the box reads empty), the box is gone, or the time is up.
void TypeLine(Platform& p, UserTyping& typing, Hwnd box, const std::string& line) {
  if (typing.held && typing.box != box) GiveBack(p, typing);
  // A client that does not answer would cost a time-out per message and
  // could take the user's text without giving it back: leave its box alone.
  if (!p.Responds(box)) return;
  if (!typing.held) {
    typing.box = box;
    typing.saved = GetText(p, box);
    typing.held = true;
  }
  p.SetText(box, "");
  p.SetText(box, line);
  WaitForPass(p, kEnterLoopLimitMs, kEnterRetryMs, [&] {
    p.SendChar(box, kCharEnter);
    // A box that vanished or hung reads "" too: nothing more can be done.
    return GetText(p, box).empty();
  });
}

void PostToNewerRoom(Platform& p, UserTyping& typing, const std::string& line) {
  if (line.empty()) return;
  const Hwnd room = FindChatRoom(p);
  if (room == 0) return;
  const Hwnd view = p.FindWindowExA(room, 0, kRichTextClass, nullptr);
  const Hwnd input = p.FindWindowExA(room, view, kRichTextClass, nullptr);
  if (input == 0) return;
  TypeLine(p, typing, input, line);
}

void PostToOlderRoom(Platform& p, UserTyping& typing, const std::string& text) {
  const Hwnd room = FindOldChatRoom(p);
  if (text.empty() || room == 0) return;
  const Hwnd input = p.FindWindowExA(room, 0, kOldEditClass, nullptr);
  if (input == 0) return;
  TypeLine(p, typing, input, text);
}

// The text after the configured mode; nothing for "silent".
std::optional<std::string> ApplyMode(const std::string& mode, const std::string& text) {
  if (mode == "elite") return TrimSpaces(EliteText(text));
  if (mode == "hacker") return HackerText(text);
  if (mode == "lcase") return LowerCase(text);
  if (mode == "ucase") return UpperCase(text);
  if (mode == "pig latin") return PigLatin(text);
  if (mode == "silent") return std::nullopt;
  return text;
}

// One line, styled by the settings as they stand now and sent down the route
// of the client as it stands now.
void SendOne(Platform& p, UserTyping& typing, const std::string& text) {
  const std::string path = p.ExeFolder() + kSettingsFile;
  const std::string ascii = TrimSpaces(ReadIni(p, kSettingsSection, "ascii", path));
  const std::string ascii_color = TrimSpaces(ReadIni(p, kSettingsSection, "ascii color", path));
  const std::string text_color = TrimSpaces(ReadIni(p, kSettingsSection, "text color", path));

  // The version is asked afresh for each comparison, both asked every time.
  const bool is5 = GetAolVersion(p) == kVersion5;
  const bool is4 = GetAolVersion(p) == kVersion4;
  const std::string prefix =
      (is5 || is4) ? std::string("</html><font face=\"arial\" color=#") + ascii_color + ">" +
                         ascii + "<font color=#" + text_color + ">"
                   : ascii;

  const std::optional<std::string> styled = ApplyMode(ReadIni(p, kSettingsSection, "mode", path), text);
  if (!styled) return;
  const std::string line = prefix + *styled;

  const bool is3 = GetAolVersion(p) == kVersion3;
  const bool is25 = GetAolVersion(p) == kVersion25;
  if (is3 || is25) {
    PostToOlderRoom(p, typing, line);
  } else {
    PostToNewerRoom(p, typing, line);
  }
}

// Marks the outbox busy for the life of one run of lines, and leaves it
// idle even if a run is cut short.
class TypingRun {
 public:
  explicit TypingRun(ChatOutbox& outbox) : outbox_(outbox) { outbox_.typing = true; }
  ~TypingRun() {
    outbox_.typing = false;
    outbox_.pending.clear();
  }
  TypingRun(const TypingRun&) = delete;
  TypingRun& operator=(const TypingRun&) = delete;

 private:
  ChatOutbox& outbox_;
};

}  // namespace

void SendChat(Platform& p, const std::string& text) {
  ChatOutbox& outbox = p.Outbox();
  // Called from a handler that ran inside our own Enter loop: the line waits
  // its turn, so two lines never share the input box.
  if (outbox.typing) {
    outbox.pending.push_back(text);
    return;
  }
  TypingRun run(outbox);
  UserTyping typing;
  SendOne(p, typing, text);
  while (!outbox.pending.empty()) {
    const std::string next = outbox.pending.front();
    outbox.pending.pop_front();
    SendOne(p, typing, next);
  }
  GiveBack(p, typing);
}

void PostChatText(Platform& p, const std::string& text) {
  UserTyping typing;
  PostToOlderRoom(p, typing, text);
  GiveBack(p, typing);
}

std::string ReadIni(Platform& p, const std::string& section, const std::string& key,
                    const std::string& path) {
  char buffer[kIniBufferSize] = {};
  std::size_t copied = p.GetPrivateProfileStringA(section.c_str(), LowerCase(key).c_str(), "",
                                                  buffer, sizeof buffer, path.c_str());
  if (copied > sizeof buffer - 1) copied = sizeof buffer - 1;
  return std::string(buffer, copied);
}

}  // namespace wendrel
