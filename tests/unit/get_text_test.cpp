#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "automation/discovery.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

// The window writes as much of its text as the buffer holds, less the
// terminator, and may report `extra` characters it never wrote. The claim
// only sizes the first read: a wrong one must neither cut nor lose the
// text. Under the sanitizers a read past the buffer fails the run.
TEST(ReadClaimedText, WholeTextWhateverTheClaimWithinTheBound) {
  const std::string big(5000, 'b');
  const std::size_t cap = 1 << 20;
  const struct {
    const char* name;
    std::intptr_t claimed;
    std::string text;
    std::size_t extra;
    std::vector<std::size_t> asked;  // the capacity of each read
    std::string expected;
  } cases[] = {
      {"claims more than it writes", 12, "hello", 0, {1024}, "hello"},
      {"claims -1", -1, kDraft, 0, {1024}, kDraft},
      {"short claim, long text: read again, larger", 2, big, 0, {1024, 4093, 16369}, big},
      {"truthful long text", 5000, big, 0, {5002}, big},
      {"absurd claim: 1 MiB at most", INTPTR_MAX, std::string(cap + 10, 'a'), 0, {cap + 1},
       std::string(cap, 'a')},
      {"reports more than it wrote", 3, "hello", 2000, {1024}, "hello"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::size_t> asked;
    const auto got =
        ReadClaimedText(c.claimed, [&](char* buffer, std::size_t capacity, std::size_t& copied) {
          asked.push_back(capacity);
          const std::size_t n = std::min(c.text.size(), capacity - 1);
          std::memcpy(buffer, c.text.data(), n);
          copied = n + c.extra;
          return true;
        });
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(got.value_or("<none>"), c.expected);
  }
  // A window that stops answering half-way has no text to give.
  int reads = 0;
  EXPECT_FALSE(ReadClaimedText(2, [&](char* buffer, std::size_t capacity, std::size_t& copied) {
                 std::memset(buffer, 'x', copied = capacity - 1);
                 return ++reads == 1;
               }).has_value());
  EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace wendrel::testing
