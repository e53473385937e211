// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

#include "runtime/codepage.h"

namespace suozhi::test {

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "suozhi-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // A file name inside the directory as code-page text.
  Text File(std::string_view utf8Name) const { return cp::FromUtf8((path_ / utf8Name).string()); }

 private:
  std::filesystem::path path_;
};

}  // namespace suozhi::test
