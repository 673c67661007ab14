#include <gtest/gtest.h>

#include <string>

#include "automation/text_styles.h"

namespace wendrel {
namespace {

struct Case {
  const char* name;
  std::string in;
  std::string out;
};

TEST(TextStyles, BoldWordStarts) {
  const Case cases[] = {
      {"two words", "hello world", "<b>h</b>ello <b>w</b>orld"},
      {"single letters", "a b c", "<b>a</b> <b>b</b> <b>c</b>"},
      {"empty", "", ""},
      {"two spaces", "a  b", "<b>a</b> <b> </b>b"},
      {"three spaces", "a   b", "<b>a</b> <b> </b> <b>b</b>"},
      {"trailing space", "hi ", "<b>h</b>i <b> </b>"},
      {"leading space", " hi", "<b> </b>hi"},
      {"only two spaces", "  ", "<b> </b> <b> </b>"},
      {"tab and line break are no spaces", "a\tb\nc d", "<b>a</b>\tb\nc <b>d</b>"},
      // "été à": e acute, a grave
      {"Latin letters", "\xE9t\xE9 \xE0", "<b>\xE9</b>t\xE9 <b>\xE0</b>"},
      {"middle dot line", "\xB7 now active.", "<b>\xB7</b> <b>n</b>ow <b>a</b>ctive."},
  };
  for (const Case& c : cases) EXPECT_EQ(BoldWordStarts(c.in), c.out) << c.name;
}

TEST(TextStyles, EliteText) {
  const Case cases[] = {
      // "Hê££ø vvør£‹/"
      {"two words", "hello world", "H\xEA\xA3\xA3\xF8 vv\xF8r\xA3\x8B/"},
      // "</›>H<//›>ê££ø"
      {"bold markup", "<b>h</b>ello", "</\x9B>H<//\x9B>\xEA\xA3\xA3\xF8"},
      {"unmapped stay", "gjmpqrtvz 456789 .,;:-'\"<>", "gjmpqrtvz 456789 .,;:-'\"<>"},
      {"capitals lowered first", "GJMPQRTVZ", "gjmpqrtvz"},
      // A grave, S caron, OE become their small letters and nothing more
      {"Latin capitals lowered", "\xC0\x8A\x8C", "\xE0\x9A\x9C"},
      // replacement bytes met in the input are kept as they are
      {"replacement bytes in input", "\xE0\x9B\x8B\xD7", "\xE0\x9B\x8B\xD7"},
  };
  for (const Case& c : cases) EXPECT_EQ(EliteText(c.in), c.out) << c.name;
}

// Each replacement, for both cases of a letter, alone and between bytes
// that have none.
TEST(TextStyles, EliteTableEachCharacterBothCases) {
  struct Mapping {
    char from;
    const char* to;
  };
  const Mapping table[] = {
      {'a', "\xE0"},    // a grave
      {'b', "/\x9B"},   // solidus, single right angle quote
      {'c', "\xA2"},    // cent sign
      {'d', "\x8B/"},   // single left angle quote, solidus
      {'e', "\xEA"},    // e circumflex
      {'f', "\x83"},    // f with hook
      {'h', "H"},
      {'i', "\xEC"},    // i grave
      {'k', "/\x8B"},   // solidus, single left angle quote
      {'l', "\xA3"},    // pound sign
      {'n', "\xF1"},    // n tilde
      {'o', "\xF8"},    // o stroke
      {'s', "\x9A"},    // s caron
      {'u', "\xF9"},    // u grave
      {'w', "vv"},
      {'x', "\xD7"},    // multiplication sign
      {'y', "\xFD"},    // y acute
      {'0', "\xB0"},    // degree sign
      {'1', "\xB9"},    // superscript one
      {'2', "\xB2"},    // superscript two
      {'3', "\xB3"},    // superscript three
      {'!', "\xA1"},    // inverted exclamation mark
      {'?', "\xBF"},    // inverted question mark
  };
  for (const Mapping& m : table) {
    const std::string lower(1, m.from);
    EXPECT_EQ(EliteText(lower), m.to) << "'" << lower << "'";
    if (m.from >= 'a' && m.from <= 'z') {
      const std::string upper(1, static_cast<char>(m.from - 'a' + 'A'));
      EXPECT_EQ(EliteText(upper), m.to) << "'" << upper << "'";
    }
    EXPECT_EQ(EliteText("[" + lower + "]"), "[" + std::string(m.to) + "]") << "'" << lower << "' in brackets";
  }
}

TEST(TextStyles, HackerText) {
  const Case cases[] = {
      {"two words", "hello world", "HeLLo WoRLD"},
      {"P at position 3", "app", "aPp"},
      {"only the third character", "hip hop", "Hip HoP"},
      {"bold markup", "<b>h</b>ello", "<B>H</B>eLLo"},
      {"P at position 2 stays", "spa", "SPa"},
      {"space before third P", "a p", "a p"},
      // E acute and y diaeresis are upper-cased but are not vowels here
      {"Latin letters", "\xE9t\xE9 \xFF", "\xC9T\xC9 \x9F"},
      // sharp s has no capital and counts as a character before the P
      {"sharp s keeps its place", "\xDF" "ap", "\xDF" "ap"},
      {"already capital", "AEIOU", "aeiou"},
  };
  for (const Case& c : cases) EXPECT_EQ(HackerText(c.in), c.out) << c.name;
}

TEST(TextStyles, PigLatin) {
  const Case cases[] = {
      {"two words", "hello world", "ello-hay orld-way"},
      {"short words", "I am a cat", "I m-aay a at-cay"},
      {"vowel start", "apple", "pple-aay"},
      {"capital", "Hello", "ello-Hay"},
      {"punctuation stays inside", "hello, world!", "ello,-hay orld!-way"},
      {"hyphen inside", "well-known", "ell-known-way"},
      {"trailing space dropped", "hi ", "i-hay"},
      {"leading space kept", " hi", " i-hay"},
      {"double space kept", "a  b", "a  b"},
      {"bold markup", "<b>h</b>ello <b>w</b>orld", "b>h</b>ello-<ay b>w</b>orld-<ay"},
      {"one space", " ", ""},
      {"two spaces", "  ", " "},
      {"tab is no separator", "a\tb", "\tb-aay"},
      // "été": e acute
      {"Latin letters", "\xE9t\xE9", "t\xE9-\xE9" "ay"},
  };
  for (const Case& c : cases) EXPECT_EQ(PigLatin(c.in), c.out) << c.name;
}

}  // namespace
}  // namespace wendrel
