#include "automation/line_style.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace wendrel {
namespace {

const std::string kMarkup = "</html><font face=\"arial\" color=#FF0000>--<font color=#0000FF>";
const std::string kBareMarkup = "</html><font face=\"arial\" color=#><font color=#>";

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

}  // namespace
}  // namespace wendrel
