// Fuzzes loading Forms.dat from arbitrary bytes of any length. Checks what a load guarantees:
// every entry is its record without the trailing padding, and a save after the load keeps every
// readable byte (the input padded with blanks to 12,000 bytes, each record's padding written as
// blanks, everything beyond kept).
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
  std::fprintf(stderr, "entry_file_fuzz: violated: %s\n", what);
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tw::test::TempFolder folder;  // one folder for the whole run
  const std::string input(reinterpret_cast<const char*>(data), size);
  const auto path = folder.File("Forms.dat").wstring();
  tw::test::WriteFile(path, input);
  CheckEntries(path, input);
  return 0;
}
