// Posts LINES lines of LENGTH characters with the program's own SendChat
// and the real platform layer into the simulated client that is running
// (which may cut what is set into its box), over a draft of DRAFT letters
// set into the box first. Prints what the client's transcript recorded
// (lines taken, sets per line), the time and the processor time the
// posting took, and how much of the draft came back.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "automation/chat_sender.h"
#include "automation/client_contract.h"
#include "automation/discovery.h"
#include "automation/platform_win32.h"

namespace {

// Records of the transcript with this tag.
int CountRecords(const char* path, const std::string& tag) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  int n = 0;
  while (std::getline(in, line)) n += line.compare(0, tag.size() + 1, tag + "\t") == 0;
  return n;
}

double CpuMs() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  const auto ms = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e4;
  };
  return ms(kernel) + ms(user);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fputs("usage: cut_bench TRANSCRIPT LINES LENGTH DRAFT\n", stderr);
    return 2;
  }
  const char* transcript = argv[1];
  const int count = std::atoi(argv[2]);
  const std::size_t length = std::strtoul(argv[3], nullptr, 10);
  const std::size_t draft_length = std::strtoul(argv[4], nullptr, 10);
  wendrel::Win32Platform platform;
  wendrel::ChatSession chat;

  const wendrel::Hwnd room = wendrel::FindChatRoom(platform);
  const wendrel::Hwnd view = wendrel::FindChild(platform, room, wendrel::kRichTextClass);
  wendrel::Hwnd input =
      view ? wendrel::FindChild(platform, room, wendrel::kRichTextClass, nullptr, view) : 0;
  if (!input) input = wendrel::FindChild(platform, room, wendrel::kOldEditClass);
  if (!input) {
    std::fputs("no room's input box\n", stderr);
    return 1;
  }
  // The user's text is what the box holds of it: a client that cuts what is
  // set cuts it too.
  platform.SetText(input, std::string(draft_length, 'd'));
  const std::string draft = wendrel::ReadText(platform, input, draft_length).value_or("");
  const int sets_before = CountRecords(transcript, "set");
  const int chat_before = CountRecords(transcript, "chat");

  const double cpu_start = CpuMs();
  const DWORD start = GetTickCount();
  for (int i = 1; i <= count; ++i) {
    std::string line = "bench line " + std::to_string(i) + " ";
    line.resize(std::max(length, line.size()), 'x');
    wendrel::SendChat(platform, chat, line);
  }
  const DWORD took = GetTickCount() - start;
  const double cpu = CpuMs() - cpu_start;

  const std::string back = wendrel::ReadText(platform, input, draft.size()).value_or("");
  const int sets = CountRecords(transcript, "set") - sets_before;
  std::printf(
      "lines %d taken %d given-up %u sets %d sets/line %.1f ms/line %.1f cpu-ms %.0f draft %zu "
      "back %zu whole %s\n",
      count, CountRecords(transcript, "chat") - chat_before, chat.given_up, sets,
      static_cast<double>(sets) / count, static_cast<double>(took) / count, cpu, draft.size(),
      back.size(), back == draft ? "yes" : "no");
  return 0;
}
