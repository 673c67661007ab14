#include <gtest/gtest.h>

#include <string>

#include "automation/text_styles.h"

namespace wendrel {
namespace {

// Each style over whole texts of Windows-1252 bytes.
TEST(TextStyles, WholeTexts) {
  // Each elite replacement in order: a grave; solidus, single right angle
  // quote; cent sign; single left angle quote, solidus; e circumflex; f with
  // hook; H; i grave; solidus, single left angle quote; pound sign; n tilde;
  // o stroke; s caron; u grave; vv; multiplication sign; y acute; degree
  // sign; superscripts one to three; inverted exclamation and question marks.
  const std::string elite = "[\xE0/\x9B\xA2\x8B/\xEA\x83" "H\xEC/\x8B\xA3\xF1\xF8\x9A\xF9vv\xD7\xFD"
                            "\xB0\xB9\xB2\xB3\xA1\xBF]";
  const struct {
    const char* name;
    std::string (*style)(const std::string&);
    std::string in;
    std::string out;
  } cases[] = {
      {"bold: two words", BoldWordStarts, "hello world", "<b>h</b>ello <b>w</b>orld"},
      {"bold: empty", BoldWordStarts, "", ""},
      {"bold: two spaces", BoldWordStarts, "a  b", "<b>a</b> <b> </b>b"},
      {"bold: trailing space", BoldWordStarts, "hi ", "<b>h</b>i <b> </b>"},
      {"bold: leading space", BoldWordStarts, " hi", "<b> </b>hi"},
      {"bold: tab and line break are no spaces", BoldWordStarts, "a\tb\nc d",
       "<b>a</b>\tb\nc <b>d</b>"},
      // "été à": e acute, a grave
      {"bold: Latin letters", BoldWordStarts, "\xE9t\xE9 \xE0", "<b>\xE9</b>t\xE9 <b>\xE0</b>"},
      // Each replacement between bytes that have none, and for both cases.
      {"elite: every replacement", EliteText, "[abcdefhiklnosuwxy0123!?]", elite},
      {"elite: every replacement of a capital", EliteText, "[ABCDEFHIKLNOSUWXY0123!?]", elite},
      {"elite: unmapped stay", EliteText, "gjmpqrtvz 456789 .,;:-'\"<>",
       "gjmpqrtvz 456789 .,;:-'\"<>"},
      {"elite: capitals lowered first", EliteText, "GJMPQRTVZ", "gjmpqrtvz"},
      // A grave, S caron, OE become their small letters and nothing more
      {"elite: Latin capitals lowered", EliteText, "\xC0\x8A\x8C", "\xE0\x9A\x9C"},
      // replacement bytes met in the input are kept as they are
      {"elite: replacement bytes in input", EliteText, "\xE0\x9B\x8B\xD7", "\xE0\x9B\x8B\xD7"},
      {"hacker: P at position 3", HackerText, "app", "aPp"},
      {"hacker: only the third character", HackerText, "hip hop", "Hip HoP"},
      {"hacker: space before third P", HackerText, "a p", "a p"},
      // E acute and y diaeresis are upper-cased but are not vowels here
      {"hacker: Latin letters", HackerText, "\xE9t\xE9 \xFF", "\xC9T\xC9 \x9F"},
      // sharp s has no capital and counts as a character before the P
      {"hacker: sharp s keeps its place", HackerText, "\xDF" "ap", "\xDF" "ap"},
      {"hacker: already capital", HackerText, "AEIOU", "aeiou"},
      {"pig latin: short words", PigLatin, "I am a cat", "I m-aay a at-cay"},
      {"pig latin: punctuation stays inside", PigLatin, "hello, world!", "ello,-hay orld!-way"},
      {"pig latin: trailing space dropped", PigLatin, "hi ", "i-hay"},
      {"pig latin: leading space kept", PigLatin, " hi", " i-hay"},
      {"pig latin: double space kept", PigLatin, "a  b", "a  b"},
      {"pig latin: two spaces", PigLatin, "  ", " "},
      {"pig latin: tab is no separator", PigLatin, "a\tb", "\tb-aay"},
      // "été": e acute
      {"pig latin: Latin letters", PigLatin, "\xE9t\xE9", "t\xE9-\xE9" "ay"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.style(c.in), c.out) << c.name;
}

}  // namespace
}  // namespace wendrel
