// Runs the text styles and the casing over arbitrary bytes and checks the
// properties that hold for every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "automation/cp1252.h"
#include "automation/text_styles.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool IsOneOf(char c, const char* set) {
  for (; *set; ++set) {
    if (c == *set) return true;
  }
  return false;
}

// True when every byte of `needle` appears in `hay` in the same order.
bool IsSubsequence(const std::string& needle, const std::string& hay) {
  std::size_t at = 0;
  for (char c : hay) {
    if (at < needle.size() && needle[at] == c) ++at;
  }
  return at == needle.size();
}

std::size_t CountOf(const std::string& text, char c) {
  std::size_t n = 0;
  for (char x : text) n += x == c;
  return n;
}

void CheckCasing(const std::string& in) {
  using namespace wendrel;
  const std::string lower = LowerCase(in);
  const std::string upper = UpperCase(in);
  Check(lower.size() == in.size() && upper.size() == in.size());
  Check(LowerCase(lower) == lower && UpperCase(upper) == upper);
  Check(LowerCase(upper) == lower && UpperCase(lower) == upper);
  for (std::size_t i = 0; i < in.size(); ++i) {
    // Casing only ever moves a byte to its partner, and both directions agree.
    const char c = in[i];
    Check(lower[i] == c || UpperCp1252(lower[i]) == c);
    Check(upper[i] == c || LowerCp1252(upper[i]) == c);
    Check(static_cast<unsigned char>(c) < 0x80 ||
          (static_cast<unsigned char>(lower[i]) >= 0x80 && static_cast<unsigned char>(upper[i]) >= 0x80));
  }
}

void CheckBold(const std::string& in) {
  const std::string out = wendrel::BoldWordStarts(in);
  if (in.empty()) {
    Check(out.empty());
    return;
  }
  Check(out.compare(0, 3, "<b>") == 0);
  Check(IsSubsequence(in, out));
  // Each bold group adds seven bytes of markup, a lone final space one more.
  const std::size_t added = out.size() - in.size();
  Check(added % 7 == 0 || added % 7 == 1);
  Check(added <= 7 + 8 * (in.size() / 2));
}

void CheckElite(const std::string& in) {
  const std::string out = wendrel::EliteText(in);
  std::size_t longer = 0;
  for (char c : in) longer += IsOneOf(c, "bdkwBDKW");
  Check(out.size() == in.size() + longer);
  for (char c : out) {
    // Every mapped character was replaced, and no replacement brings one back.
    Check(!IsOneOf(c, "abcdefhiklnosuwxy0123!?"));
    Check(c == 'H' || wendrel::LowerCp1252(c) == c);
  }
}

void CheckHacker(const std::string& in) {
  const std::string out = wendrel::HackerText(in);
  Check(out.size() == in.size());
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char c = out[i];
    if (IsOneOf(c, "aeiou") || (i == 2 && c == 'p')) continue;
    Check(wendrel::UpperCp1252(c) == c);
  }
}

void CheckPigLatin(const std::string& in) {
  const std::string out = wendrel::PigLatin(in);
  const bool ends_in_space = !in.empty() && in.back() == ' ';
  Check(CountOf(out, ' ') == CountOf(in, ' ') - (ends_in_space ? 1 : 0));
  // A piece that grows by "-" and "ay" is at least two bytes and, except the
  // last, followed by a space, so at most (n + 1) / 3 of them fit.
  const std::size_t base = in.size() - (ends_in_space ? 1 : 0);
  Check(out.size() >= base);
  Check(out.size() <= base + 3 * ((in.size() + 1) / 3));
  Check((out.size() - base) % 3 == 0);
  Check(out.size() - base == 3 * (CountOf(out, '-') - CountOf(in, '-')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  CheckCasing(in);
  CheckBold(in);
  CheckElite(in);
  CheckHacker(in);
  CheckPigLatin(in);
  return 0;
}
