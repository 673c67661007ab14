// The program's ClientLink: a thread of its own that talks to the client.
//
// However long the client takes (a hung client, a stuck input box, a room
// that is slow to open) only this thread waits for it; the window's thread
// hands jobs over and goes on answering the user at once.
#pragma once

#include <memory>

#include "automation/client_link.h"

namespace wendrel {

class ClientThread final : public ClientLink {
 public:
  // Talks to the client through `platform`: the real one in the program,
  // a test's own in the tests. Empty when the thread cannot be started.
  static std::unique_ptr<ClientThread> Start(std::unique_ptr<Platform> platform,
                                             ChatLimits limits = {});
  // Closes the link with a short bound. The thread keeps what it uses
  // alive, so one still finishing a send does no harm.
  ~ClientThread() override;
  ClientThread(const ClientThread&) = delete;
  ClientThread& operator=(const ClientThread&) = delete;

  void Hand(Job job) override;
  void HandRoomEntry(Job job) override;
  void SetDeniedNotice(std::function<void()> notice) override;
  bool Flush(unsigned ms) override;
  bool Close(unsigned ms) override;

  struct State;

 private:
  explicit ClientThread(std::shared_ptr<State> state) : state_(std::move(state)) {}
  void Queue(Job job, bool room_entry);

  std::shared_ptr<State> state_;
};

}  // namespace wendrel
