// Texts that several tests compare against, written out once: the lines
// the program posts for "nightowl" beside a version 5 client whose buddy
// list is owl99's, as they are before the client's markup, and the user's
// own typing the program must leave alone.
#pragma once

#include <string>
#include <vector>

namespace wendrel::testing {

using Lines = std::vector<std::string>;

inline Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The simulated client's options for the client the lines below are for.
inline const Lines kOwlsClient = {"--version", "5", "--buddy", "owl99's Buddy List"};

// The user's own unsent typing, a Windows-1252 letter (e acute) and a
// trailing space in it: it must come back byte for byte.
inline const std::string kDraft = "half typ\xE9" "d ";

// What a newer client puts before a line when there is no zq7.ini, and when
// it decorates with "--" in red and sets the text in blue.
inline const std::string kBareMarkup = "</html><font face=\"arial\" color=#><font color=#>";
inline const std::string kMarkup =
    "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";

// Middle dot, e grave, i diaeresis.
inline const std::string kBanner = "\xB7 w\xE8ndrel \xEF" "dler by: zarnik";
inline std::string ActiveLine(const std::string& handle) {
  return "\xB7 now active., id: " + handle;
}
inline std::string InactiveLine(const std::string& handle) {
  return "\xB7 now unactive., id: " + handle;
}
inline const std::string kStart = "\xB7 nightowl: has started idle., aim: owl99";
// A tick's pair, and Idle Off's line, for the time the counters show.
inline Lines TickLines(const std::string& time) {
  return {"\xB7 nightowl: has been idle " + time, "\xB7 aim: owl99 aol: 5"};
}
inline std::string FinalLine(const std::string& time) {
  return "\xB7 nightowl: was idle for " + time;
}
inline const std::string kEntered = "\xB7 zarnik has entered.";

inline const std::string kHandleQuestion = "please enter your handle in the text field below";

}  // namespace wendrel::testing
