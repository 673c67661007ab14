// The one owner of the connection to the client.
//
// Every line and every room entry is handed over as a job; the link runs
// each job to its end before it takes the next, in the order handed over,
// with one connection and one ChatSession for all. So lines never mix in
// the input box, none runs inside another's wait, and the user's draft has
// one keeper. The main window's thread only hands work over: it never
// waits on the client.
#pragma once

#include <functional>

#include "automation/chat_session.h"
#include "automation/platform.h"

namespace wendrel {

class ClientLink {
 public:
  using Job = std::function<void(Platform&, ChatSession&)>;

  virtual ~ClientLink() = default;
  // Queues `job` and returns at once. Ignored once the link is closed.
  virtual void Hand(Job job) = 0;
  // The same for a room entry, which is also ignored while another one
  // waits its turn or is under way: that one posts its own outcome, and a
  // second press of "Enter PR" meanwhile is the same wish again.
  virtual void HandRoomEntry(Job job) = 0;
  // `notice` runs once, on the link's own thread, the first time Windows
  // refuses to let a line into the client. Set before any work is handed
  // over.
  virtual void SetDeniedNotice(std::function<void()> notice) = 0;
  // Waits until the work handed over so far is done, at most `ms`; true
  // when it is. Meanwhile the calling thread answers what is sent to its
  // windows, and handles nothing posted to them.
  virtual bool Flush(unsigned ms) = 0;
  // The program is ending: the work handed over still runs, with closing
  // bounds that fit in `ms`, and nothing more is taken. Returns once it is
  // done or `ms` have passed, waiting as Flush does; true when it is done.
  virtual bool Close(unsigned ms) = 0;
};

}  // namespace wendrel
