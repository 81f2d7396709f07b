// Fuzzes loading Forms.dat from arbitrary bytes of any size, then saving it again, through the
// App over the headless backend and the recording services fake. Checks that every caption is a
// record without its trailing padding (at most 200 bytes, never ending in a blank or a NUL), that
// the "Insert" buttons follow the captions, and that a save after the load gives back every byte
// that was readable: the file becomes the input padded with blanks to 12,000 bytes, each
// record's padding written as blanks, and bytes beyond the 12,000th are kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/entries.h"
#include "test_support.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "entry_file_fuzz: violated: %s\n", what);
  std::abort();
}

// The file that a load followed by a save must leave: the input padded with blanks to the full
// 12,000 bytes (an empty input gives 60 blank records), the trailing blanks and NULs of each
// record written as blanks, everything beyond kept.
std::string ExpectedAfterSave(const std::string& input) {
  using tw::store::kEntryFileSize;
  using tw::store::kEntryRecordSize;
  std::string expected = input;
  if (expected.size() < kEntryFileSize) expected.resize(kEntryFileSize, ' ');
  for (std::size_t start = 0; start < kEntryFileSize; start += kEntryRecordSize) {
    std::size_t end = start + kEntryRecordSize;
    while (end > start && (expected[end - 1] == ' ' || expected[end - 1] == '\0')) {
      expected[--end] = ' ';
    }
  }
  return expected;
}

void CheckCaptions(tw::core::App& app, const std::string& padded) {
  for (int s = 0; s < tw::store::kSlotCount; ++s) {
    const std::string& caption = app.main.Names[s]->caption();
    Require(caption.size() <= tw::store::kEntryRecordSize, "a caption holds at most 200 bytes");
    Require(caption.empty() || (caption.back() != ' ' && caption.back() != '\0'),
            "a caption never ends in a blank or a NUL");
    const std::string record =
        padded.substr(s * tw::store::kEntryRecordSize, tw::store::kEntryRecordSize);
    Require(record.compare(0, caption.size(), caption) == 0, "a caption is its record's start");
    Require(record.find_first_not_of(' ', caption.size()) == std::string::npos,
            "only blanks follow the caption in its record");
    Require(app.main.FillBtn[s]->enabled() == !caption.empty(),
            "Insert is enabled exactly when the caption holds text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tw::test::Program t;  // one program folder and window for the whole run
  static tw::core::App app(t.toolkit, t.windows, t.folder.withSeparator());
  const std::string input(reinterpret_cast<const char*>(data), size);
  tw::test::WriteFile(t.entryFile(), input);

  tw::core::LoadEntries(app);
  const std::string afterLoad = tw::test::ReadFile(t.entryFile());
  const std::string expected = ExpectedAfterSave(input);
  // Loading writes only into an empty file; a short file is left as it is until the next save.
  Require(afterLoad == (input.empty() ? expected : input), "loading leaves a non-empty file alone");
  CheckCaptions(app, expected);

  tw::core::SaveEntries(app);
  Require(tw::test::ReadFile(t.entryFile()) == expected,
          "a save after a load keeps every readable byte and everything beyond the records");
  t.backend.log.clear();
  return 0;
}
