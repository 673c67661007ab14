// The INI reader over any bytes: the first two bytes give the lengths of the
// section and key names that follow, the third the buffer size, and the rest
// is the file. Sanitizers catch any read out of bounds; the traps catch a
// result that would not fit the caller's buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "automation/ini_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const std::size_t section_length = data[0] % 16;
  const std::size_t key_length = data[1] % 16;
  const std::size_t capacity = data[2];
  std::size_t at = 3;
  auto take = [&](std::size_t n) {
    if (n > size - at) n = size - at;
    std::string piece(reinterpret_cast<const char*>(data + at), n);
    at += n;
    return piece;
  };
  const std::string section = take(section_length);
  const std::string key = take(key_length);
  const std::string content = take(size - at);

  const std::string value = wendrel::ReadProfileString(content, section, key, "default  ", capacity);
  if (capacity == 0 ? !value.empty() : value.size() > capacity - 1) __builtin_trap();
  if (value.find('\0') != std::string::npos) __builtin_trap();

  if (wendrel::Utf8ToCp1252(content).size() > content.size()) __builtin_trap();
  return 0;
}
