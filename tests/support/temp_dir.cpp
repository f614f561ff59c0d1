#include "support/temp_dir.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

namespace korvane::test {

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "korvane-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
  path_ = templ + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::WriteFile(const std::string& name, const std::string& bytes) const {
  std::filesystem::create_directories(std::filesystem::path(path_ + name).parent_path());
  std::ofstream out(path_ + name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TempDir::WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
  WriteFile(name, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> TempDir::ReadFile(const std::string& name) const {
  std::ifstream in(path_ + name, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace korvane::test
