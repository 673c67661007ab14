// The simulated client's transcript: what reached the client, one record per
// line, so that tests can read it while the client runs.
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
#include <vector>

namespace wendrel::clientsim {

struct Record {
  std::string tag;
  std::string payload;
};

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

// Complete records only: a last line without its newline is still being
// written and is left for the next read.
inline std::vector<Record> ParseRecords(std::string_view text) {
  std::vector<Record> records;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string_view::npos;
       start = end + 1) {
    std::string_view line = text.substr(start, end - start);
    Record r;
    std::size_t tab = line.find('\t');
    r.tag = std::string(line.substr(0, tab));
    if (tab != std::string_view::npos) {
      for (std::size_t i = tab + 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\' && i + 1 < line.size()) {
          char e = line[++i];
          c = e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        }
        r.payload += c;
      }
    }
    records.push_back(std::move(r));
  }
  return records;
}

}  // namespace wendrel::clientsim
