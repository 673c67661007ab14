#include "app/registry_store_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace wendrel {
namespace {

constexpr char kScratchRoot[] = "Software\\wendrel idler tests";
constexpr char kScratchKey[] = "Software\\wendrel idler tests\\settings";

struct ScratchKey {
  ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot); }
  ~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot); }
};

// Written as a string value named "handle", read back byte for byte, also
// by a second store, as by the next run of the program.
TEST(RegistryHandleStore, KeepsTheHandleExactly) {
  const struct {
    const char* name;
    std::string handle;
  } cases[] = {
      {"plain", "nightowl"},
      {"two blanks", "  "},
      {"blanks around", " owl "},
      {"Windows-1252 bytes", "\xB7 caf\xE9 \xEF"},  // middle dot, e acute, i diaeresis
      {"long", std::string(5000, 'z')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchKey scratch;
    RegistryHandleStore store(kScratchKey);
    store.Write(c.handle);
    EXPECT_EQ(store.Read(), c.handle);
    EXPECT_EQ(RegistryHandleStore(kScratchKey).Read(), c.handle);
    std::vector<char> raw(c.handle.size() + 16, 'Z');
    DWORD size = static_cast<DWORD>(raw.size());
    DWORD type = 0;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kScratchKey, "handle", RRF_RT_ANY, &type, raw.data(), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(raw.data()), c.handle);
  }
}

TEST(RegistryHandleStore, ReadsEmptyUnlessAStringIsThere) {
  ScratchKey scratch;
  RegistryHandleStore store(kScratchKey);
  EXPECT_EQ(store.Read(), "") << "no key";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(store.Read(), "") << "the key without the value";
  const DWORD number = 7;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_DWORD, &number, sizeof number),
            ERROR_SUCCESS);
  EXPECT_EQ(store.Read(), "") << "a number";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_SZ, "owlXYZ", 3), ERROR_SUCCESS);
  EXPECT_EQ(store.Read(), "owl") << "a string without its terminator stops at its data";
}

}  // namespace
}  // namespace wendrel
