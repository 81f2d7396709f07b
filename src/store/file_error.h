// The error of a file operation: which file (its full path), and the system's reason in the
// user's language.
#pragma once

#include <exception>
#include <string>

namespace tw::store {

class FileError : public std::exception {
 public:
  FileError(std::wstring path, std::wstring reason)
      : path_(std::move(path)), reason_(std::move(reason)) {}
  const char* what() const noexcept override { return "a file cannot be used"; }
  const std::wstring& Path() const { return path_; }
  const std::wstring& Reason() const { return reason_; }

 private:
  std::wstring path_;
  std::wstring reason_;
};

}  // namespace tw::store
