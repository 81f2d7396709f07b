// A file of the program opened for reading and writing at byte positions. Every routine opens
// the file it needs, works and closes it before it returns; no file stays open between events.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "store/file_error.h"

namespace tw::store {

class BinaryFile {
 public:
  BinaryFile(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
  BinaryFile(BinaryFile&& other) noexcept;
  BinaryFile& operator=(BinaryFile&&) = delete;
  BinaryFile(const BinaryFile&) = delete;
  ~BinaryFile();

  const std::string& path() const { return path_; }
  std::uint64_t length();
  // Offsets count from 0.
  void seek(std::uint64_t offset);
  // Reads up to size bytes from the current position; returns how many were there.
  std::size_t read(void* data, std::size_t size);
  void write(const void* data, std::size_t size);
  // Flushes and closes; throws FileError if the data could not be written.
  void close();

 private:
  [[noreturn]] void fail() const;
  std::FILE* file_;
  std::string path_;
};

// Clears the attributes of an existing ordinary file, then opens it in byte mode for reading
// and writing at its first byte; a missing file is created empty, an existing one is kept whole.
BinaryFile OpenBinaryFile(const std::string& path);

}  // namespace tw::store
