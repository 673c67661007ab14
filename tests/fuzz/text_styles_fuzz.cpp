// Runs the text styles and a line's styling over arbitrary bytes and checks
// the properties that hold for every input. The casing is a byte map,
// checked whole natively.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "automation/cp1252.h"
#include "automation/line_style.h"
#include "automation/text_styles.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::size_t CountOf(const std::string& text, const char* set) {
  return std::count_if(text.begin(), text.end(), [&](char c) { return c && std::strchr(set, c); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wendrel;
  const std::string in(reinterpret_cast<const char*>(data), size);

  // Every byte survives, in order, and each bold group adds seven bytes of
  // markup (a lone final space one more).
  const std::string bold = BoldWordStarts(in);
  std::size_t at = 0;
  for (char c : bold) at += at < in.size() && in[at] == c;
  Check(at == in.size() && (in.empty() ? bold.empty() : bold.compare(0, 3, "<b>") == 0));
  const std::size_t added = bold.size() - in.size();
  Check((added % 7 == 0 || added % 7 == 1) && added <= 7 + 8 * (in.size() / 2));

  // b, d, k and w become two bytes; no mapped character is left or brought back.
  const std::string elite = EliteText(in);
  Check(elite.size() == in.size() + CountOf(in, "bdkwBDKW"));
  for (char c : elite)
    Check(!(c && std::strchr("abcdefhiklnosuwxy0123!?", c)) && (c == 'H' || LowerCp1252(c) == c));

  const std::string hacker = HackerText(in);
  Check(hacker.size() == in.size());
  for (std::size_t i = 0; i < hacker.size(); ++i)
    Check((hacker[i] && std::strchr("aeiou", hacker[i])) || (i == 2 && hacker[i] == 'p') ||
          UpperCp1252(hacker[i]) == hacker[i]);

  // Spaces are kept but a final one; each piece of two or more bytes grows
  // by "-" and "ay".
  const std::string pig = PigLatin(in);
  const std::size_t base = in.size() - (!in.empty() && in.back() == ' ');
  Check(CountOf(pig, " ") == CountOf(in, " ") - (in.size() - base));
  Check(pig.size() >= base && (pig.size() - base) % 3 == 0 &&
        pig.size() - base <= 3 * ((in.size() + 1) / 3) &&
        pig.size() - base == 3 * (CountOf(pig, "-") - CountOf(in, "-")));

  // A style cut from the same bytes at line feeds: decoration, colours,
  // mode, text; a mode of one byte picks a known one.
  std::string field[5];
  std::size_t f = 0;
  for (char c : in) {
    if (c == '\n' && f < 4) ++f;
    else field[f] += c;
  }
  static const char* const kModes[] = {"elite",     "hacker", "lcase", "ucase",
                                       "pig latin", "silent", "normal"};
  if (field[3].size() == 1) field[3] = kModes[static_cast<unsigned char>(field[3][0]) % 7];
  const std::string& mode = field[3];
  const std::string& text = field[4];
  // The prefix depends on the settings and the client alone; the older
  // one is the decoration without surrounding spaces, inside the newer one.
  LineStyle style{field[0], field[1], field[2], ""};
  const std::string prefix[] = {*StyleLine(style, false, ""), *StyleLine(style, true, "")};
  Check(style.ascii.find(prefix[0]) != std::string::npos &&
        prefix[1].find(prefix[0]) != std::string::npos &&
        (prefix[0].empty() || (prefix[0].front() != ' ' && prefix[0].back() != ' ')));
  style.mode = mode;
  for (bool newer : {false, true}) {
    const std::optional<std::string> line = StyleLine(style, newer, text);
    Check(!line == (mode == "silent"));
    if (!line) continue;
    Check(line->compare(0, prefix[newer].size(), prefix[newer]) == 0);
    const std::string rest = line->substr(prefix[newer].size());
    if (mode == "elite") Check(rest.empty() || (rest.front() != ' ' && rest.back() != ' '));
    else if (mode == "hacker" || mode == "lcase" || mode == "ucase")
      Check(rest.size() == text.size());
    else if (mode != "pig latin") Check(rest == text);
  }
  return 0;
}
