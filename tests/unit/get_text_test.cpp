#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "automation/discovery.h"

namespace wendrel {
namespace {

// The window writes as much of its text as the buffer holds, less the
// terminator, and may report `extra` characters it never wrote. Under the
// sanitizers a read past the buffer fails the run.
TEST(ReadClaimedText, KeepsWhatWasWrittenWithinTheCappedClaim) {
  const struct {
    const char* name;
    std::intptr_t claimed;
    std::string text;
    std::size_t extra;
    std::size_t capacity;  // asked for; 0: the window is not asked at all
    std::string expected;
  } cases[] = {
      {"truthful", 5, "hello", 0, 6, "hello"},
      {"claims more than it writes", 12, "hello", 0, 13, "hello"},
      {"claims less: cut at the claim", 3, "hello", 0, 4, "hel"},
      {"claims nothing", 0, "hello", 0, 0, ""},
      {"claims a negative length", -7, "hello", 0, 0, ""},
      {"absurd claim: 64 KiB at most", INTPTR_MAX, std::string(70000, 'a'), 0, 65537,
       std::string(65536, 'a')},
      {"reports more than its buffer", 3, "hello", 1000, 4, "hel"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t asked = 0;
    const std::string got = ReadClaimedText(c.claimed, [&](char* buffer, std::size_t capacity) {
      asked = capacity;
      const std::size_t n = std::min(c.text.size(), capacity > 0 ? capacity - 1 : 0);
      std::memcpy(buffer, c.text.data(), n);
      return n + c.extra;
    });
    EXPECT_EQ(asked, c.capacity);
    EXPECT_EQ(got, c.expected);
  }
}

}  // namespace
}  // namespace wendrel
