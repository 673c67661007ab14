#include "app/registry_store_win32.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "winutil/handles_win32.h"

namespace wendrel {

RegistryHandleStore::RegistryHandleStore(std::string key_path) : key_path_(std::move(key_path)) {}

std::string RegistryHandleStore::Read() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key_path_.c_str(), 0, KEY_QUERY_VALUE, &raw) !=
      ERROR_SUCCESS)
    return "";
  UniqueHkey key(raw);
  // The value may change between asking its size and reading it: ask again
  // until one read fits.
  std::vector<char> buffer;
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), kHandleValueName, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
      return "";
    // Room for a terminator the stored data may lack.
    buffer.assign(size + 1, '\0');
    DWORD got = size;
    const LONG rc = RegQueryValueExA(key.get(), kHandleValueName, nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || type != REG_SZ) return "";
    // Stored strings usually end in a terminator; the text stops at the first.
    std::string text(buffer.data(), got <= size ? got : size);
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    return text;
  }
  return "";
}

void RegistryHandleStore::Write(const std::string& handle) {
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key_path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return;
  UniqueHkey key(raw);
  RegSetValueExA(key.get(), kHandleValueName, 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(handle.c_str()),
                 static_cast<DWORD>(handle.size() + 1));
}

}  // namespace wendrel
