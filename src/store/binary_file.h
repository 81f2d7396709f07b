// A file of the program opened for reading and writing at byte positions. Every routine opens
// the file it needs, works and closes it before it returns; no file stays open between events.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "store/file_error.h"

namespace tw::store {

// Paths are UTF-16 from end to end on Windows, so that a folder named outside the ANSI code page
// works too; the native build stores them in wide strings as well.
//
// What differs between the systems (file_attributes_posix.cpp, src/win32/file_attributes.cpp):
//
// If path names an existing ordinary file (not hidden, not system, not a directory), clears its
// read-only, hidden, system and archive attributes. A hidden or system file keeps them. Called
// first by every opening, it also forgets the system's last file error.
void ResetOrdinaryFileAttributes(const std::wstring& path);
// The system's reason for the last failed file operation of the thread, in the user's language
// (the C library's error number stands in where the system recorded none).
std::wstring FileErrorReason(int error);

class BinaryFile {
 public:
  // Clears the attributes of an existing ordinary file, then opens it in byte mode for reading
  // and writing at its first byte; a missing file is created empty, an existing one is kept
  // whole. Throws FileError.
  explicit BinaryFile(std::wstring path);
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  ~BinaryFile();

  std::uint64_t Length();
  // Offsets count from 0.
  void Seek(std::uint64_t offset);
  // Reads up to size bytes from the current position; returns how many were there. A read is
  // never followed by a write in the same opening (C streams would need a seek in between).
  std::size_t Read(void* data, std::size_t size);
  void Write(const void* data, std::size_t size);
  // Writes out and closes, once; throws FileError if the data could not be written.
  void Close();

 private:
  [[noreturn]] void Fail(int error) const;
  std::wstring path_;
  std::FILE* file_ = nullptr;
};

}  // namespace tw::store
