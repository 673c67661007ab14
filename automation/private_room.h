// Opening a private room through the client's keyword facility.
#pragma once

#include <string>

#include "automation/chat_session.h"
#include "automation/platform.h"

namespace wendrel {

// Opens the room and posts the outcome line through `chat`.
void EnterPrivateRoom(Platform& p, ChatSession& chat, const std::string& room);

}  // namespace wendrel
