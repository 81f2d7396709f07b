// The shell: which program opens a file of a type, and starting a program. src/win32 implements
// it; tests use a fake.
#pragma once

#include <optional>
#include <string>

namespace tw::services {

class Shell {
 public:
  virtual ~Shell() = default;
  // The program registered for opening the file (a name in the folder), or nothing when no
  // program is registered or the lookup fails.
  virtual std::optional<std::wstring> FindExecutable(const std::wstring& fileName,
                                                     const std::wstring& folder) = 0;
  // Starts a program with a command line, shown normally.
  virtual void StartProgram(const std::wstring& commandLine) = 0;
};

}  // namespace tw::services
