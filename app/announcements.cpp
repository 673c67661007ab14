#include "app/announcements.h"

#include <utility>

#include "automation/chat_sender.h"
#include "automation/discovery.h"
#include "automation/text_styles.h"

namespace wendrel {
namespace {

constexpr char kPromptText[] = "please enter your handle in the text field below";
constexpr char kPromptTitle[] = "wendrel idler";

std::string ReadHandle(AppServices& s) { return s.store.Read(); }

void PromptForHandle(AppServices& s, const std::string& status) {
  const std::string answer = s.prompt.Ask(kPromptText, kPromptTitle);
  if (answer.empty()) return;
  s.store.Write(answer);
  Announce(s, BannerLine());
  Announce(s, status + answer);
}

}  // namespace

std::string BannerLine() {
  // "· wèndrel ïdler by: zarnik": middle dot, e grave, i diaeresis
  return "\xB7 w\xE8ndrel \xEF" "dler by: zarnik";
}

std::string IdleStartLine(const std::string& handle, const std::string& aim) {
  return "\xB7 " + handle + ": has started idle., aim: " + aim;  // middle dot
}

std::string IdleTimeLine(const std::string& handle, const std::string& verb,
                         const std::string& days, const std::string& hours,
                         const std::string& minutes) {
  return "\xB7 " + handle + verb + days + "/d " + hours + "/h " + minutes + "/m";  // middle dot
}

std::string ClientInfoLine(Platform& p) {
  // The screen name is asked for before the version, once each.
  const std::string aim = GetAimScreenName(p);
  const std::string version = GetAolVersion(p);
  return "\xB7 aim: " + aim + " aol: " + version;  // middle dot
}

HandleCheck EnsureHandle(AppServices& s, const std::string& status) {
  HandleCheck check;
  check.handle = ReadHandle(s);
  if (check.handle.empty()) {
    PromptForHandle(s, status);
    return check;
  }
  check.stored = true;
  return check;
}

void Announce(AppServices& s, const std::string& line) {
  AnnounceWith(s, [line](Platform&) { return line; });
}

void AnnounceWith(AppServices& s, std::function<std::string(Platform&)> make) {
  s.link.Hand([make = std::move(make)](Platform& p, ChatSession& chat) {
    SendMadeLine(p, chat, [make](Platform& client) { return BoldWordStarts(make(client)); });
  });
}

}  // namespace wendrel
