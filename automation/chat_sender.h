// Typing styled lines into the chat room.
#pragma once

#include <string>

#include "automation/chat_session.h"
#include "automation/platform.h"

namespace wendrel {

// Styles `text` from zq7.ini and types it into the open room. Returns once
// the line has gone (or could not be posted) and the user's own typing is
// back in the input box. A call made while another is typing queues its line
// in `chat` behind the current one and returns at once.
void SendChat(Platform& p, ChatSession& chat, const std::string& text);
// The route for the older clients ("3", "2.5"): types a finished line into
// the older room's box, keeping the user's typing in `chat`.
void PostChatText(Platform& p, ChatSession& chat, const std::string& text);
// One key of an INI file; "" when it has none. Values are cut to 749 bytes.
std::string ReadIni(Platform& p, const std::string& section,
                    const std::string& key, const std::string& path);

}  // namespace wendrel
