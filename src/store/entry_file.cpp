#include "store/entry_file.h"

#include <vector>

namespace tw::store {

namespace {

// A file that ends before offset is completed with blanks up to it, so that the records in
// between (and a partial last record) read as blanks rather than as zero bytes.
void PadWithBlanksTo(BinaryFile& file, std::uint64_t offset) {
  const std::uint64_t length = file.Length();
  if (length >= offset) return;
  const std::string blanks(static_cast<std::size_t>(offset - length), ' ');
  file.Seek(length);
  file.Write(blanks.data(), blanks.size());
}

}  // namespace

std::string PadEntryRecord(const std::string& text) {
  std::string record = text.substr(0, kEntryRecordSize);
  record.resize(kEntryRecordSize, ' ');
  return record;
}

std::string TrimEntryRecord(const std::string& record) {
  // NUL bytes at the end are padding too: a record written past the end of a short file by
  // earlier versions left zero bytes in the records it skipped.
  const auto last = record.find_last_not_of(std::string{' ', '\0'});
  return last == std::string::npos ? std::string() : record.substr(0, last + 1);
}

EntryTexts ReadEntries(BinaryFile& file) {
  if (file.Length() == 0) {
    const std::string blanks(kEntryFileSize, ' ');
    file.Write(blanks.data(), blanks.size());
  }
  file.Seek(0);
  std::vector<char> bytes(kEntryFileSize, ' ');
  file.Read(bytes.data(), bytes.size());  // a short file leaves blanks behind its end
  EntryTexts texts;
  for (int s = 0; s < kSlotCount; ++s) {
    const auto* begin = bytes.data() + s * kEntryRecordSize;
    texts[s] = TrimEntryRecord(std::string(begin, begin + kEntryRecordSize));
  }
  return texts;
}

void WriteEntries(BinaryFile& file, const EntryTexts& texts) {
  std::string all;
  all.reserve(kEntryFileSize);
  for (const auto& text : texts) all += PadEntryRecord(text);
  file.Write(all.data(), all.size());
}

void WriteEntryRecord(BinaryFile& file, int slot, const std::string& text) {
  const std::uint64_t offset = static_cast<std::uint64_t>(slot) * kEntryRecordSize;
  PadWithBlanksTo(file, offset);
  const std::string record = PadEntryRecord(text);
  file.Seek(offset);
  file.Write(record.data(), record.size());
}

}  // namespace tw::store
