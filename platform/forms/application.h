#pragma once
// The thread's message loop. Everything runs on one thread; sources of messages (such as a
// browser engine) register here, and their queued messages are handled only when the thread
// processes its messages.
#include <chrono>
#include <vector>

namespace Forms {

class MessageSource {
 public:
  virtual ~MessageSource() = default;
  // Handles the messages that were waiting when it was called; returns whether it handled any.
  // May be called again from inside one of the handlers it runs.
  virtual bool DispatchPending() = 0;
  // Takes in whatever has arrived, without blocking and without handling it.
  virtual void Poll() = 0;
  // A file descriptor that becomes readable when messages arrive, or -1.
  virtual int WaitHandle() const = 0;
};

class Application {
 public:
  // Processes every pending message of the thread.
  static void DoEvents();
  // Blocks until a source has something to read or the time is up.
  static void WaitForMessages(std::chrono::milliseconds limit);

  static void AddMessageSource(MessageSource& source);
  static void RemoveMessageSource(MessageSource& source);

 private:
  static std::vector<MessageSource*>& Sources();
};

}  // namespace Forms
