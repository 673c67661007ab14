// The clock both of the program's threads read.
#pragma once

#include <cstdint>

namespace wendrel {

class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic clock in milliseconds; midnight or a clock change do not
  // move it.
  virtual std::uint64_t NowMs() = 0;
};

}  // namespace wendrel
