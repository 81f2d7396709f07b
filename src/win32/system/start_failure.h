// A window, class or timer that cannot be made: what failed, in our own words, with the system's
// error number, for the message at the start and the debug output.
#pragma once

#include <windows.h>

#include <cstdio>
#include <exception>

namespace tw::win32 {

class StartFailure : public std::exception {
 public:
  // Takes GetLastError() now.
  explicit StartFailure(const char* what) {
    std::snprintf(text_, sizeof text_, "%s (system error %lu)", what, GetLastError());
  }
  const char* what() const noexcept override { return text_; }

 private:
  char text_[160];
};

}  // namespace tw::win32
