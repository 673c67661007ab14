// The handle, and every line the main window posts.
#pragma once

#include <functional>
#include <string>

#include "app/services.h"

namespace wendrel {

// "\xB7 " is the middle dot and a blank that open every line.
inline constexpr char kActiveStatus[] = "\xB7 now active., id: ";
inline constexpr char kInactiveStatus[] = "\xB7 now unactive., id: ";
inline constexpr char kRunningVerb[] = ": has been idle ";
inline constexpr char kFinalVerb[] = ": was idle for ";

std::string BannerLine();
std::string IdleStartLine(const std::string& handle, const std::string& aim);
std::string IdleTimeLine(const std::string& handle, const std::string& verb,
                         const std::string& days, const std::string& hours,
                         const std::string& minutes);
std::string ClientInfoLine(Platform& p);

struct HandleCheck {
  bool stored = false;  // a handle was stored before the call
  std::string handle;
};
HandleCheck EnsureHandle(AppServices& s, const std::string& status);

// Hands the line over to be sent: BoldWordStarts, then SendChat.
void Announce(AppServices& s, const std::string& line);
// The same for a line that reads the client: it is made where the client is
// talked to, just before it is sent.
void AnnounceWith(AppServices& s, std::function<std::string(Platform&)> make);

}  // namespace wendrel
