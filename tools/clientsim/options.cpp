#include "tools/clientsim/options.h"

#include <cstdlib>
#include <cstring>

namespace wendrel::clientsim {

const char kUsage[] =
    "usage: clientsim [options]\n"
    "A stand-in for the chat client: its frame, menu bar, toolbar, chat rooms,\n"
    "keyword facility, error dialog and buddy list, driven by window messages.\n"
    "\n"
    "  --version V            5, 4, 3 or 2.5 (default 4); sets the menu bar,\n"
    "                         the keyword facility and the rooms' controls\n"
    "  --room CAPTION         a chat room of the version's family (repeatable;\n"
    "                         default one room \"Lobby\")\n"
    "  --no-room              no chat room open\n"
    "  --decoy KIND:CAPTION   a window in the document area that is not the\n"
    "                         room; KIND newer, older, newer-partial or\n"
    "                         older-partial (partial: no \"_AOL_Listbox\").\n"
    "                         --room and --decoy are stacked in the order\n"
    "                         given, the first one topmost\n"
    "  --buddy CAPTION        show a buddy list captioned CAPTION\n"
    "  --screen-name NAME     the name shown before sent lines (default you)\n"
    "  --transcript PATH      append a record for everything received\n"
    "  --real-controls        the newer rooms' boxes are the system's rich edit\n"
    "                         (RichEdit20A) under the client's class name, not\n"
    "                         Edit; the older rooms' are Edit either way\n"
    "\n"
    "Private-room addresses (aol://2719:2-2-NAME):\n"
    "  --pr-room CAPTION      open a room captioned CAPTION (default: NAME)\n"
    "  --pr-delay MS          ... after MS milliseconds\n"
    "  --pr-error MESSAGE     show the error dialog with MESSAGE instead\n"
    "  --pr-error-delay MS    the dialog's message is empty for MS ms first\n"
    "  --pr-nothing           nothing happens\n"
    "\n"
    "Faults:\n"
    "  --no-keyword-window    the older clients' keyword icon opens nothing\n"
    "  --sticky-input         the input box never empties, takes no line\n"
    "  --refuse TEXT          the input box takes no line that holds TEXT\n"
    "  --take-every N         the input box takes its line on every Nth Enter\n"
    "                         only, and ignores the Enters between\n"
    "  --claim-extra N        the input box answers WM_GETTEXTLENGTH with N\n"
    "                         more than it holds\n"
    "  --claim-length N       the input box answers WM_GETTEXTLENGTH with N\n"
    "                         (-1 and up) whatever it holds\n"
    "  --close-on-line N      the room takes its Nth line and closes at once\n"
    "  --keep-first N         the input box keeps only the first N characters\n"
    "                         of a text set into it, and takes no more typed\n"
    "                         (a client with a limit of its own)\n"
    "  --squeeze-blanks       the input box keeps one blank of each run of\n"
    "                         blanks in a text set into it\n"
    "  --hang-on-line N       stop answering on taking the Nth line ...\n"
    "  --hang-on-read N       ... on the Nth WM_GETTEXT to an input box ...\n"
    "  --hang-on-set N        ... on the Nth WM_SETTEXT to an input box,\n"
    "                         which then lands once it answers again ...\n"
    "  --hang-after MS        ... or MS milliseconds after start ...\n"
    "  --hang-ms MS           ... for MS milliseconds (default 30000)\n"
    "  --quit-on-line N       vanish at once after taking the Nth line\n"
    "  --quit-after MS        vanish at once MS milliseconds after start\n"
    "\n"
    "Transcript records, one a line: TAG, a tab, the payload, a newline; in\n"
    "the payload \\ is written \\\\, a line feed \\n, a carriage return \\r:\n"
    "  ready          VERSION              all windows are up\n"
    "  chat           LINE                 a room took LINE from its input box\n"
    "  stray          CAPTION<tab>LINE     a decoy took LINE\n"
    "  icon           N                    toolbar icon N (from 1) clicked\n"
    "  keyword        TEXT                 the keyword box's text on Enter\n"
    "  room-opened    CAPTION              a private room opened\n"
    "  dialog-shown   MESSAGE              the error dialog appeared\n"
    "  dialog-closed  MESSAGE              the error dialog was closed\n";

Family FamilyOf(const std::string& version) {
  return version == "4" || version == "5" ? Family::kNewer : Family::kOlder;
}

namespace {

bool ParseCount(const char* text, unsigned& out) {
  if (!*text) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(text, &end, 10);
  if (*end || v > 3600000ul || text[0] == '-') return false;
  out = static_cast<unsigned>(v);
  return true;
}

bool ParseDecoy(const std::string& plan, ChildPlan& out) {
  std::size_t colon = plan.find(':');
  if (colon == std::string::npos) return false;
  std::string kind = plan.substr(0, colon);
  out.role = ChildPlan::Role::kDecoy;
  out.caption = plan.substr(colon + 1);
  out.partial = kind.size() > 8 && kind.compare(kind.size() - 8, 8, "-partial") == 0;
  if (out.partial) kind.resize(kind.size() - 8);
  if (kind == "newer") out.family = Family::kNewer;
  else if (kind == "older") out.family = Family::kOlder;
  else return false;
  return true;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, Options& out,
                  std::string& error) {
  bool any_room = false, no_room = false;
  out.hang_ms = 30000;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    auto value = [&](const char*& v) {
      if (i + 1 >= argc) {
        error = name + " needs a value";
        return false;
      }
      v = argv[++i];
      return true;
    };
    auto number = [&](unsigned& n) {
      const char* v;
      if (!value(v)) return false;
      if (!ParseCount(v, n)) {
        error = name + ": not a count of milliseconds or lines: " + v;
        return false;
      }
      return true;
    };
    const char* v = nullptr;
    unsigned n = 0;
    if (name == "--help" || name == "-h" || name == "/?") {
      out.help = true;
    } else if (name == "--version") {
      if (!value(v)) return false;
      out.version = v;
      if (out.version != "5" && out.version != "4" && out.version != "3" &&
          out.version != "2.5") {
        error = "--version must be 5, 4, 3 or 2.5";
        return false;
      }
    } else if (name == "--room") {
      if (!value(v)) return false;
      ChildPlan room;
      room.caption = v;
      out.children.push_back(room);
      any_room = true;
    } else if (name == "--no-room") {
      no_room = true;
    } else if (name == "--decoy") {
      if (!value(v)) return false;
      ChildPlan decoy;
      if (!ParseDecoy(v, decoy)) {
        error = std::string("--decoy wants KIND:CAPTION, KIND one of newer, "
                            "older, newer-partial, older-partial: ") + v;
        return false;
      }
      out.children.push_back(decoy);
    } else if (name == "--buddy") {
      if (!value(v)) return false;
      out.buddy_list = true;
      out.buddy_caption = v;
    } else if (name == "--screen-name") {
      if (!value(v)) return false;
      out.screen_name = v;
    } else if (name == "--transcript") {
      if (!value(v)) return false;
      out.transcript = v;
    } else if (name == "--pr-room") {
      if (!value(v)) return false;
      out.private_room = PrivateRoomOutcome::kOpen;
      out.private_room_caption = v;
    } else if (name == "--pr-delay") {
      if (!number(out.private_room_delay_ms)) return false;
    } else if (name == "--pr-error") {
      if (!value(v)) return false;
      out.private_room = PrivateRoomOutcome::kError;
      out.error_message = v;
    } else if (name == "--pr-error-delay") {
      if (!number(out.error_message_delay_ms)) return false;
    } else if (name == "--pr-nothing") {
      out.private_room = PrivateRoomOutcome::kNothing;
    } else if (name == "--real-controls") {
      out.real_controls = true;
    } else if (name == "--keep-first") {
      if (!number(out.keep_first)) return false;
      if (out.keep_first == 0) {
        error = "--keep-first must be 1 or more";
        return false;
      }
    } else if (name == "--squeeze-blanks") {
      out.squeeze_blanks = true;
    } else if (name == "--no-keyword-window") {
      out.no_keyword_window = true;
    } else if (name == "--sticky-input") {
      out.sticky_input = true;
    } else if (name == "--refuse") {
      if (!value(v)) return false;
      out.refuse = v;
    } else if (name == "--take-every") {
      if (!number(out.take_every)) return false;
      if (out.take_every == 0) {
        error = "--take-every must be 1 or more (--sticky-input never takes)";
        return false;
      }
    } else if (name == "--claim-extra") {
      if (!number(out.claim_extra)) return false;
    } else if (name == "--claim-length") {
      if (!value(v)) return false;
      char* end = nullptr;
      const long claim = std::strtol(v, &end, 10);
      if (*v == '\0' || *end != '\0' || claim < -1 || claim > 1 << 20) {
        error = std::string("--claim-length wants a number from -1: ") + v;
        return false;
      }
      out.claim_length = static_cast<int>(claim);
    } else if (name == "--hang-on-read") {
      if (!number(out.hang_on_read)) return false;
    } else if (name == "--hang-on-set") {
      if (!number(out.hang_on_set)) return false;
    } else if (name == "--close-on-line") {
      if (!number(n)) return false;
      out.close_on_line = static_cast<int>(n);
    } else if (name == "--hang-on-line") {
      if (!number(n)) return false;
      out.hang_on_line = static_cast<int>(n);
    } else if (name == "--hang-after") {
      if (!number(out.hang_after_ms)) return false;
    } else if (name == "--hang-ms") {
      if (!number(out.hang_ms)) return false;
    } else if (name == "--quit-on-line") {
      if (!number(n)) return false;
      out.quit_on_line = static_cast<int>(n);
    } else if (name == "--quit-after") {
      if (!number(out.quit_after_ms)) return false;
    } else {
      error = "unknown option: " + name;
      return false;
    }
  }
  if (no_room && any_room) {
    error = "--no-room and --room exclude each other";
    return false;
  }
  if (!no_room && !any_room) {
    ChildPlan lobby;
    lobby.caption = "Lobby";
    out.children.push_back(lobby);
  }
  Family family = FamilyOf(out.version);
  for (ChildPlan& c : out.children)
    if (c.role == ChildPlan::Role::kRoom) c.family = family;
  return true;
}

}  // namespace wendrel::clientsim
