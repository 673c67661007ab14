// Stand-ins for what the main window's handlers need from outside: the
// settings store and the handle prompt, the main window as idle mode sees
// it, and the services of one run of the program built on them, with the
// program's own posting thread on a clock in the test's hands.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/idle.h"
#include "app/services.h"
#include "automation/client_thread_win32.h"
#include "automation/text_styles.h"
#include "tests/support/support_win32.h"
#include "tests/support/texts.h"

namespace wendrel::testing {

// The program's posting thread, talking to the client through a platform
// whose clock moves only when it rests; zq7.ini is looked for in a folder
// of the link's own, which has none.
struct TestLink {
  explicit TestLink(ChatLimits limits = {})
      : link(ClientThread::Start(
            std::unique_ptr<Platform>(platform = new VirtualClockPlatform(dir.path())), limits)) {}
  // Waits until the work handed over so far is done.
  bool Flush() const { return link->Flush(30000); }
  TempDir dir;
  VirtualClockPlatform* platform;  // the link's own
  std::unique_ptr<ClientThread> link;
};

// The store holds `handle`; the prompt answers from `script`, one answer a
// call, and cancels once it is used up. The clocks are in the test's hands,
// and there is no zq7.ini.
struct TestServices : HandleStore, HandlePrompt {
  TestServices(std::string stored, std::vector<std::string> answers)
      : handle(std::move(stored)), script(std::move(answers)) {}
  std::string Read() override { return handle; }
  void Write(const std::string& h) override { handle = h; }
  std::string Ask(const std::string& text, const std::string& title) override {
    asked.push_back(text + "|" + title);
    return asked.size() <= script.size() ? script[asked.size() - 1] : "";
  }
  void Cancel() override {}

  // A main window closed by the platform leaves its loop's quit message,
  // which must not reach the next test's waits and dialogs.
  ~TestServices() override {
    for (MSG m; PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) continue;
  }
  bool Flush() const { return posting.Flush(); }

  std::string handle;
  std::vector<std::string> script, asked;  // asked: "text|title" of every call
  VirtualEventLoop loop;
  TestLink posting;
  AppServices services{loop, *this, *this, *posting.link};
};

using Counts = std::array<std::string, 3>;  // days, hours, minutes

// Three captions and a timer flag. The timer ticks on the test's event
// loop once a minute from when it was enabled or restarted.
struct CounterPanel : IdlePanel {
  explicit CounterPanel(Counts counts) : captions(std::move(counts)) {}
  std::string CounterText(Counter c) override { return captions[static_cast<int>(c)]; }
  void SetCounterText(Counter c, const std::string& text) override {
    captions[static_cast<int>(c)] = text;
  }
  // Enabling a running timer would start its minute over.
  void EnableTimer(bool on) override {
    restarts += on && timer;
    if (on && !timer) Schedule();
    timer = on;
  }
  bool TimerEnabled() override { return timer; }
  void RestartTimer() override {
    ++restarted;
    Schedule();
  }
  void StayOnTop() override { ++on_top; }
  bool& TickInProgress() override { return ticking; }

  // The timer's ticks run `on_tick` on `loop`, as WM_TIMER would.
  void Tick(VirtualEventLoop& on, std::function<void()> fn) {
    loop = &on;
    on_tick = std::move(fn);
  }
  void Schedule() {
    if (!loop) return;
    const unsigned generation = ++minute;
    loop->After(60000, [this, generation] { Fire(generation); });
  }
  void Fire(unsigned generation) {
    if (generation != minute || !timer) return;
    loop->After(60000, [this, generation] { Fire(generation); });
    on_tick();
  }

  Counts captions;
  bool timer = false, ticking = false;
  int restarts = 0, restarted = 0, on_top = 0;
  VirtualEventLoop* loop = nullptr;
  std::function<void()> on_tick;
  unsigned minute = 0;
};

// Lines as a newer client's room takes them with no zq7.ini: bold word
// starts behind the markup with nothing filled in.
inline std::vector<std::string> InRoom(std::vector<std::string> lines) {
  for (std::string& line : lines) line = kBareMarkup + BoldWordStarts(line);
  return lines;
}

}  // namespace wendrel::testing
