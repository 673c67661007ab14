#include "automation/ini_reader.h"

#include <cstdint>

namespace wendrel {
namespace {

// The profile reader treats Ctrl-Z, the old end-of-file mark, as a blank.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' ||
         c == '\f' || c == '\x1A';
}

std::string Trim(const std::string& s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Names and values end at a NUL byte, as they do for the C strings the
// system reader compares and copies.
std::string UpToNul(const std::string& s) { return s.substr(0, s.find('\0')); }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Cut(const std::string& value, std::size_t capacity) {
  if (capacity == 0) return "";
  return value.substr(0, capacity - 1);
}

// Windows-1252 bytes 0x80-0x9F and the characters they stand for. The five
// bytes the code page leaves undefined map to the C1 control of that number.
constexpr std::uint16_t kHighTable[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char Cp1252Byte(std::uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<char>(code_point);
  }
  for (int i = 0; i < 32; ++i) {
    if (kHighTable[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";  // byte-order mark

}  // namespace

std::string Utf8ToCp1252(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    std::uint32_t cp = 0;
    std::uint32_t min = 0;
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, cp = lead & 0x07, min = 0x10000;
    } else {
      out += '?';
      ++i;
      continue;
    }
    int taken = 0;
    while (taken < extra && i + 1 + taken < utf8.size()) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + 1 + taken]);
      if ((next & 0xC0) != 0x80) break;
      cp = (cp << 6) | (next & 0x3F);
      ++taken;
    }
    if (taken < extra || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      // A broken sequence costs one "?" for its lead byte; what follows is
      // read afresh.
      out += '?';
      ++i;
      continue;
    }
    out += Cp1252Byte(cp);
    i += 1 + extra;
  }
  return out;
}

std::string ReadProfileString(const std::string& content,
                              const std::string& section,
                              const std::string& key,
                              const std::string& fallback,
                              std::size_t capacity) {
  const std::string wanted_section = Trim(UpToNul(section));
  const std::string wanted_key = Trim(UpToNul(key));

  std::string text = content;
  if (text.compare(0, 3, kUtf8Bom) == 0) text = Utf8ToCp1252(text.substr(3));

  bool in_section = false;
  bool seen_section = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      // Without its "]" the line is not a header; it reads as a key.
      if (close != std::string::npos) {
        // Only the first section of a name is searched: a key that is not
        // there is missing, even if a later section of that name has it.
        if (seen_section) break;
        const std::string name = UpToNul(line.substr(1, close - 1));
        in_section = !name.empty() && SameName(name, wanted_section);
        seen_section = in_section;
        continue;
      }
    }
    if (!in_section) continue;

    const std::size_t equals = line.find('=');
    const std::string name = UpToNul(Trim(line.substr(0, equals)));
    if (!SameName(name, wanted_key)) continue;
    if (equals == std::string::npos) return "";
    return Cut(Unquote(UpToNul(Trim(line.substr(equals + 1)))), capacity);
  }

  std::string value = fallback;
  while (!value.empty() && value.back() == ' ') value.pop_back();
  return Cut(value, capacity);
}

}  // namespace wendrel
