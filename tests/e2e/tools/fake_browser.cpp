// A stand-in web browser for the end-to-end tests: it opens no window and appends its whole
// command line, as the system handed it over, as one line to "browser.log" in its own folder.
// A test registers it as the program for ".htm" files and reads the log.
#include <windows.h>

#include <string>

int main() {
  char exe[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  std::string log(exe, length);
  log.erase(log.find_last_of('\\') + 1);
  log += "browser.log";

  const HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::string line = std::string(GetCommandLineA()) + "\n";
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size() ? 0 : 1;
}
