// The handle store on the real registry, under a scratch key. The idler's
// end-to-end tests read a plain handle back from the real key.
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

// As the next run of the program reads it: a store of its own.
TEST(RegistryHandleStore, KeepsTheHandleExactly) {
  for (const std::string& handle : {std::string("  "), std::string(" \xB7 caf\xE9 \xEF "),
                                    std::string(5000, 'z')}) {  // middle dot, e acute, i diaeresis
    SCOPED_TRACE(handle.substr(0, 16));
    ScratchKey scratch;
    RegistryHandleStore(kScratchKey).Write(handle);
    EXPECT_EQ(RegistryHandleStore(kScratchKey).Read(), handle);
  }
}

TEST(RegistryHandleStore, ReadsEmptyUnlessAStringIsStored) {
  ScratchKey scratch;
  RegistryHandleStore store(kScratchKey);
  EXPECT_EQ(store.Read(), "") << "no key";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "other", REG_SZ, "owl", 4),
            ERROR_SUCCESS);
  EXPECT_EQ(store.Read(), "") << "the key without the value";
  const DWORD number = 7;
  ASSERT_EQ(
      RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_DWORD, &number, sizeof number),
      ERROR_SUCCESS);
  EXPECT_EQ(store.Read(), "") << "a number";
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kScratchKey, "handle", REG_SZ, "owlXYZ", 3),
            ERROR_SUCCESS);
  EXPECT_EQ(store.Read(), "owl") << "a string without its terminator";
}

}  // namespace
}  // namespace wendrel
