#include "automation/cp1252.h"

namespace wendrel {
namespace {

// Bytes of Windows-1252 outside the two Latin-1 letter blocks that still
// have a partner of the other case.
struct CasePair {
  unsigned char upper;
  unsigned char lower;
};
constexpr CasePair kExtraPairs[] = {
    {0x8A, 0x9A},  // S caron, s caron
    {0x8C, 0x9C},  // OE ligature, oe ligature
    {0x8E, 0x9E},  // Z caron, z caron
    {0x9F, 0xFF},  // Y diaeresis, y diaeresis
};

// The multiplication and division signs sit inside the letter blocks but are
// not letters.
constexpr unsigned char kMultiplicationSign = 0xD7;
constexpr unsigned char kDivisionSign = 0xF7;

}  // namespace

// Worked out on the byte value alone: the C library's tolower/toupper follow
// the process locale, which would make the result differ between machines.
char LowerCp1252(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'A' && b <= 'Z') return static_cast<char>(b + 0x20);
  if (b >= 0xC0 && b <= 0xDE && b != kMultiplicationSign) return static_cast<char>(b + 0x20);
  for (const CasePair& p : kExtraPairs) {
    if (b == p.upper) return static_cast<char>(p.lower);
  }
  return c;
}

char UpperCp1252(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  if (b >= 'a' && b <= 'z') return static_cast<char>(b - 0x20);
  if (b >= 0xE0 && b <= 0xFE && b != kDivisionSign) return static_cast<char>(b - 0x20);
  for (const CasePair& p : kExtraPairs) {
    if (b == p.lower) return static_cast<char>(p.upper);
  }
  return c;
}

std::string LowerCase(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = LowerCp1252(c);
  return out;
}

std::string UpperCase(const std::string& text) {
  std::string out(text);
  for (char& c : out) c = UpperCp1252(c);
  return out;
}

}  // namespace wendrel
