#include <gtest/gtest.h>

#include <string>

#include "automation/cp1252.h"

namespace wendrel {
namespace {

struct LetterPair {
  const char* name;
  unsigned char upper;
  unsigned char lower;
};

// The letters of Windows-1252 above ASCII, each with its partner.
constexpr LetterPair kLetterPairs[] = {
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

char Byte(unsigned value) { return static_cast<char>(value); }

std::string Hex(char c) {
  static const char kDigits[] = "0123456789ABCDEF";
  const unsigned char b = static_cast<unsigned char>(c);
  return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0xF];
}

TEST(Cp1252, LettersAboveAsciiChangeCaseInPairs) {
  for (const LetterPair& p : kLetterPairs) {
    EXPECT_EQ(Hex(LowerCp1252(Byte(p.upper))), Hex(Byte(p.lower))) << p.name << " lower-cased";
    EXPECT_EQ(Hex(UpperCp1252(Byte(p.lower))), Hex(Byte(p.upper))) << p.name << " upper-cased";
    EXPECT_EQ(Hex(LowerCp1252(Byte(p.lower))), Hex(Byte(p.lower))) << p.name << " already lower";
    EXPECT_EQ(Hex(UpperCp1252(Byte(p.upper))), Hex(Byte(p.upper))) << p.name << " already upper";
  }
}

TEST(Cp1252, AsciiLettersChangeCase) {
  for (char c = 'A'; c <= 'Z'; ++c) {
    const char lower = static_cast<char>(c - 'A' + 'a');
    EXPECT_EQ(LowerCp1252(c), lower) << c;
    EXPECT_EQ(UpperCp1252(lower), c) << lower;
  }
}

TEST(Cp1252, BytesWithoutPartnerStay) {
  struct Case {
    const char* name;
    unsigned char byte;
  };
  const Case cases[] = {
      {"multiplication sign", 0xD7}, {"division sign", 0xF7}, {"sharp s", 0xDF},
      {"micro sign", 0xB5},          {"f with hook", 0x83},   {"feminine ordinal", 0xAA},
      {"masculine ordinal", 0xBA},   {"euro sign", 0x80},     {"single left angle quote", 0x8B},
      {"single right angle quote", 0x9B}, {"middle dot", 0xB7}, {"no-break space", 0xA0},
      {"at sign, before A", '@'},    {"left bracket, after Z", '['},
      {"grave accent, before a", '`'}, {"left brace, after z", '{'}, {"zero byte", 0x00},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hex(LowerCp1252(Byte(c.byte))), Hex(Byte(c.byte))) << c.name << " lower-cased";
    EXPECT_EQ(Hex(UpperCp1252(Byte(c.byte))), Hex(Byte(c.byte))) << c.name << " upper-cased";
  }
}

// Any byte that is neither an ASCII letter nor one of the listed pairs must
// come through both directions untouched.
TEST(Cp1252, EveryOtherByteStays) {
  bool letter[256] = {};
  for (unsigned b = 'A'; b <= 'Z'; ++b) letter[b] = letter[b + 0x20] = true;
  for (const LetterPair& p : kLetterPairs) letter[p.upper] = letter[p.lower] = true;
  for (unsigned b = 0; b < 256; ++b) {
    if (letter[b]) continue;
    EXPECT_EQ(Hex(LowerCp1252(Byte(b))), Hex(Byte(b))) << "lower-casing " << Hex(Byte(b));
    EXPECT_EQ(Hex(UpperCp1252(Byte(b))), Hex(Byte(b))) << "upper-casing " << Hex(Byte(b));
  }
}

TEST(Cp1252, WholeTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::string lower;
    std::string upper;
  };
  const Case cases[] = {
      {"empty", "", "", ""},
      // "Café Ÿ ß": E acute, Y diaeresis, sharp s
      {"mixed Latin", "Caf\xE9 \x9F \xDF", "caf\xE9 \xFF \xDF", "CAF\xC9 \x9F \xDF"},
      // "· now", the lines' middle dot must survive
      {"middle dot line", "\xB7 Now", "\xB7 now", "\xB7 NOW"},
      {"zero byte inside", std::string("a\0B", 3), std::string("a\0b", 3), std::string("A\0B", 3)},
      {"markup", "<b>H</b>i", "<b>h</b>i", "<B>H</B>I"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LowerCase(c.text), c.lower) << c.name;
    EXPECT_EQ(UpperCase(c.text), c.upper) << c.name;
  }
}

}  // namespace
}  // namespace wendrel
