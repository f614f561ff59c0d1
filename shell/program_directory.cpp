#include "shell/program_directory.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korvane {

std::string WithTrailingSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string ExecutableDirectory() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "./";
  return WithTrailingSlash(exe.parent_path().string());
}

ProgramDirectory::ProgramDirectory(std::string home, std::string executableDir)
    : home_(WithTrailingSlash(std::move(home))), executableDir_(WithTrailingSlash(std::move(executableDir))) {
  if (home_.empty()) home_ = executableDir_;
}

ProgramDirectory ProgramDirectory::FromEnvironment(const std::optional<std::string>& override) {
  const std::string exeDir = ExecutableDirectory();
  std::string home = exeDir;
  if (override && !override->empty()) {
    home = *override;
  } else if (const char* env = std::getenv("KORVANE_HOME"); env && *env) {
    home = env;
  }
  return ProgramDirectory(home, exeDir);
}

std::string ProgramDirectory::ProgramFile(const std::string& relative) const {
  std::error_code ec;
  std::string trimmed = relative;
  while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
  if (home_ != executableDir_ && std::filesystem::exists(home_ + trimmed, ec)) return home_ + relative;
  return executableDir_ + relative;
}

}  // namespace korvane
