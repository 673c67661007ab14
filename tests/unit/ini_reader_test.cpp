#include "automation/ini_reader.h"

#include <gtest/gtest.h>

namespace wendrel {
namespace {

TEST(ReadProfileString, FollowsTheSystemReader) {
  struct Case {
    const char* name;
    std::string content;
    const char* key;
    std::string expected;
  };
  const std::string nul_inside("[zq7]\nmode=ab\0cd\n", 17);
  const Case cases[] = {
      {"plain", "[zq7]\nmode=elite\n", "mode", "elite"},
      {"section in any case", "[ZQ7]\nmode=elite\n", "mode", "elite"},
      {"key in any case", "[zq7]\nMoDe=elite\n", "MODE", "elite"},
      {"blanks around the equals sign and the value", "[zq7]\n  mode \t=  elite \t\n", "mode", "elite"},
      {"blanks inside the name kept", "[zq7]\nascii color = FF0000\n", "ascii color", "FF0000"},
      {"a longer name is another key", "[zq7]\nascii color=FF\nascii=--\n", "ascii", "--"},
      {"double quotes dropped", "[zq7]\nascii=\" -- \"\n", "ascii", " -- "},
      {"single quotes dropped", "[zq7]\nascii='--'\n", "ascii", "--"},
      {"empty quotes", "[zq7]\nascii=\"\"\n", "ascii", ""},
      {"unbalanced quote kept", "[zq7]\nascii=\"--\n", "ascii", "\"--"},
      {"mismatched quotes kept", "[zq7]\nascii=\"--'\n", "ascii", "\"--'"},
      {"lone quote kept", "[zq7]\nascii=\"\n", "ascii", "\""},
      {"semicolon after a value kept", "[zq7]\nmode=elite ; loud\n", "mode", "elite ; loud"},
      {"equals sign inside the value", "[zq7]\nascii=a=b\n", "ascii", "a=b"},
      {"empty value is not the default", "[zq7]\nmode=\n", "mode", ""},
      {"first of two lines wins", "[zq7]\nmode=elite\nmode=hacker\n", "mode", "elite"},
      {"only the first section of a name counts", "[zq7]\nascii=--\n[zq7]\nmode=elite\n", "mode", "<none>"},
      {"other sections are not searched", "[other]\nmode=elite\n[zq7]\nascii=--\n", "mode", "<none>"},
      {"commented line", "[zq7]\n;mode=elite\n", "mode", "<none>"},
      {"CRLF lines", "[zq7]\r\nascii=--\r\nmode=elite\r\n", "mode", "elite"},
      {"no newline at the end", "[zq7]\nmode=elite", "mode", "elite"},
      {"Ctrl-Z at the end", "[zq7]\nmode=elite\x1A", "mode", "elite"},
      {"value ends at a NUL", nul_inside, "mode", "ab"},
      {"byte-order mark skipped", "\xEF\xBB\xBF[zq7]\nmode=elite\n", "mode", "elite"},
      // With the mark the file is UTF-8: the middle dot (C2 B7) becomes B7,
      // the euro sign (E2 82 AC) 80, a character beyond the code page "?".
      {"UTF-8 read with the mark", "\xEF\xBB\xBF[zq7]\nascii=\xC2\xB7\xE2\x82\xAC\xE4\xB8\xAD\n", "ascii",
       "\xB7\x80?"},
      {"bytes pass without the mark", "[zq7]\nascii=\xC2\xB7\n", "ascii", "\xC2\xB7"},
      {"broken UTF-8 read with the mark", "\xEF\xBB\xBF[zq7]\nascii=\xC2-\xFF\n", "ascii", "?-?"},
      {"no section", "mode=elite\n", "mode", "<none>"},
      {"empty file", "", "mode", "<none>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadProfileString(c.content, "zq7", c.key, "<none>", 750), c.expected) << c.name;
  }
}

TEST(ReadProfileString, CutsToTheBuffer) {
  struct Case {
    std::size_t capacity;
    const char* expected;
  };
  const Case cases[] = {{0, ""}, {1, ""}, {2, "a"}, {6, "abcde"}, {7, "abcdef"}, {100, "abcdef"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ReadProfileString("[s]\nk=abcdef\n", "s", "k", "", c.capacity), c.expected)
        << "capacity " << c.capacity;
    EXPECT_EQ(ReadProfileString("[s]\nk=\"abcdef\"\n", "s", "k", "", c.capacity), c.expected)
        << "quoted, capacity " << c.capacity;
  }
  EXPECT_EQ(ReadProfileString("", "s", "k", "fallback  ", 100), "fallback");
  EXPECT_EQ(ReadProfileString("", "s", "k", "fallback", 4), "fal");
}

}  // namespace
}  // namespace wendrel
