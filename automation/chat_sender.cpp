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

void GiveBack(Platform& p, ChatSession& chat) {
  if (chat.draft_box == 0) return;
  p.SetText(chat.draft_box, chat.draft);
  chat.draft_box = 0;
}

// Sets the line into the box and presses Enter until the client has taken
// it (the box reads empty), the box is gone, or the time is up.
void TypeLine(Platform& p, ChatSession& chat, Hwnd box, const std::string& line) {
  if (chat.draft_box != box) GiveBack(p, chat);
  // A client that does not answer would cost a time-out per message and
  // could take the user's text without giving it back: leave its box alone.
  if (!p.Responds(box)) return;
  if (chat.draft_box == 0) {
    chat.draft_box = box;
    chat.draft = GetText(p, box);
  }
  p.SetText(box, "");
  p.SetText(box, line);
  WaitForPass(p, kEnterLoopLimitMs, kEnterRetryMs, [&] {
    p.SendChar(box, kCharEnter);
    // A box that vanished or hung reads "" too: nothing more can be done.
    return GetText(p, box).empty();
  });
}

void PostToNewerRoom(Platform& p, ChatSession& chat, const std::string& line) {
  if (line.empty()) return;
  const Hwnd room = FindChatRoom(p);
  const Hwnd view = FindChild(p, room, kRichTextClass);
  const Hwnd input = view == 0 ? 0 : FindChild(p, room, kRichTextClass, nullptr, view);
  if (input == 0) return;
  TypeLine(p, chat, input, line);
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
void SendOne(Platform& p, ChatSession& chat, const std::string& text) {
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
    PostChatText(p, chat, line);
  } else {
    PostToNewerRoom(p, chat, line);
  }
}

}  // namespace

void SendChat(Platform& p, ChatSession& chat, const std::string& text) {
  // Called from a handler that ran inside our own Enter loop: the line waits
  // its turn, so two lines never share the input box.
  if (chat.typing) {
    chat.pending.push_back(text);
    return;
  }
  const ScopedFlag run(chat.typing);
  SendOne(p, chat, text);
  while (!chat.pending.empty()) {
    const std::string next = chat.pending.front();
    chat.pending.pop_front();
    SendOne(p, chat, next);
  }
  GiveBack(p, chat);
}

void PostChatText(Platform& p, ChatSession& chat, const std::string& text) {
  const Hwnd room = FindOldChatRoom(p);
  const Hwnd input = FindChild(p, room, kOldEditClass);
  if (text.empty() || input == 0) return;
  TypeLine(p, chat, input, text);
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
