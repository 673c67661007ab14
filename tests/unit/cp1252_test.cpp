#include "automation/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace wendrel {
namespace {

// The letters of Windows-1252 above ASCII, each with its partner, as runs
// of capitals and where their small letters start: S caron, OE, Z caron,
// Y diaeresis, then A grave to O diaeresis and O stroke to Thorn. The bytes
// without one (multiplication and division signs, sharp s, micro sign,
// f with hook, the ordinals, the euro sign, the angle quotes, the middle
// dot, the no-break space) must come through untouched.
constexpr struct {
  unsigned char first, last, lower;
} kLetterRuns[] = {{0x8A, 0x8A, 0x9A}, {0x8C, 0x8C, 0x9C}, {0x8E, 0x8E, 0x9E}, {0x9F, 0x9F, 0xFF},
                   {0xC0, 0xD6, 0xE0}, {0xD8, 0xDE, 0xF8}};

// Every byte, both ways: a letter goes to its partner (or stays, when it
// already has the asked-for case); any other byte stays.
TEST(Cp1252, EveryByteChangesCaseOnlyWithItsPartner) {
  unsigned lower[256], upper[256];
  for (unsigned b = 0; b < 256; ++b) lower[b] = upper[b] = b;
  for (unsigned b = 'A'; b <= 'Z'; ++b) {
    lower[b] = b + 0x20;
    upper[b + 0x20] = b;
  }
  for (const auto& run : kLetterRuns) {
    for (unsigned b = run.first; b <= run.last; ++b) {
      lower[b] = run.lower + (b - run.first);
      upper[run.lower + (b - run.first)] = b;
    }
  }
  for (unsigned b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(static_cast<unsigned char>(LowerCp1252(c)), lower[b]) << "lower-casing byte " << b;
    EXPECT_EQ(static_cast<unsigned char>(UpperCp1252(c)), upper[b]) << "upper-casing byte " << b;
  }
}

}  // namespace
}  // namespace wendrel
