// footprint: the memory and the GDI and USER objects of a running window program, for the
// benchmark.
//   footprint.exe "<window title>"
// Prints one line:
//   private_kb <n> working_set_kb <n> gdi <n> user <n> windows <n> source <windows|wine>
// Private bytes and the object counts come from GetProcessMemoryInfo and GetGuiResources where
// the system implements them ("source windows"). Wine does not (PrivateUsage is 0 and
// GetGuiResources fails with ERROR_CALL_NOT_IMPLEMENTED), so there ("source wine"):
//  - private bytes are the committed private pages of the process (VirtualQueryEx), the same
//    definition as Windows' private bytes;
//  - GDI objects are the live, non-stock entries of the process's GDI handle table, which Wine
//    keeps in the process and publishes in its 64-bit PEB (reached through the GUI thread's TEB);
//  - USER objects are the windows of the process (top-level, child and message-only windows),
//    the USER objects that a program like this one creates and could leak.
// Exit codes: 0 measured, 1 bad arguments, 2 no such window, 3 the process could not be read.
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

#include "bench_support.h"

namespace {

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle) CloseHandle(handle);
  }
};

// The layout that Wine 8 gives each entry of its GDI handle table (24 bytes): the object type
// is the byte at offset 14 (0 for a free entry), bit 7 of the byte at offset 12 marks a stock
// object.
constexpr std::size_t kGdiEntrySize = 24;
constexpr std::size_t kGdiEntries = 0x10000;
constexpr std::size_t kGdiTypeOffset = 14;
constexpr std::size_t kGdiFlagsOffset = 12;
// Where the pointers lie: the 32-bit TEB's GdiBatchCount holds the 64-bit TEB, whose Peb field
// (0x60) points to the 64-bit PEB, whose GdiSharedHandleTable field is at 0xf8. The pointers of
// the 64-bit structures are read whole: their upper halves are zero for a 32-bit process.
#ifndef _WIN64
constexpr std::uintptr_t kTeb32GdiBatchCount = 0xf70;
#endif
constexpr std::uintptr_t kTeb64Peb = 0x60;
constexpr std::uintptr_t kPeb64GdiTable = 0xf8;

struct ThreadBasicInformation {
  LONG exitStatus;
  PVOID tebBaseAddress;
  PVOID clientId[2];
  ULONG_PTR affinityMask;
  LONG priority;
  LONG basePriority;
};

template <typename T>
bool ReadRemote(HANDLE process, std::uintptr_t address, T& value) {
  SIZE_T got = 0;
  return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), &value, sizeof(T), &got) &&
         got == sizeof(T);
}

std::uintptr_t TebOf(DWORD threadId) {
  using Query = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationThread")));
  HandleCloser thread{OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId)};
  if (query == nullptr || thread.handle == nullptr) return 0;
  ThreadBasicInformation info{};
  if (query(thread.handle, 0, &info, sizeof(info), nullptr) != 0) return 0;
  return reinterpret_cast<std::uintptr_t>(info.tebBaseAddress);
}

// Where Wine's GDI handle table of the process lies, or 0 when it cannot be read. A 32-bit
// process reaches its 64-bit TEB through its 32-bit TEB; a 64-bit process (the tools are built
// for the same architecture as the program measured) has the 64-bit TEB itself.
std::uint64_t GdiTableOf(HANDLE process, std::uintptr_t teb) {
  std::uint64_t teb64 = 0, peb64 = 0, table = 0;
#ifdef _WIN64
  teb64 = teb;
#else
  std::uint32_t teb64Low = 0;
  if (teb == 0 || !ReadRemote(process, teb + kTeb32GdiBatchCount, teb64Low)) return 0;
  teb64 = teb64Low;
#endif
  if (teb64 == 0 || !ReadRemote(process, static_cast<std::uintptr_t>(teb64 + kTeb64Peb), peb64) ||
      peb64 == 0 ||
      !ReadRemote(process, static_cast<std::uintptr_t>(peb64 + kPeb64GdiTable), table)) {
    return 0;
  }
  return table;
}

// Live GDI objects in Wine's handle table of the process, or -1 when it cannot be read. With
// byType, also counts them by the type byte of their entry.
long WineGdiObjects(HANDLE process, DWORD guiThreadId, std::map<int, long>* byType) {
  const std::uint64_t table = GdiTableOf(process, TebOf(guiThreadId));
  if (table == 0) return -1;
  std::vector<unsigned char> entries(kGdiEntries * kGdiEntrySize);
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(table)),
                         entries.data(), entries.size(), &got) ||
      got != entries.size()) {
    return -1;
  }
  long live = 0;
  for (std::size_t i = 0; i < kGdiEntries; ++i) {
    const unsigned char* entry = &entries[i * kGdiEntrySize];
    if (entry[kGdiTypeOffset] == 0 || (entry[kGdiFlagsOffset] & 0x80) != 0) continue;
    ++live;
    if (byType) ++(*byType)[entry[kGdiTypeOffset]];
  }
  return live;
}

// Committed private pages of the process, in bytes.
std::uint64_t PrivateCommitted(HANDLE process) {
  std::uint64_t total = 0;
  MEMORY_BASIC_INFORMATION region{};
  std::uintptr_t address = 0;
  while (VirtualQueryEx(process, reinterpret_cast<LPCVOID>(address), &region, sizeof(region)) ==
         sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const std::uintptr_t next =
        reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM param) {
  auto* windows = reinterpret_cast<WindowCount*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == windows->processId) ++windows->count;
  return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param) {
  CountChild(window, param);
  EnumChildWindows(window, CountChild, param);
  return TRUE;
}

long WindowsOf(DWORD processId) {
  WindowCount windows{processId, 0};
  EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&windows));
  for (HWND message = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); message != nullptr;
       message = FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr)) {
    CountTopLevel(message, reinterpret_cast<LPARAM>(&windows));
  }
  return windows.count;
}

// One line "gdi_types <name> <n> ...", in the type numbers of Wine's handle table.
void PrintGdiTypes(const std::map<int, long>& types) {
  const std::map<int, const char*> names{{0x01, "dc"},      {0x04, "region"}, {0x05, "bitmap"},
                                         {0x08, "palette"}, {0x0a, "font"},   {0x10, "brush"},
                                         {0x30, "pen"},     {0x50, "extpen"}};
  std::printf("gdi_types");
  for (const auto& [type, count] : types) {
    const auto name = names.find(type);
    if (name != names.end()) {
      std::printf(" %s %ld", name->second, count);
    } else {
      std::printf(" 0x%02x %ld", type, count);
    }
  }
  std::printf("\n");
}

}  // namespace

int main() {
  const std::vector<std::string> args = tw::bench::Arguments();
  const bool byType = args.size() == 2 && args[1] == "--gdi-types";
  if (args.size() != 1 && !byType) {
    std::fputs("usage: footprint.exe \"<window title>\" [--gdi-types]\n", stderr);
    return 1;
  }
  HWND window = FindWindowA(nullptr, args[0].c_str());
  if (window == nullptr) return 2;
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(window, &processId);
  HandleCloser process{OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)};
  if (process.handle == nullptr) return 3;

  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  if (!GetProcessMemoryInfo(process.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                            sizeof(memory))) {
    return 3;
  }
  const long windows = WindowsOf(processId);
  SetLastError(0);
  long gdi = static_cast<long>(GetGuiResources(process.handle, GR_GDIOBJECTS));
  const bool onWine = gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
  long user = static_cast<long>(GetGuiResources(process.handle, GR_USEROBJECTS));
  std::uint64_t privateBytes = memory.PrivateUsage;
  std::map<int, long> types;
  if (onWine) {
    gdi = WineGdiObjects(process.handle, threadId, byType ? &types : nullptr);
    user = windows;
    privateBytes = PrivateCommitted(process.handle);
  }
  std::printf("private_kb %llu working_set_kb %lu gdi %ld user %ld windows %ld source %s\n",
              static_cast<unsigned long long>(privateBytes / 1024),
              static_cast<unsigned long>(memory.WorkingSetSize / 1024), gdi, user, windows,
              onWine ? "wine" : "windows");
  if (byType) PrintGdiTypes(types);
  return 0;
}
