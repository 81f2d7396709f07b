#include "store/binary_file.h"

#include <cerrno>
#ifndef _WIN32
#include <filesystem>
#endif
#include <utility>

namespace tw::store {

namespace {

std::FILE* Open(const std::wstring& path, bool create) {
#ifdef _WIN32
  return _wfopen(path.c_str(), create ? L"w+b" : L"r+b");
#else
  return std::fopen(std::filesystem::path(path).c_str(), create ? "w+b" : "r+b");
#endif
}

}  // namespace

BinaryFile::BinaryFile(std::wstring path) : path_(std::move(path)) {
  ResetOrdinaryFileAttributes(path_);
  file_ = Open(path_, false);
  if (file_ == nullptr && errno == ENOENT) file_ = Open(path_, true);
  if (file_ == nullptr) Fail(errno);
}

BinaryFile::~BinaryFile() {
  if (file_ != nullptr) std::fclose(file_);
}

void BinaryFile::Fail(int error) const {
  throw FileError(path_, FileErrorReason(error != 0 ? error : EIO));
}

std::uint64_t BinaryFile::Length() {
  const long here = std::ftell(file_);
  if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) Fail(errno);
  const long end = std::ftell(file_);
  if (end < 0 || std::fseek(file_, here, SEEK_SET) != 0) Fail(errno);
  return static_cast<std::uint64_t>(end);
}

void BinaryFile::Seek(std::uint64_t offset) {
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) Fail(errno);
}

std::size_t BinaryFile::Read(void* data, std::size_t size) {
  const std::size_t got = std::fread(data, 1, size, file_);
  if (std::ferror(file_)) Fail(errno);
  return got;
}

void BinaryFile::Write(const void* data, std::size_t size) {
  if (std::fwrite(data, 1, size, file_) != size) Fail(errno);
}

void BinaryFile::Close() {
  if (std::fclose(std::exchange(file_, nullptr)) != 0) Fail(errno);
}

}  // namespace tw::store
