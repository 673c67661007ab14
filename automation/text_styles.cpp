#include "automation/text_styles.h"

#include "automation/cp1252.h"

namespace wendrel {

std::string BoldWordStarts(const std::string& text) {
  std::string out;
  if (text.empty()) return out;
  out.reserve(text.size() * 2 + 8);

  // The first character is bolded whatever it is, a space included.
  out += "<b>";
  out += text[0];
  out += "</b>";

  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] != ' ') {
      out += text[i];
      continue;
    }
    // A space takes its follower into the bold, which is why a run of spaces
    // goes in pairs; a space at the very end bolds a space of its own.
    out += " <b>";
    if (i + 1 < text.size()) {
      out += text[++i];
    } else {
      out += ' ';
    }
    out += "</b>";
  }
  return out;
}

namespace {

// The elite look of one byte of already lower-cased text; nullptr keeps it.
const char* EliteReplacement(char c) {
  switch (c) {
    case 'a': return "\xE0";     // a grave
    case 'b': return "/\x9B";    // solidus, single right-pointing angle quote
    case 'c': return "\xA2";     // cent sign
    case 'd': return "\x8B/";    // single left-pointing angle quote, solidus
    case 'e': return "\xEA";     // e circumflex
    case 'f': return "\x83";     // f with hook
    case 'h': return "H";
    case 'i': return "\xEC";     // i grave
    case 'k': return "/\x8B";    // solidus, single left-pointing angle quote
    case 'l': return "\xA3";     // pound sign
    case 'n': return "\xF1";     // n tilde
    case 'o': return "\xF8";     // o stroke
    case 's': return "\x9A";     // s caron
    case 'u': return "\xF9";     // u grave
    case 'w': return "vv";
    case 'x': return "\xD7";     // multiplication sign
    case 'y': return "\xFD";     // y acute
    case '0': return "\xB0";     // degree sign
    case '1': return "\xB9";     // superscript one
    case '2': return "\xB2";     // superscript two
    case '3': return "\xB3";     // superscript three
    case '!': return "\xA1";     // inverted exclamation mark
    case '?': return "\xBF";     // inverted question mark
    default: return nullptr;
  }
}

}  // namespace

std::string EliteText(const std::string& text) {
  std::string out;
  out.reserve(text.size() * 2);
  // One pass from the input to the output, so that no replacement is looked
  // at again.
  for (char c : text) {
    const char lower = LowerCp1252(c);
    if (const char* replacement = EliteReplacement(lower)) {
      out += replacement;
    } else {
      out += lower;
    }
  }
  return out;
}

std::string HackerText(const std::string& text) {
  std::string out = UpperCase(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    switch (out[i]) {
      case 'A':
      case 'E':
      case 'I':
      case 'O':
      case 'U':
        out[i] = static_cast<char>(out[i] + ('a' - 'A'));
        break;
      case 'P':
        // Only the third character of the whole line, never a later P.
        if (i == 2) out[i] = 'p';
        break;
      default:
        break;
    }
  }
  return out;
}

std::string PigLatin(const std::string& text) {
  // Every piece ends at a space; that final space itself never reaches the
  // output.
  std::string padded = text;
  if (padded.empty() || padded.back() != ' ') padded += ' ';

  std::string out;
  out.reserve(padded.size() * 2);
  for (std::size_t start = 0; start < padded.size();) {
    const std::size_t end = padded.find(' ', start);
    if (start != 0) out += ' ';
    const std::size_t length = end - start;
    if (length > 1) {
      out.append(padded, start + 1, length - 1);
      out += '-';
      out += padded[start];
      out += "ay";
    } else {
      out.append(padded, start, length);
    }
    start = end + 1;
  }
  return out;
}

}  // namespace wendrel
