// What the simulated client presents and how it answers, from its command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace wendrel::clientsim {

enum class Family { kNewer, kOlder };

// A window inside the document area, listed topmost first.
struct ChildPlan {
  enum class Role { kRoom, kDecoy };
  Role role = Role::kRoom;
  Family family = Family::kNewer;
  bool partial = false;  // lacks its "_AOL_Listbox"
  std::string caption;
};

enum class PrivateRoomOutcome { kOpen, kError, kNothing };

struct Options {
  std::string version = "4";  // "5", "4", "3" or "2.5"
  std::vector<ChildPlan> children;
  std::string transcript;     // "" keeps no transcript
  bool buddy_list = false;
  std::string buddy_caption;
  std::string screen_name = "you";

  PrivateRoomOutcome private_room = PrivateRoomOutcome::kOpen;
  std::string private_room_caption;  // "" opens a room named as addressed
  unsigned private_room_delay_ms = 0;
  std::string error_message;
  unsigned error_message_delay_ms = 0;

  // The newer rooms' boxes are the system's rich edit, as the real
  // client's are, rather than Edit.
  bool real_controls = false;

  bool no_keyword_window = false;  // the keyword icon opens nothing
  bool sticky_input = false;
  std::string refuse;        // the box never takes a line holding this
  unsigned take_every = 1;   // the box takes a line on every Nth Enter only
  unsigned claim_extra = 0;  // the box claims this many more characters
  std::optional<int> claim_length;  // the box claims this, whatever it holds
  unsigned keep_first = 0;   // the box keeps only this much of a set (0: all)
  bool squeeze_blanks = false;  // the box keeps one blank of each run set
  int close_on_line = 0;     // the room closes as it takes its Nth line
  int hang_on_line = 0;
  unsigned hang_on_read = 0;  // the Nth WM_GETTEXT to an input box
  unsigned hang_on_set = 0;   // the Nth WM_SETTEXT to an input box
  unsigned hang_after_ms = 0;
  unsigned hang_ms = 0;
  int quit_on_line = 0;
  unsigned quit_after_ms = 0;

  bool help = false;
};

Family FamilyOf(const std::string& version);

// Fills `out` from argv[1..]; on a bad command line returns false and says
// why in `error`.
bool ParseOptions(int argc, const char* const* argv, Options& out,
                  std::string& error);

extern const char kUsage[];

}  // namespace wendrel::clientsim
