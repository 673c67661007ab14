#include "app/prompt_dialog_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace wendrel {
namespace {

constexpr char kTitle[] = "wendrel prompt test";

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
  std::string result = prompt.Ask("please enter your handle in the text field below", kTitle);
  KillTimer(nullptr, timer);
  g_answer = nullptr;
  return result;
}

void Type(HWND box, const char* text) {
  SendMessageA(FindWindowExA(box, nullptr, "Edit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Press(HWND box, const char* caption) { SendMessageA(FindWindowExA(box, nullptr, "Button", caption), BM_CLICK, 0, 0); }

std::string Text(HWND hwnd) {
  char buffer[256] = {};
  SendMessageA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

TEST(DialogHandlePrompt, Answers) {
  struct Case {
    const char* name;
    const char* typed;
    const char* button;
    std::string expected;
  };
  const Case cases[] = {
      {"OK", "nightowl", "OK", "nightowl"},
      {"OK keeps blanks", "  ", "OK", "  "},
      {"OK keeps Windows-1252", "caf\xE9", "OK", "caf\xE9"},  // e acute
      {"OK on an empty field", "", "OK", ""},
      {"Cancel", "nightowl", "Cancel", ""},
  };
  for (const Case& c : cases) {
    DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
    const std::string got = AskAnswering(prompt, [&](HWND box) {
      Type(box, c.typed);
      Press(box, c.button);
    });
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

TEST(DialogHandlePrompt, CloseIsCancel) {
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  EXPECT_EQ(AskAnswering(prompt,
                         [](HWND box) {
                           Type(box, "nightowl");
                           SendMessageA(box, WM_CLOSE, 0, 0);
                         }),
            "");
}

TEST(DialogHandlePrompt, ShowsTheTextAnEmptyFieldAndTwoButtons) {
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  std::string shown, field;
  bool ok = false, cancel = false;
  AskAnswering(prompt, [&](HWND box) {
    shown = Text(FindWindowExA(box, nullptr, "Static", nullptr));
    field = Text(FindWindowExA(box, nullptr, "Edit", nullptr));
    ok = FindWindowExA(box, nullptr, "Button", "OK") != nullptr;
    cancel = FindWindowExA(box, nullptr, "Button", "Cancel") != nullptr;
    Press(box, "Cancel");
  });
  EXPECT_EQ(shown, "please enter your handle in the text field below");
  EXPECT_EQ(field, "");
  EXPECT_TRUE(ok);
  EXPECT_TRUE(cancel);
}

TEST(DialogHandlePrompt, TakesALongHandle) {
  DialogHandlePrompt prompt(GetModuleHandleA(nullptr));
  const std::string handle(40000, 'o');
  EXPECT_EQ(AskAnswering(prompt,
                         [&](HWND box) {
                           Type(box, handle.c_str());
                           Press(box, "OK");
                         }),
            handle);
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
  HWND seen = reinterpret_cast<HWND>(1);
  AskAnswering(prompt, [&](HWND box) {
    seen = GetWindow(box, GW_OWNER);
    Press(box, "Cancel");
  });
  EXPECT_EQ(seen, owner);
  DestroyWindow(owner);
  AskAnswering(prompt, [&](HWND box) {
    seen = GetWindow(box, GW_OWNER);
    Press(box, "Cancel");
  });
  EXPECT_EQ(seen, nullptr);
}

}  // namespace
}  // namespace wendrel
