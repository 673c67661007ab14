#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/idle.h"

namespace wendrel {
namespace {

// Plus one in doubles, written back in the shortest decimal form; what is
// not a plain decimal, or more than a double holds, counts as 0.
TEST(NextCount, CaptionPlusOne) {
  const std::pair<std::string, const char*> cases[] = {
      {"0", "1"}, {"9", "10"}, {"59", "60"}, {"999999", "1000000"}, {"007", "8"}, {"1.5", "2.5"},
      {"0.1", "1.1"},
      {"", "1"}, {"abc", "1"}, {"12abc", "1"}, {" 5", "1"}, {"-5", "1"}, {"1e3", "1"},
      {"0x10", "1"}, {"inf", "1"},
      {".", "1"}, {".5", "1"}, {"5.", "1"}, {"1.2.3", "1"}, {std::string(400, '9'), "1"},
      {"100000000000000000000", "100000000000000000000"},
      {"9007199254740993", "9007199254740992"}};  // past 2^53
  for (const auto& [caption, want] : cases)
    EXPECT_EQ(NextCount(caption), want) << '"' << caption << '"';
}

}  // namespace
}  // namespace wendrel
