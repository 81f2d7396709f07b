// Messages to the user: an error, and the question at the close when a change cannot be saved,
// each a message box owned by Typewell's window that is active (and so running a message loop of
// its own until the user answers); and a notice that needs no answer: a short sound and a screen
// reader's announcement, with no box in the way. src/win32 implements it; tests use a fake.
#pragma once

#include <string>

namespace tw::services {

enum class CloseAnswer { Retry, CloseWithoutSaving, Cancel };

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Report(const std::wstring& message) = 0;
  // The question when a change cannot be saved as Typewell closes: try again, close and lose the
  // change, or stay open.
  [[nodiscard]] virtual CloseAnswer AskAtClose(const std::wstring& message) = 0;
  virtual void Notify(const std::wstring& message) = 0;
};

}  // namespace tw::services
