// The handle: asked for in the prompt on the real dialog manager, and kept
// in the real registry, under a scratch key. The idler's end-to-end tests
// answer the prompt with a plain handle and cancel it, and read a plain
// handle back from the real key; here is the rest.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "app/prompt_dialog_win32.h"
#include "app/registry_store_win32.h"
#include "tests/support/support_win32.h"
#include "tests/support/texts.h"

namespace wendrel::testing {
namespace {

constexpr char kTitle[] = "wendrel prompt test";

// Types `typed` (as keys would: within the field's limit), then presses
// `button` ("": none), or closes the box for nullptr.
std::function<void(HWND)> Typing(const std::string& typed, const char* button) {
  return [=](HWND box) {
    SendDlgItemMessageA(box, kPromptEditId, EM_REPLACESEL, FALSE, LPARAM(typed.c_str()));
    if (!button) SendMessageA(box, WM_CLOSE, 0, 0);
    else if (*button) SendMessageA(FindWindowExA(box, nullptr, "Button", button), BM_CLICK, 0, 0);
  };
}

// Run by a thread timer, which fires inside the boxes' own modal loops: the
// test's answer once the box is up, and "stray" into a second box.
std::function<void(HWND)> g_answer;

void CALLBACK AnswerWhenOpen(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND stray = FindWindowA("#32770", "another box")) Typing("stray", "OK")(stray);
  HWND box = FindWindowA("#32770", kTitle);
  if (box && g_answer) std::exchange(g_answer, nullptr)(box);
}

std::string AskAnswering(DialogHandlePrompt& prompt, std::function<void(HWND)> answer) {
  g_answer = std::move(answer);
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerWhenOpen);
  const std::string result = prompt.Ask(kHandleQuestion, kTitle);
  KillTimer(nullptr, timer);
  return result;
}

TEST(DialogHandlePrompt, GivesTheFieldByteForByteOnOkOnly) {
  const struct {
    const char* name;
    std::string typed;
    const char* button;  // "": the program ends while the box is open
    std::string expected;
  } cases[] = {
      {"blanks and Windows-1252 kept", " \xB7 caf\xE9 ", "OK", " \xB7 caf\xE9 "},  // e acute
      {"no length limit", std::string(40000, 'o'), "OK", std::string(40000, 'o')},
      {"Cancel drops the typing", "nightowl", "Cancel", ""},
      {"closing is Cancel", "nightowl", nullptr, ""},
      {"the program ending is Cancel", "nightowl", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
    std::string shown = "not shown";
    const std::string got = AskAnswering(prompt, [&](HWND box) {
      shown = TextOf(GetDlgItem(box, kPromptTextId)) + "|" + TextOf(GetDlgItem(box, kPromptEditId));
      Typing(c.typed, c.button)(box);
      if (c.button && !*c.button) prompt.Cancel();
    });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(shown, kHandleQuestion + "|") << "the text and an empty field";
  }
}

// Ticks of the idle timer must not pile box upon box.
TEST(DialogHandlePrompt, OneBoxAtATime) {
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  std::string nested = "not asked";
  const std::string outer = AskAnswering(prompt, [&](HWND box) {
    nested = prompt.Ask("again", "another box");
    Typing("nightowl", "OK")(box);
  });
  EXPECT_EQ(nested, "");
  EXPECT_EQ(outer, "nightowl");
}

TEST(DialogHandlePrompt, OwnedByTheMainWindowWhileItLives) {
  HWND owner =
      CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  prompt.SetOwner(owner);
  auto owner_seen = [&] {
    HWND seen = HWND(1);
    AskAnswering(prompt, [&](HWND box) {
      seen = GetWindow(box, GW_OWNER);
      Typing("", "Cancel")(box);
    });
    return seen;
  };
  EXPECT_EQ(owner_seen(), owner);
  DestroyWindow(owner);
  EXPECT_EQ(owner_seen(), nullptr);
}

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
}  // namespace wendrel::testing
