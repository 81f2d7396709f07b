#include "win32/startup_trace.h"

#include <cstdio>

#include "win32/scoped_handles.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kVariable[] = L"TYPEWELL_STARTUP_TRACE";

double FileTimeMs(const FILETIME& t) {
  const ULARGE_INTEGER value{{t.dwLowDateTime, t.dwHighDateTime}};
  return static_cast<double>(value.QuadPart) / 10000.0;  // 100 ns units
}

// Milliseconds since this process was created.
double SinceProcessCreated() {
  FILETIME created, exited, kernel, user, now;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
  GetSystemTimeAsFileTime(&now);
  return FileTimeMs(now) - FileTimeMs(created);
}

}  // namespace

StartupTrace::StartupTrace() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(kVariable, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) path_.assign(path, length);
}

void StartupTrace::Mark(const char* step) {
  if (Enabled()) steps_.emplace_back(step, SinceProcessCreated());
}

void StartupTrace::Write() {
  if (!Enabled() || steps_.empty()) return;
  HANDLE opened = CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return;
  const ScopedHandle file(opened);
  std::string text;
  for (const auto& [step, ms] : steps_) {
    char line[96];
    std::snprintf(line, sizeof line, "startup_step %s %.1f\r\n", step, ms);
    text += line;
  }
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  steps_.clear();
}

}  // namespace tw::win32
