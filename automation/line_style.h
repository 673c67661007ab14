// A line's style: what zq7.ini says every line should look like, and the
// line it makes of a text.
#pragma once

#include <optional>
#include <string>

#include "automation/platform.h"

namespace wendrel {

// The style settings as the profile reader gives them ("" where the file,
// the section or the key is missing). The colours are the hexadecimal
// digits of an HTML colour, not checked.
struct LineStyle {
  std::string ascii;        // the decoration in front of every line
  std::string ascii_color;  // the decoration's colour
  std::string text_color;   // the text's colour
  std::string mode;         // "elite", "hacker", "lcase", "ucase", "pig latin", "silent"; else none
};

// zq7.ini in the executable's folder, read afresh for every line.
std::string StyleFilePath(Platform& p);
// The decoration and the colours. The mode is read apart, by ReadTextMode:
// the client's version is asked between the two.
LineStyle ReadDecoration(Platform& p, const std::string& path);
std::string ReadTextMode(Platform& p, const std::string& path);

// The line `text` becomes: the mode applied to the whole text, markup and
// all, behind the decoration. A newer client ("5", "4") gets the decoration
// and the text in font tags of their colours, never closed; an older one
// the bare decoration. The decoration and the colours lose surrounding
// spaces, the mode is taken exactly as it is. Nothing for "silent".
std::optional<std::string> StyleLine(const LineStyle& style, bool newer_client,
                                     const std::string& text);

}  // namespace wendrel
