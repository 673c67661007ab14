// The looks a chat line can be given. Pure functions over Windows-1252 bytes.
#pragma once

#include <string>

namespace wendrel {

std::string BoldWordStarts(const std::string& text);
std::string EliteText(const std::string& text);
std::string HackerText(const std::string& text);
std::string PigLatin(const std::string& text);

}  // namespace wendrel
