#include "store/binary_file.h"

#include <cerrno>
#include <cstring>

#include "platform/file_attributes.h"

namespace tw::store {

namespace {
std::string reasonOf(int error) {
  return error == 0 ? std::string("the file could not be read or written") : std::strerror(error);
}
}  // namespace

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : file_(other.file_), path_(std::move(other.path_)) {
  other.file_ = nullptr;
}

BinaryFile::~BinaryFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void BinaryFile::fail() const {
  throw FileError(path_, reasonOf(errno));
}

std::uint64_t BinaryFile::length() {
  const long here = std::ftell(file_);
  if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) fail();
  const long end = std::ftell(file_);
  if (end < 0 || std::fseek(file_, here, SEEK_SET) != 0) fail();
  return static_cast<std::uint64_t>(end);
}

void BinaryFile::seek(std::uint64_t offset) {
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) fail();
}

std::size_t BinaryFile::read(void* data, std::size_t size) {
  errno = 0;
  const std::size_t got = std::fread(data, 1, size, file_);
  if (got < size && std::ferror(file_)) fail();
  // A read must be followed by a seek before the next write (C streams).
  if (std::fseek(file_, 0, SEEK_CUR) != 0) fail();
  return got;
}

void BinaryFile::write(const void* data, std::size_t size) {
  errno = 0;
  if (std::fwrite(data, 1, size, file_) != size) fail();
}

void BinaryFile::close() {
  if (file_ == nullptr) return;
  std::FILE* f = file_;
  file_ = nullptr;
  errno = 0;
  const bool flushed = std::fflush(f) == 0;
  const int error = errno;
  const bool closed = std::fclose(f) == 0;
  if (!flushed || !closed) throw FileError(path_, reasonOf(error != 0 ? error : errno));
}

BinaryFile OpenBinaryFile(const std::string& path) {
  platform::ResetOrdinaryFileAttributes(path);
  errno = 0;
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  if (f == nullptr && errno == ENOENT) {
    errno = 0;
    f = std::fopen(path.c_str(), "w+b");
  }
  if (f == nullptr) throw FileError(path, reasonOf(errno));
  return BinaryFile(f, path);
}

}  // namespace tw::store
