// The automation's pure logic: the code page's casing, the text styles
// built on it, a line's styling, and a window's text read whatever length
// the window claims.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "automation/cp1252.h"
#include "automation/discovery.h"
#include "automation/line_style.h"
#include "automation/text_styles.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
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

LineStyle Styled(const std::string& mode) { return {"  --  ", "FF0000", "0000FF", mode}; }

// The modes work on the whole text, markup and all; the newer clients get
// the colour markup, the older ones the bare decoration; decoration and
// text always touch.
TEST(StyleLine, ModesAndMarkup) {
  const struct {
    const char* name;
    LineStyle style;
    bool newer;
    std::string text;
    std::optional<std::string> line;  // nothing: not posted
  } cases[] = {
      {"unknown mode", Styled("Elite"), false, "Hi", "--Hi"},
      {"mode with a space", Styled(" elite"), true, "hi", kMarkup + "hi"},
      // i grave; elite alone trims, and spaces only
      {"elite, trimmed", Styled("elite"), true, "  \thi  ", kMarkup + "\tH\xEC"},
      {"hacker", Styled("hacker"), false, "<b>h</b>ello", "--<B>H</B>eLLo"},
      // E acute
      {"lcase", Styled("lcase"), true, " HeLLo \xC9 ", kMarkup + " hello \xE9 "},
      {"ucase", Styled("ucase"), false, "hello \xE9", "--HELLO \xC9"},
      {"pig latin", Styled("pig latin"), true, "hello world", kMarkup + "ello-hay orld-way"},
      {"silent", Styled("silent"), true, "hi", std::nullopt},
      {"colours trimmed", {"\t-", "  FF0000 ", " 0000FF", ""}, true, "hi",
       "</html><font face=\"arial\" color=#FF0000>\t-<font color=#0000FF>hi"},
      {"empty settings", {}, true, "hi", kBareMarkup + "hi"},
      {"decoration of spaces", {"   ", "", "", ""}, false, "hi", "hi"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(StyleLine(c.style, c.newer, c.text), c.line);
  }
}

// The window writes as much of its text as the buffer holds, less the
// terminator, and may report `extra` characters it never wrote. The claim
// only sizes the first read: a wrong one must neither cut nor lose the
// text. Under the sanitizers a read past the buffer fails the run.
TEST(ReadClaimedText, WholeTextWhateverTheClaimWithinTheBound) {
  const std::string big(5000, 'b');
  const std::size_t cap = 1 << 20;
  const struct {
    const char* name;
    std::intptr_t claimed;
    std::string text;
    std::size_t extra;
    std::vector<std::size_t> asked;  // the capacity of each read
    std::string expected;
  } cases[] = {
      {"claims more than it writes", 12, "hello", 0, {1024}, "hello"},
      {"claims -1", -1, kDraft, 0, {1024}, kDraft},
      {"short claim, long text: read again, larger", 2, big, 0, {1024, 4093, 16369}, big},
      {"truthful long text", 5000, big, 0, {5002}, big},
      {"absurd claim: 1 MiB at most", INTPTR_MAX, std::string(cap + 10, 'a'), 0, {cap + 1},
       std::string(cap, 'a')},
      {"reports more than it wrote", 3, "hello", 2000, {1024}, "hello"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::size_t> asked;
    const auto got =
        ReadClaimedText(c.claimed, [&](char* buffer, std::size_t capacity, std::size_t& copied) {
          asked.push_back(capacity);
          const std::size_t n = std::min(c.text.size(), capacity - 1);
          std::memcpy(buffer, c.text.data(), n);
          copied = n + c.extra;
          return true;
        });
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(got.value_or("<none>"), c.expected);
  }
  // A window that stops answering half-way has no text to give.
  int reads = 0;
  EXPECT_FALSE(ReadClaimedText(2, [&](char* buffer, std::size_t capacity, std::size_t& copied) {
                 std::memset(buffer, 'x', copied = capacity - 1);
                 return ++reads == 1;
               }).has_value());
  EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace wendrel::testing
