// Stand-ins for what the main window's handlers need from outside: the
// settings store and the handle prompt, the main window as idle mode sees
// it, and the services of one run of the program built on them.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/idle.h"
#include "app/services.h"
#include "automation/text_styles.h"
#include "tests/support/support_win32.h"

namespace wendrel::testing {

// The link as the tests want it: each job runs at once, on the test's
// thread and clock, so a test sees its lines in the room when the handler
// returns. (The program's own link is a thread; its tests are end to end.)
struct InlineLink : ClientLink {
  explicit InlineLink(Platform& p) : platform(p) {}
  void Hand(Job job) override {
    if (!closed) job(platform, chat);
  }
  bool Flush(unsigned) override { return true; }
  bool Close(unsigned) override {
    chat.closing = closed = true;
    return true;
  }
  Platform& platform;
  ChatSession chat;
  bool closed = false;
};

// The store holds `handle`; the prompt answers from `script`, one answer a
// call, and cancels once it is used up. The clock is in the test's hands,
// and the folder has no zq7.ini.
struct TestServices : HandleStore, HandlePrompt {
  TestServices(std::string stored, std::vector<std::string> answers)
      : handle(std::move(stored)), script(std::move(answers)) {}
  std::string Read() override { return handle; }
  void Write(const std::string& h) override { handle = h; }
  std::string Ask(const std::string& text, const std::string& title) override {
    asked.push_back(text + "|" + title);
    return asked.size() <= script.size() ? script[asked.size() - 1] : "";
  }

  // A main window closed by the platform leaves its loop's quit message,
  // which must not reach the next test's waits and dialogs.
  ~TestServices() override {
    for (MSG m; PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
  }

  std::string handle;
  std::vector<std::string> script, asked;  // asked: "text|title" of every call
  TempDir dir;
  VirtualClockPlatform platform{dir.path()};
  InlineLink link{platform};
  ChatSession& chat = link.chat;
  AppServices services{platform, *this, *this, link};
};

using Counts = std::array<std::string, 3>;  // days, hours, minutes

// Three captions and a timer flag.
struct CounterForm : IdleForm {
  explicit CounterForm(Counts counts) : captions(std::move(counts)) {}
  std::string CounterText(Counter c) override { return captions[static_cast<int>(c)]; }
  void SetCounterText(Counter c, const std::string& text) override { captions[static_cast<int>(c)] = text; }
  // Enabling a running timer would start its minute over.
  void EnableTimer(bool on) override { restarts += on && timer; timer = on; }
  bool TimerEnabled() override { return timer; }
  void StayOnTop() override { ++on_top; }
  bool& TickInProgress() override { return ticking; }

  Counts captions;
  bool timer = false, ticking = false;
  int restarts = 0, on_top = 0;
};

// Lines as a newer client's room takes them with no zq7.ini: bold word
// starts behind the markup with nothing filled in.
inline std::vector<std::string> InRoom(std::vector<std::string> lines) {
  for (std::string& line : lines) line = "</html><font face=\"arial\" color=#><font color=#>" + BoldWordStarts(line);
  return lines;
}

}  // namespace wendrel::testing
