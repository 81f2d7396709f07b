// Fuzzes loading Forms.dat and Typewell.ini from arbitrary bytes of any length: the first byte
// of an input says which file ('E' entries, anything else settings), the rest is the file.
// Checks what a load guarantees: every entry is its record without the trailing padding, and a
// save after the load keeps every readable byte; a settings record comes out in range, with the
// start counted and the bytes beyond the record kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/entry_book.h"
#include "test_support.h"

namespace {

using tw::store::kEntryFileSize;
using tw::store::kEntryRecordSize;

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "files_fuzz: violated: %s\n", what);
  std::abort();
}

void CheckEntries(const std::wstring& path, const std::string& input) {
  tw::model::EntryBook book(path);
  book.Load();
  Require(tw::test::ReadFile(path) == (input.empty() ? std::string(kEntryFileSize, ' ') : input),
          "loading writes only into an empty file");
  std::string expected = input;
  if (expected.size() < kEntryFileSize) expected.resize(kEntryFileSize, ' ');
  for (int slot = 0; slot < tw::store::kSlotCount; ++slot) {
    const std::string& text = book.Text(slot);
    std::string record = expected.substr(slot * kEntryRecordSize, kEntryRecordSize);
    Require(text.empty() || (text.back() != ' ' && text.back() != '\0'),
            "an entry never ends in a blank or a NUL");
    Require(record.compare(0, text.size(), text) == 0 &&
                record.find_first_not_of(std::string(" \0", 2), text.size()) == std::string::npos,
            "an entry is its record without the padding");
    expected.replace(slot * kEntryRecordSize, kEntryRecordSize, tw::store::PadEntryRecord(text));
  }
  book.Set(0, std::string(book.Text(0)));
  book.Save();
  Require(tw::test::ReadFile(path) == expected, "a save keeps every readable byte");
}

void CheckSettings(const std::wstring& path, const std::string& input) {
  tw::store::SettingsRecord r;
  const tw::store::WindowGeometry screen{19200, 15360, 2886, 6996};
  tw::store::LoadSettings(path, r, screen, [](const auto&) { return true; });
  const auto stored =
      tw::store::DecodeSettings(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  Require(r.colourChoice >= 0 && r.colourChoice <= 3 && (r.fontChoice == 0 || r.fontChoice == 1),
          "colour and font in range");
  Require(r.reserved == stored.reserved || input.empty(), "the reserved word is carried");
  Require(r.startCount == (input.empty()            ? 1
                           : stored.startCount < 20 ? stored.startCount + 1
                                                    : stored.startCount),
          "the start is counted up to 20");
  Require(r.windowTop <= 15360 - 1000 && r.windowLeft <= 19200 - 1000 &&
              (r.windowTop != 0 || r.windowLeft != 0),
          "the place is on the screen and not at 0/0");
  const std::string file = tw::test::ReadFile(path);
  Require(input.size() <= 12 ? file.size() == (input.empty() ? 0 : 12)
                             : file.substr(12) == input.substr(12),
          "the file holds a whole record, and what lies beyond it is kept");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tw::test::TempFolder folder;  // one folder for the whole run
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool entries = data[0] == 'E';
  const auto path = folder.File(entries ? "Forms.dat" : "Typewell.ini").wstring();
  tw::test::WriteFile(path, input);
  entries ? CheckEntries(path, input) : CheckSettings(path, input);
  return 0;
}
