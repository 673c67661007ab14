// Typing styled lines into the chat room.
#pragma once

#include <string>

#include "automation/chat_session.h"
#include "automation/platform.h"

namespace wendrel {

// Styles `text` from zq7.ini and types it into the open room: reads what
// the user had typed into the input box, sets "" and then the line, presses
// Enter until the client has taken it, and puts the user's text back.
// Returns once the line has gone (or was given up) and the user's own
// typing is back in the input box.
//
// A client that stops answering is waited for: the line goes out, in order,
// once it answers again, unless it stays silent for chat.limits.silence_ms
// after the call; then the line is given up and counted in chat.given_up.
// The user's text goes back whenever the client answers; until then the
// session holds it (GiveBackDraft tries again).
void SendChat(Platform& p, ChatSession& chat, const std::string& text);
// The same for a line that reads the client: `make` runs once the client
// answers, just before the line is styled and typed.
void SendMadeLine(Platform& p, ChatSession& chat, LineMaker make);
// Puts the user's text held in `chat` back into the box it came from. False
// while the client does not answer: the text stays held, to be tried again.
// True when nothing is held any more.
bool GiveBackDraft(Platform& p, ChatSession& chat);

}  // namespace wendrel
