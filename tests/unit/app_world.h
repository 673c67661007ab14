// A desktop with a newest client and an open room, a settings store and a
// scripted input box: what the main window's handlers run against.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "app/services.h"
#include "automation/fake_desktop.h"
#include "automation/text_styles.h"
#include "tests/fake/fake_app.h"

namespace wendrel {

// What the sender puts before every line on a newest client without a
// style-settings file.
inline constexpr char kBareMarkup[] = "</html><font face=\"arial\" color=#><font color=#>";

struct AppWorld {
  explicit AppWorld(const std::string& handle = "", std::vector<std::string> answers = {})
      : store(handle), prompt(std::move(answers)) {}

  // The room's lines with the sender's markup taken off (a line without it
  // is kept whole, so a difference shows).
  std::vector<std::string> Posted() const {
    std::vector<std::string> lines = room.Lines();
    const std::string markup = kBareMarkup;
    for (std::string& line : lines) {
      if (line.compare(0, markup.size(), markup) == 0) line.erase(0, markup.size());
    }
    return lines;
  }

  FakeDesktop desktop;
  FakeClient client = desktop.AddClient("5");
  FakeRoom room = client.AddRoom("Lobby 12");
  FakeWindow buddy_list = desktop.AddBuddyList("owl99's Buddy List");
  FakeHandleStore store;
  ScriptedPrompt prompt;
  AppServices services{desktop, store, prompt};
};

// The lines as Announce hands them on.
inline std::vector<std::string> Bolded(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(BoldWordStarts(line));
  return out;
}

}  // namespace wendrel
