// The simulated client's transcript: what reached the client, one record per
// line, so that a reader can follow it while the client runs.
//
//   TAG <tab> PAYLOAD <newline>
//
// The payload keeps the bytes exactly as the client saw them (Windows-1252),
// except that "\" is written "\\", a line feed "\n" and a carriage return "\r":
// that keeps every record on one line. A tab in the payload stays a tab; only
// the first tab of a record separates the tag.
#pragma once

#include <string>
#include <string_view>

namespace wendrel::clientsim {

inline std::string EncodeRecord(std::string_view tag, std::string_view payload) {
  std::string out(tag);
  out += '\t';
  for (char c : payload) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  out += '\n';
  return out;
}

}  // namespace wendrel::clientsim
