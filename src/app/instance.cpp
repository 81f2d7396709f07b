#include "app/instance.h"

#include <cstdint>
#include <cstdio>

#include "ui/layout.h"

namespace tw::app {

namespace {

// How long a second process waits for the window of a first one that holds the instance lock
// but has not shown its window yet.
constexpr int kInstanceWaitSteps = 50;
constexpr int kInstanceWaitStepMs = 100;

bool FoundAndActivated(services::Desktop& desktop) {
  const services::WindowHandle running = desktop.FindWindowTitled(ui::kMainCaption);
  if (running != 0) desktop.RestoreAndActivate(running);
  return running != 0;
}

}  // namespace

std::wstring ProgramFolderOf(const std::wstring& executablePath) {
  const auto cut = executablePath.find_last_of(L"\\/");
  std::wstring folder = cut == std::wstring::npos ? L"" : executablePath.substr(0, cut + 1);
  if (folder.empty()) folder = L"\\";
  return folder;
}

std::wstring InstanceLockName(const std::wstring& programFolder) {
  // FNV-1a over the two bytes of each of the folder's UTF-16 code units, with ASCII letters
  // folded to lower case.
  std::uint64_t hash = 14695981039346656037ULL;
  const auto add = [&hash](unsigned byte) { hash = (hash ^ byte) * 1099511628211ULL; };
  for (const wchar_t unit : programFolder) {
    auto c = static_cast<unsigned>(unit) & 0xFFFF;
    if (c >= 'A' && c <= 'Z') c = c - 'A' + 'a';
    add(c & 0xFF);
    add(c >> 8);
  }
  wchar_t hex[17];
  std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
  return std::wstring(L"Typewell-") + hex;
}

bool AnotherInstanceRuns(services::Desktop& desktop, const std::wstring& programFolder) {
  if (FoundAndActivated(desktop)) return true;
  if (desktop.AcquireInstanceLock(InstanceLockName(programFolder))) return false;
  for (int step = 0; step < kInstanceWaitSteps; ++step) {
    desktop.Sleep(kInstanceWaitStepMs);
    if (FoundAndActivated(desktop)) break;
  }
  return true;
}

}  // namespace tw::app
