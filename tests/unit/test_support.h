// Shared pieces of the unit tests: a temporary program folder, whole-file reads and writes, and
// Typewell built over it with fake services and a fake window.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>

#include "app/app.h"
#include "fakes.h"
#include "store/settings_file.h"

namespace tw::test {

namespace fs = std::filesystem;

// A fresh folder with a blank in its name, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    do path_ = fs::temp_directory_path() / ("typewell test-" + std::to_string(random()));
    while (!fs::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ec;
    // Read-only files left by a test must not stop the clean-up.
    for (const auto& entry : fs::recursive_directory_iterator(path_, ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder with a trailing separator, as Typewell keeps its own folder.
  std::wstring WithSeparator() const { return (path_ / "").wstring(); }
  fs::path File(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

// The bytes of a file; "" for none, a folder or a device.
inline std::string ReadFile(const fs::path& path) {
  if (!fs::is_regular_file(path)) return "";
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Another program holds the file so that it cannot be opened (a folder stands in its place), or
// lets it go again.
inline void Hold(const fs::path& path) {
  fs::remove(path);
  fs::create_directory(path);
}
inline void LetGo(const fs::path& path) {
  fs::remove(path);
}
// Every write to the file fails, though it opens: it stands for a full disk (/dev/full). Under
// Windows, which has none, the file cannot be opened instead.
inline void FillDisk(const fs::path& path) {
#ifdef _WIN32
  Hold(path);
#else
  fs::remove(path);
  fs::create_symlink("/dev/full", path);
#endif
}

// The 12 bytes of a settings record as the file holds them.
inline std::string SettingsBytes(const store::SettingsRecord& r) {
  const store::SettingsBytes b = store::EncodeSettings(r);
  return {b.begin(), b.end()};
}

// bytes with the 200-byte record of slot replaced by text padded with blanks.
inline std::string WithEntry(std::string bytes, int slot, const std::string& text) {
  return bytes.replace(static_cast<std::size_t>(slot) * 200, 200, store::PadEntryRecord(text));
}

// A complete Forms.dat with the given texts in the given slots.
inline std::string EntryRecords(std::initializer_list<std::pair<int, std::string>> slots) {
  std::string bytes(12000, ' ');
  for (const auto& [slot, text] : slots) bytes = WithEntry(bytes, slot, text);
  return bytes;
}

// Typewell in a temporary folder, over fakes; Forms.dat and Typewell.ini are written unless
// empty. Start() runs the start-up as Typewell.exe does.
struct Program {
  explicit Program(const std::string& entries = "", const std::string& settings = "") {
    if (!entries.empty()) WriteFile(EntryFile(), entries);
    if (!settings.empty()) WriteFile(SettingsFile(), settings);
    view.events = &app;
    messages.modalLoop = [this] { view.RunModalLoop(); };
  }
  fs::path EntryFile() const { return folder.File("Forms.dat"); }
  fs::path SettingsFile() const { return folder.File("Typewell.ini"); }
  std::optional<std::wstring> Start() { return app.Start(); }

  TempFolder folder;
  FakeDesktop desktop;
  FakeTyping typing{desktop};
  FakeShell shell;
  FakeMessages messages;
  FakeMainView view;
  app::App app{{desktop, typing, shell, messages}, view, folder.WithSeparator()};
};

// The program started, its window on show.
struct Running : Program {
  explicit Running(const std::string& entries = "", const std::string& settings = "")
      : Program(entries, settings) {
    if (Start()) throw std::logic_error("the program did not start");
    view.minimized = false;
  }
  // The user types into the open edit box.
  void Type(const std::string& text) { view.editText = text; }
  std::string Entries() const { return ReadFile(EntryFile()); }
};

}  // namespace tw::test
