#include "automation/line_style.h"

#include <cstddef>

#include "automation/cp1252.h"
#include "automation/text_styles.h"

namespace wendrel {
namespace {

constexpr char kStyleFile[] = "\\zq7.ini";
constexpr char kStyleSection[] = "zq7";
constexpr std::size_t kIniBufferSize = 750;

// One key of an INI file; "" when it has none. Values are cut to 749 bytes.
std::string ReadIni(Platform& p, const std::string& section, const std::string& key,
                    const std::string& path) {
  char buffer[kIniBufferSize] = {};
  std::size_t copied = p.GetPrivateProfileStringA(section.c_str(), LowerCase(key).c_str(), "",
                                                  buffer, sizeof buffer, path.c_str());
  if (copied > sizeof buffer - 1) copied = sizeof buffer - 1;
  return std::string(buffer, copied);
}

std::string TrimSpaces(const std::string& s) {
  const std::size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

// The text after the configured mode; nothing for "silent".
std::optional<std::string> ApplyMode(const std::string& mode, const std::string& text) {
  if (mode == "elite") return TrimSpaces(EliteText(text));
  if (mode == "hacker") return HackerText(text);
  if (mode == "lcase") return LowerCase(text);
  if (mode == "ucase") return UpperCase(text);
  if (mode == "pig latin") return PigLatin(text);
  if (mode == "silent") return std::nullopt;
  return text;
}

}  // namespace

std::string StyleFilePath(Platform& p) { return p.ExeFolder() + kStyleFile; }

LineStyle ReadDecoration(Platform& p, const std::string& path) {
  LineStyle style;
  style.ascii = ReadIni(p, kStyleSection, "ascii", path);
  style.ascii_color = ReadIni(p, kStyleSection, "ascii color", path);
  style.text_color = ReadIni(p, kStyleSection, "text color", path);
  return style;
}

std::string ReadTextMode(Platform& p, const std::string& path) {
  return ReadIni(p, kStyleSection, "mode", path);
}

std::optional<std::string> StyleLine(const LineStyle& style, bool newer_client,
                                     const std::string& text) {
  std::optional<std::string> line = ApplyMode(style.mode, text);
  if (!line) return std::nullopt;
  const std::string ascii = TrimSpaces(style.ascii);
  if (!newer_client) return ascii + *line;
  return "</html><font face=\"arial\" color=#" + TrimSpaces(style.ascii_color) + ">" + ascii +
         "<font color=#" + TrimSpaces(style.text_color) + ">" + *line;
}

}  // namespace wendrel
