// The one owner of the connection to the client.
//
// Every line and every room entry is handed over as a job; the link runs
// them in the order handed over, one connection and one ChatSession for
// all, so lines never mix in the input box and the user's draft has one
// keeper. The main window's thread only hands work over: it never waits on
// the client.
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
  // Waits until the work handed over so far is done, at most `ms`; true
  // when it is.
  virtual bool Flush(unsigned ms) = 0;
  // The program is ending: the work handed over still runs, with the short
  // closing bounds, and nothing more is taken. Returns once it is done or
  // `ms` have passed; true when it is done.
  virtual bool Close(unsigned ms) = 0;
};

}  // namespace wendrel
