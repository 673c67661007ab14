// Stand-ins for what the main window's handlers need beside the desktop: the
// settings store, the input box and the window's counters and timer.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/idle.h"
#include "app/services.h"

namespace wendrel {

class FakeHandleStore : public HandleStore {
 public:
  explicit FakeHandleStore(std::string handle = "") : handle_(std::move(handle)) {}
  std::string Read() override {
    ++reads;
    return handle_;
  }
  void Write(const std::string& handle) override {
    ++writes;
    handle_ = handle;
  }
  const std::string& handle() const { return handle_; }

  int reads = 0;
  int writes = 0;

 private:
  std::string handle_;
};

// Answers from a script, one per call; with the script used up it cancels.
class ScriptedPrompt : public HandlePrompt {
 public:
  explicit ScriptedPrompt(std::vector<std::string> answers = {})
      : answers_(answers.begin(), answers.end()) {}
  std::string Ask(const std::string& text, const std::string& title) override {
    ++calls;
    last_text = text;
    last_title = title;
    // The box is modal, but the window's other events still run meanwhile.
    if (while_open) {
      const std::function<void()> once = std::move(while_open);
      while_open = nullptr;
      once();
    }
    if (answers_.empty()) return "";
    std::string answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  int calls = 0;
  std::string last_text;
  std::string last_title;
  std::function<void()> while_open;  // runs once, inside the next Ask

 private:
  std::deque<std::string> answers_;
};

// The main window as idle mode sees it: three captions and a timer flag.
class FakeIdleForm : public IdleForm {
 public:
  FakeIdleForm(const std::string& days = "0", const std::string& hours = "0",
               const std::string& minutes = "0") {
    captions_[Counter::kDays] = days;
    captions_[Counter::kHours] = hours;
    captions_[Counter::kMinutes] = minutes;
  }
  std::string CounterText(Counter c) override { return captions_[c]; }
  void SetCounterText(Counter c, const std::string& text) override { captions_[c] = text; }
  void EnableTimer(bool enabled) override {
    // Enabling a running timer would start its minute over.
    if (enabled && timer_) ++countdown_restarts;
    timer_ = enabled;
  }
  bool TimerEnabled() override { return timer_; }
  void StayOnTop() override { ++stay_on_top_calls; }
  bool& TickInProgress() override { return tick_in_progress_; }

  // "days/hours/minutes", as the labels read.
  std::string Counters() {
    return captions_[Counter::kDays] + "/" + captions_[Counter::kHours] + "/" +
           captions_[Counter::kMinutes];
  }
  bool tick_in_progress() const { return tick_in_progress_; }

  int countdown_restarts = 0;
  int stay_on_top_calls = 0;

 private:
  std::map<Counter, std::string> captions_;
  bool timer_ = false;
  bool tick_in_progress_ = false;
};

}  // namespace wendrel
