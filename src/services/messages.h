// Messages to the user: an error, and an error with the choice Retry or Cancel, each a message box
// owned by the main window. src/win32 implements it; tests use a fake.
#pragma once

#include <string>

namespace tw::services {

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Report(const std::wstring& message) = 0;
  // True when the user chose Retry.
  [[nodiscard]] virtual bool AskRetry(const std::wstring& message) = 0;
};

}  // namespace tw::services
