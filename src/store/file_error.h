// The error of a file operation: which file (its full path), and the system's reason.
#pragma once

#include <stdexcept>
#include <string>

namespace tw::store {

class FileError : public std::runtime_error {
 public:
  FileError(std::wstring path, const std::string& reason)
      : std::runtime_error(reason), path_(std::move(path)) {}
  const std::wstring& Path() const { return path_; }
  std::string Reason() const { return what(); }

 private:
  std::wstring path_;
};

}  // namespace tw::store
