// Forms.dat: 60 records of 200 bytes, one per slot, with no header and no separators; a record is
// the entry's text in the ANSI code page, left-aligned and padded with spaces (0x20). A complete
// file is 12,000 bytes. Slot s lies on page s / 15 at row s % 15.
#pragma once

#include <array>
#include <string>

#include "store/binary_file.h"

namespace tw::store {

inline constexpr int kSlotCount = 60;
inline constexpr int kSlotsPerPage = 15;
inline constexpr int kPageCount = 4;
inline constexpr std::size_t kEntryRecordSize = 200;
inline constexpr std::size_t kEntryFileSize = kSlotCount * kEntryRecordSize;
inline constexpr wchar_t kEntryFileName[] = L"Forms.dat";

using EntryTexts = std::array<std::string, kSlotCount>;

// The text padded with spaces to a record (a longer text is cut at 200 bytes).
std::string PadEntryRecord(const std::string& text);
// The record with its trailing padding removed: blanks (0x20) and NUL bytes. An entry never ends
// in a NUL.
std::string TrimEntryRecord(const std::string& record);

// Reads the 60 entries. An empty file is first filled with 60 blank records. A shorter file is
// read as far as it goes: a partial record and missing records read as blanks, and the file is
// left as it is.
EntryTexts ReadEntries(BinaryFile& file);
// Writes all 60 records at the position of a file just opened, its first byte; bytes beyond the
// 12,000th are left as they are.
void WriteEntries(BinaryFile& file, const EntryTexts& texts);
// Writes the record of one slot at offset slot * 200. A file that ends before that offset is
// first completed with blanks up to it.
void WriteEntryRecord(BinaryFile& file, int slot, const std::string& text);

}  // namespace tw::store
