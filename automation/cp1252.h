// Letter case in Windows-1252, the code page every text we produce is in.
#pragma once

#include <string>

namespace wendrel {

// ASCII letters and the Latin letters of Windows-1252 (including the pairs
// S/s caron, OE/oe, Z/z caron, Y/y diaeresis); every other byte is kept.
char LowerCp1252(char c);
char UpperCp1252(char c);
std::string LowerCase(const std::string& text);
std::string UpperCase(const std::string& text);

}  // namespace wendrel
