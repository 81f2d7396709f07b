// Shared pieces of the unit tests: a temporary program folder, whole-file reads and writes, and
// an App over a headless backend and a recording services fake.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "app/wiring.h"
#include "core/app.h"
#include "core/entries.h"
#include "forms/headless_backend.h"
#include "forms/toolkit.h"
#include "platform/recording_window_system.h"

namespace tw::test {

class TempFolder {
 public:
  TempFolder() {
    std::random_device rd;
    for (;;) {
      path_ = std::filesystem::temp_directory_path() / ("typewell-test-" + std::to_string(rd()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ec;
    // Read-only files left by a test must not stop the clean-up.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as the program keeps its own folder.
  std::string withSeparator() const {
    return path_.string() + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  std::string file(const std::string& name) const { return withSeparator() + name; }

 private:
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

// Makes path unusable as a file: a folder of that name stands in its place.
inline void BlockFile(const std::string& path) {
  std::filesystem::remove(path);
  std::filesystem::create_directory(path);
}

// The 12 bytes of a settings record as the file holds them.
inline std::string SettingsBytes(const store::SettingsRecord& r) {
  const store::SettingsBytes b = store::EncodeSettings(r);
  return std::string(b.begin(), b.end());
}

// A complete Forms.dat with the given texts in the given slots.
inline std::string EntryFileWith(std::initializer_list<std::pair<int, std::string>> slots) {
  std::string bytes(12000, ' ');
  for (const auto& [slot, text] : slots) bytes.replace(slot * 200, text.size(), text);
  return bytes;
}

// An App over a fresh temporary program folder, a headless backend and a recording fake.
struct TestApp {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  platform::RecordingWindowSystem windows;
  TempFolder folder;
  core::App app{toolkit, windows, folder.withSeparator()};
  forms::HeadlessInput input{app.main.form};

  std::string entryFile() const { return folder.file("Forms.dat"); }
  std::string settingsFile() const { return folder.file("Typewell.ini"); }
};

// The main window wired, loaded with the given Forms.dat, its first page tab marked, and shown.
struct ShownApp : TestApp {
  explicit ShownApp(const std::string& entries) {
    WriteFile(entryFile(), entries);
    app::WireEvents(app);
    main.form.load();
    core::LoadEntries(app);
    main.Page[0]->setSelected(true);
    main.form.show();
  }
  core::MainWindow& main = app.main;
};

}  // namespace tw::test
