#pragma once
// A fresh directory under the system's temporary directory, removed with its
// contents when the object goes. Tests keep every file they make in one.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvane::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory, with its trailing '/'.
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + name; }

  void WriteFile(const std::string& name, const std::string& bytes) const;
  void WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::vector<std::uint8_t> ReadFile(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace korvane::test
