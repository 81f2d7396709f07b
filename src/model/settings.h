// The settings record, the one place that holds it while Typewell runs, and Typewell.ini, the
// file that keeps it. Every change marks the record unsaved; only a successful write clears the
// mark. Corrections made while loading (an out-of-range colour) stay in memory until the next
// write, as the file has always had it.
#pragma once

#include <string>

#include "store/settings_file.h"

namespace tw::model {

class Settings {
 public:
  explicit Settings(std::wstring file) : file_(std::move(file)) {}

  const std::wstring& File() const { return file_; }
  const store::SettingsRecord& Record() const { return record_; }
  bool Unsaved() const { return unsaved_; }
  bool Bold() const { return record_.fontChoice == 1; }

  // Reads, counts the start and checks the file (see store::LoadSettings). Throws
  // store::FileError.
  store::SettingsFileState Load(const store::WindowGeometry& geometry,
                                const store::PlaceCheck& onAnyMonitor);
  void SetColourChoice(std::int16_t choice);
  void SetFontChoice(std::int16_t choice);
  // The main window's place in twips at the system's DPI.
  void SetPlace(std::int16_t top, std::int16_t left);
  // Writes the whole record. Throws store::FileError; the record stays unsaved then.
  void Save();

 private:
  std::wstring file_;
  store::SettingsRecord record_;
  bool unsaved_ = false;
};

}  // namespace tw::model
