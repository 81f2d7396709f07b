// Where start-up time goes, for the benchmark. With the environment variable
// TYPEWELL_STARTUP_TRACE set to a file's path, Typewell notes when each step of its start-up
// ends and, once its window is shown and painted, appends one line per step to that file:
// "startup_step <step> <ms since the process was created>". Without it nothing is noted.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace tw::win32 {

class StartupTrace {
 public:
  StartupTrace();
  StartupTrace(const StartupTrace&) = delete;
  StartupTrace& operator=(const StartupTrace&) = delete;

  bool Enabled() const { return !path_.empty(); }
  // Notes that the step has just ended.
  void Mark(const char* step);
  // Appends the noted steps to the file (once; later calls do nothing).
  void Write();

 private:
  std::wstring path_;
  std::vector<std::pair<const char*, double>> steps_;
};

}  // namespace tw::win32
