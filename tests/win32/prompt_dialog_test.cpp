#include "app/prompt_dialog_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace wendrel {
namespace {

constexpr char kTitle[] = "wendrel prompt test";
constexpr char kText[] = "please enter your handle in the text field below";

// What the timer does once the box is up; a thread timer fires inside the
// box's own modal loop.
std::function<void(HWND)> g_answer;

void CALLBACK AnswerWhenOpen(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = FindWindowA("#32770", kTitle);
  if (!box || !g_answer) return;
  KillTimer(nullptr, id);
  auto answer = std::move(g_answer);
  g_answer = nullptr;
  answer(box);
}

std::string AskAnswering(DialogHandlePrompt& prompt, std::function<void(HWND)> answer) {
  g_answer = std::move(answer);
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, AnswerWhenOpen);
  std::string result = prompt.Ask(kText, kTitle);
  KillTimer(nullptr, timer);
  g_answer = nullptr;
  return result;
}

HWND Child(HWND box, const char* cls, const char* caption = nullptr) {
  return FindWindowExA(box, nullptr, cls, caption);
}

std::string Text(HWND hwnd) {
  char buffer[256] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

void Type(HWND box, const std::string& text) {
  SendMessageA(Child(box, "Edit"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Press(HWND box, const char* caption) { SendMessageA(Child(box, "Button", caption), BM_CLICK, 0, 0); }

// The box shows the text, an empty field, OK and Cancel; OK gives the field
// byte for byte, Cancel and closing give "".
TEST(DialogHandlePrompt, Answers) {
  const struct {
    const char* name;
    std::string typed;
    const char* button;  // nullptr: the box is closed
    std::string expected;
  } cases[] = {
      {"OK", "nightowl", "OK", "nightowl"},
      {"OK keeps blanks", "  ", "OK", "  "},
      {"OK keeps Windows-1252", "caf\xE9", "OK", "caf\xE9"},  // e acute
      {"OK on an empty field", "", "OK", ""},
      {"OK takes a long handle", std::string(40000, 'o'), "OK", std::string(40000, 'o')},
      {"Cancel", "nightowl", "Cancel", ""},
      {"closing is Cancel", "nightowl", nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
    std::string shown, field;
    bool ok = false, cancel = false;
    const std::string got = AskAnswering(prompt, [&](HWND box) {
      shown = Text(Child(box, "Static"));
      field = Text(Child(box, "Edit"));
      ok = Child(box, "Button", "OK") != nullptr;
      cancel = Child(box, "Button", "Cancel") != nullptr;
      Type(box, c.typed);
      if (c.button) {
        Press(box, c.button);
      } else {
        SendMessageA(box, WM_CLOSE, 0, 0);
      }
    });
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(shown, kText);
    EXPECT_EQ(field, "");
    EXPECT_TRUE(ok && cancel);
  }
}

TEST(DialogHandlePrompt, OneBoxAtATime) {
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  std::string nested = "not asked";
  const std::string outer = AskAnswering(prompt, [&](HWND box) {
    nested = prompt.Ask("again", "another title");
    Type(box, "nightowl");
    Press(box, "OK");
  });
  EXPECT_EQ(nested, "");
  EXPECT_EQ(outer, "nightowl");
  // Open again once closed.
  EXPECT_EQ(AskAnswering(prompt,
                         [](HWND box) {
                           Type(box, "owl");
                           Press(box, "OK");
                         }),
            "owl");
}

TEST(DialogHandlePrompt, OwnedByTheMainWindowWhileItLives) {
  HWND owner = CreateWindowExA(0, "Static", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  prompt.SetOwner(owner);
  auto owner_seen = [&] {
    HWND seen = reinterpret_cast<HWND>(1);
    AskAnswering(prompt, [&](HWND box) {
      seen = GetWindow(box, GW_OWNER);
      Press(box, "Cancel");
    });
    return seen;
  };
  EXPECT_EQ(owner_seen(), owner);
  DestroyWindow(owner);
  EXPECT_EQ(owner_seen(), nullptr);
}

}  // namespace
}  // namespace wendrel
