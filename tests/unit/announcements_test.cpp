#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/announcements.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

TEST(Announcements, LineBuilders) {
  const std::pair<std::string, std::string> cases[] = {
      {BannerLine(), kBanner},
      {IdleStartLine("nightowl", "owl99"), kStart},
      {IdleTimeLine("nightowl", kRunningVerb, "0", "2", "15"), "\xB7 nightowl: has been idle 0/d 2/h 15/m"},
      {IdleTimeLine("  ", kFinalVerb, "1", "0", "0"), "\xB7   : was idle for 1/d 0/h 0/m"},
  };
  for (const auto& [got, want] : cases) EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace wendrel::testing
