#include "app/registry_store_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace wendrel {
namespace {

constexpr char kScratchRoot[] = "Software\\wendrel idler tests";
constexpr char kScratchKey[] = "Software\\wendrel idler tests\\settings";

struct ScratchKey {
  ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot); }
  ~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot); }
};

TEST(RegistryHandleStore, AbsentReadsEmpty) {
  ScratchKey scratch;
  RegistryHandleStore store(kScratchKey);
  EXPECT_EQ(store.Read(), "");
  // The key without the value.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(store.Read(), "");
}

TEST(RegistryHandleStore, KeepsTheHandleExactly) {
  struct Case {
    const char* name;
    std::string handle;
  };
  const Case cases[] = {
      {"plain", "nightowl"},
      {"two blanks", "  "},
      {"blanks around", " owl "},
      {"Windows-1252 bytes", "\xB7 caf\xE9 \xEF"},  // middle dot, e acute, i diaeresis
      {"long", std::string(5000, 'z')},
  };
  for (const Case& c : cases) {
    ScratchKey scratch;
    RegistryHandleStore store(kScratchKey);
    store.Write(c.handle);
    EXPECT_EQ(store.Read(), c.handle) << c.name;
    // Read by a second store, as by the next run of the program.
    EXPECT_EQ(RegistryHandleStore(kScratchKey).Read(), c.handle) << c.name;
  }
}

TEST(RegistryHandleStore, WritesAStringValueNamedHandle) {
  ScratchKey scratch;
  RegistryHandleStore(kScratchKey).Write("nightowl");
  char buffer[64] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kScratchKey, "handle", RRF_RT_ANY, &type, buffer, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(buffer, "nightowl");
}

TEST(RegistryHandleStore, OtherValueTypesReadEmpty) {
  ScratchKey scratch;
  const DWORD number = 7;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_DWORD, &number, sizeof number),
            ERROR_SUCCESS);
  EXPECT_EQ(RegistryHandleStore(kScratchKey).Read(), "");
}

TEST(RegistryHandleStore, UnterminatedStringStopsAtItsData) {
  ScratchKey scratch;
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_SZ, "owlXYZ", 3), ERROR_SUCCESS);
  EXPECT_EQ(RegistryHandleStore(kScratchKey).Read(), "owl");
}

TEST(RegistryHandleStore, TheProgramsKey) {
  EXPECT_STREQ(kHandleKeyPath, "Software\\VB and VBA Program Settings\\wendrel idler\\settings");
}

}  // namespace
}  // namespace wendrel
