#include "automation/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace wendrel {
namespace {

// The letters of Windows-1252 above ASCII, each with its partner. The bytes
// without one (multiplication and division signs, sharp s, micro sign,
// f with hook, the ordinals, the euro sign, the angle quotes, the middle
// dot, the no-break space) must come through untouched.
constexpr struct {
  const char* name;
  unsigned char upper;
  unsigned char lower;
} kLetterPairs[] = {
    {"S caron", 0x8A, 0x9A},      {"OE ligature", 0x8C, 0x9C},  {"Z caron", 0x8E, 0x9E},
    {"Y diaeresis", 0x9F, 0xFF},  {"A grave", 0xC0, 0xE0},      {"A acute", 0xC1, 0xE1},
    {"A circumflex", 0xC2, 0xE2}, {"A tilde", 0xC3, 0xE3},      {"A diaeresis", 0xC4, 0xE4},
    {"A ring", 0xC5, 0xE5},       {"AE ligature", 0xC6, 0xE6},  {"C cedilla", 0xC7, 0xE7},
    {"E grave", 0xC8, 0xE8},      {"E acute", 0xC9, 0xE9},      {"E circumflex", 0xCA, 0xEA},
    {"E diaeresis", 0xCB, 0xEB},  {"I grave", 0xCC, 0xEC},      {"I acute", 0xCD, 0xED},
    {"I circumflex", 0xCE, 0xEE}, {"I diaeresis", 0xCF, 0xEF},  {"Eth", 0xD0, 0xF0},
    {"N tilde", 0xD1, 0xF1},      {"O grave", 0xD2, 0xF2},      {"O acute", 0xD3, 0xF3},
    {"O circumflex", 0xD4, 0xF4}, {"O tilde", 0xD5, 0xF5},      {"O diaeresis", 0xD6, 0xF6},
    {"O stroke", 0xD8, 0xF8},     {"U grave", 0xD9, 0xF9},      {"U acute", 0xDA, 0xFA},
    {"U circumflex", 0xDB, 0xFB}, {"U diaeresis", 0xDC, 0xFC},  {"Y acute", 0xDD, 0xFD},
    {"Thorn", 0xDE, 0xFE},
};

// Every byte, both ways: a letter goes to its partner (or stays, when it
// already has the asked-for case); any other byte stays.
TEST(Cp1252, EveryByteChangesCaseOnlyWithItsPartner) {
  unsigned lower[256], upper[256];
  for (unsigned b = 0; b < 256; ++b) lower[b] = upper[b] = b;
  for (unsigned b = 'A'; b <= 'Z'; ++b) {
    lower[b] = b + 0x20;
    upper[b + 0x20] = b;
  }
  for (const auto& p : kLetterPairs) {
    lower[p.upper] = p.lower;
    upper[p.lower] = p.upper;
  }
  for (unsigned b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    EXPECT_EQ(static_cast<unsigned char>(LowerCp1252(c)), lower[b]) << "lower-casing byte " << b;
    EXPECT_EQ(static_cast<unsigned char>(UpperCp1252(c)), upper[b]) << "upper-casing byte " << b;
  }
}

// Whole texts map byte by byte; a zero byte inside does not end them.
TEST(Cp1252, WholeTexts) {
  EXPECT_EQ(LowerCase(std::string("\xB7 Caf\xC9\0B", 8)), std::string("\xB7 caf\xE9\0b", 8));
  EXPECT_EQ(UpperCase(std::string("\xB7 caf\xE9\0b", 8)), std::string("\xB7 CAF\xC9\0B", 8));
}

}  // namespace
}  // namespace wendrel
