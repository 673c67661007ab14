// Posts COUNT lines with the program's own SendChat and the real platform
// layer into the simulated client that is running, and times each from the
// call to the moment its record lands in the client's transcript.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "automation/chat_sender.h"
#include "automation/platform_win32.h"

namespace {

// A line that has not reached the transcript by then is counted as lost.
constexpr double kLineDeadlineMs = 5000;

long long FileSize(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double Percentile(std::vector<double> values, double fraction) {
  std::sort(values.begin(), values.end());
  const std::size_t index =
      static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
  return values[index];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: post_bench TRANSCRIPT COUNT\n", stderr);
    return 2;
  }
  const char* transcript = argv[1];
  const int count = std::atoi(argv[2]);
  wendrel::Win32Platform platform;
  wendrel::ChatSession chat;
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const auto now_ms = [&] {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
  };

  std::vector<double> times;
  int lost = 0;
  for (int i = 1; i <= count; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "bench line %03d", i);
    const long long before = FileSize(transcript);
    const double start = now_ms();
    wendrel::SendChat(platform, chat, line);
    double end = now_ms();
    // The client writes the record before it empties its box, so it is
    // usually there when SendChat returns; poll for the rare late one.
    while (FileSize(transcript) <= before && end - start < kLineDeadlineMs) {
      Sleep(0);
      end = now_ms();
    }
    if (FileSize(transcript) <= before) {
      ++lost;
      continue;
    }
    times.push_back(end - start);
  }
  if (times.empty()) {
    std::fprintf(stderr, "no line reached %s\n", transcript);
    return 1;
  }
  // median, 90th percentile, longest, lines lost
  std::printf("%.2f %.2f %.2f %d\n", Percentile(times, 0.5), Percentile(times, 0.9),
              Percentile(times, 1.0), lost);
  return lost == 0 ? 0 : 1;
}
