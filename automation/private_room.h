// Opening a private room through the client's keyword facility.
#pragma once

#include <string>

#include "automation/chat_session.h"
#include "automation/platform.h"

namespace wendrel {

std::string RemoveSpaces(const std::string& text);
// Opens the room and posts the outcome line through `chat`.
void EnterPrivateRoom(Platform& p, ChatSession& chat, const std::string& room);
// Makes the client open an address or keyword (4 and 5: the toolbar box).
// False when it could not be typed anywhere.
bool Keyword(Platform& p, const std::string& address);
// The same for the older clients, through the "Keyword" window.
bool KeywordWindow(Platform& p, const std::string& address);

}  // namespace wendrel
