// Shared pieces of the unit tests: a temporary program folder, whole-file reads and writes, the
// recording services fake with a few hooks, and the program started by app::Main over them and
// a headless backend.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/app.h"
#include "forms/headless_backend.h"
#include "forms/toolkit.h"
#include "platform/recording_window_system.h"
#include "store/settings_file.h"

namespace tw::test {

namespace fs = std::filesystem;

// A fresh folder with a blank in its name, removed with everything in it at the end.
class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    do path_ = fs::temp_directory_path() / ("typewell test-" + std::to_string(rd()));
    while (!fs::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ec;
    // Read-only files left by a test must not stop the clean-up.
    for (auto& entry : fs::recursive_directory_iterator(path_, ec))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  // The folder with a trailing separator, as the program keeps its own folder.
  std::string withSeparator() const {
    return path_.string() + static_cast<char>(fs::path::preferred_separator);
  }
  std::string file(const std::string& name) const { return withSeparator() + name; }

 private:
  fs::path path_;
};

// The bytes of a file; "" for none, a folder or a device.
inline std::string ReadFile(const std::string& path) {
  if (!fs::is_regular_file(path)) return "";
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Makes path unusable as a file: a folder of that name stands in its place.
inline void BlockFile(const std::string& path) {
  fs::remove(path);
  fs::create_directory(path);
}

// Makes every write to path fail while opening it still works: natively a link to /dev/full
// (a short write, the disk full); on Windows a folder in its place.
inline void FailWrites(const std::string& path) {
  fs::remove(path);
#ifdef _WIN32
  fs::create_directory(path);
#else
  fs::create_symlink("/dev/full", path);
#endif
}

// The numbers separated by blanks.
inline std::string Numbers(std::initializer_list<long long> numbers) {
  std::string out;
  for (long long n : numbers) out += (out.empty() ? "" : " ") + std::to_string(n);
  return out;
}

// The 12 bytes of a settings record as the file holds them.
inline std::string SettingsBytes(const store::SettingsRecord& r) {
  const store::SettingsBytes b = store::EncodeSettings(r);
  return std::string(b.begin(), b.end());
}

// bytes with the 200-byte record of slot replaced by text padded with blanks.
inline std::string WithEntry(std::string bytes, int slot, const std::string& text) {
  return bytes.replace(slot * 200, 200, text + std::string(200 - text.size(), ' '));
}

// A complete Forms.dat with the given texts in the given slots.
inline std::string EntryFileWith(std::initializer_list<std::pair<int, std::string>> slots) {
  std::string bytes(12000, ' ');
  for (const auto& [slot, text] : slots) bytes = WithEntry(bytes, slot, text);
  return bytes;
}

// The recording fake, with a look at each topmost request and each report.
struct Services : platform::RecordingWindowSystem {
  std::function<void()> onTopmost, onReport;

  void setWindowTopmost(platform::WindowHandle w, const platform::PixelRect& r) override {
    RecordingWindowSystem::setWindowTopmost(w, r);
    if (onTopmost) onTopmost();
  }
  void reportError(const std::string& message, platform::WindowHandle owner) override {
    RecordingWindowSystem::reportError(message, owner);
    if (onReport) onReport();
  }
};

// The program's services and folder; start() runs the start-up as Typewell.exe in that folder.
struct Program {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  Services windows;
  TempFolder folder;
  std::unique_ptr<core::App> app;
  std::vector<int> exits;

  // Forms.dat and Typewell.ini are written unless empty.
  explicit Program(const std::string& entries = "", const std::string& settings = "") {
    windows.exePath = folder.file("Typewell.exe");
    if (!entries.empty()) WriteFile(entryFile(), entries);
    if (!settings.empty()) WriteFile(settingsFile(), settings);
  }
  std::optional<int> start() {
    return app::Main(
        toolkit, windows, [this](int code) { exits.push_back(code); }, app);
  }
  std::string entryFile() const { return folder.file("Forms.dat"); }
  std::string settingsFile() const { return folder.file("Typewell.ini"); }
};

// The program started with the given Forms.dat and Typewell.ini (empty: none), its window on
// show, and the records of the start-up cleared.
struct Running : Program {
  explicit Running(const std::string& entries = "", const std::string& settings = "")
      : Program(entries, settings),
        main(start() ? throw std::logic_error("the program did not start") : app->main),
        input(main.form) {
    windows.calls.clear();
    backend.log.clear();
  }
  core::MainWindow& main;
  forms::HeadlessInput input;
};

}  // namespace tw::test
