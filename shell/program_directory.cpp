#include "shell/program_directory.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace korvane {
namespace {

namespace fs = std::filesystem;

// The file whose presence marks a directory as holding the program's files.
constexpr const char* kDataMarker = "tokens.ptt";

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  return std::string(value);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

// "bin/../share/korvane/" as "share/korvane/".
std::string Normal(const std::string& dir) { return WithTrailingSlash(fs::path(dir).lexically_normal().string()); }

// $XDG_DATA_HOME/korvane/, or ~/.local/share/korvane/; a relative XDG_DATA_HOME
// is not valid and is passed over.
std::optional<std::string> UserDataDirectory(const DirectoryEnvironment& env) {
  if (env.xdgDataHome && fs::path(*env.xdgDataHome).is_absolute()) return Normal(*env.xdgDataHome + "/korvane/");
  if (env.userHome && !env.userHome->empty()) return Normal(*env.userHome + "/.local/share/korvane/");
  return std::nullopt;
}

}  // namespace

std::string WithTrailingSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string ExecutableDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "./";
  return WithTrailingSlash(exe.parent_path().string());
}

DirectoryEnvironment DirectoryEnvironment::OfThisProcess() {
  DirectoryEnvironment env;
  env.executableDir = ExecutableDirectory();
  env.korvaneHome = Variable("KORVANE_HOME");
  env.xdgDataHome = Variable("XDG_DATA_HOME");
  env.userHome = Variable("HOME");
  if (!env.userHome) {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) env.userHome = pw->pw_dir;
  }
  return env;
}

InstalledLayout InstalledLayout::OfThisBuild() {
#if defined(KORVANE_INSTALLED_DATA_DIR) && defined(KORVANE_INSTALLED_LIBRARY_DIR)
  return {WithTrailingSlash(KORVANE_INSTALLED_DATA_DIR), WithTrailingSlash(KORVANE_INSTALLED_LIBRARY_DIR)};
#else
  return {"../share/korvane/", "../lib/korvane/"};
#endif
}

ProgramDirectory::ProgramDirectory(std::string home, std::string executableDir)
    : home_(WithTrailingSlash(std::move(home))), executableDir_(WithTrailingSlash(std::move(executableDir))) {
  if (home_.empty()) home_ = executableDir_;
  dataDir_ = executableDir_;
  libraryDir_ = executableDir_;
}

ProgramDirectory ProgramDirectory::FromEnvironment(const std::optional<std::string>& override) {
  return Resolve(DirectoryEnvironment::OfThisProcess(), override, InstalledLayout::OfThisBuild());
}

ProgramDirectory ProgramDirectory::Resolve(const DirectoryEnvironment& env, const std::optional<std::string>& override,
                                           const InstalledLayout& layout) {
  ProgramDirectory dir("", env.executableDir);
  const std::string installedData = Normal(dir.executableDir_ + layout.dataDir);
  // The build tree (or a copy of it) has the data files beside the executable.
  if (!Exists(dir.executableDir_ + kDataMarker) && Exists(installedData + kDataMarker)) {
    dir.installed_ = true;
    dir.dataDir_ = installedData;
    dir.libraryDir_ = Normal(dir.executableDir_ + layout.libraryDir);
  }
  if (override && !override->empty()) {
    dir.home_ = WithTrailingSlash(*override);
  } else if (env.korvaneHome) {
    dir.home_ = WithTrailingSlash(*env.korvaneHome);
  } else if (dir.installed_) {
    // Without a home directory at all, the user's files stay beside the executable.
    if (const auto userData = UserDataDirectory(env)) {
      dir.home_ = *userData;
      dir.homeMadeOnFirstStart_ = true;
    }
  }
  return dir;
}

std::string ProgramDirectory::ProgramFile(const std::string& relative) const {
  std::string trimmed = relative;
  while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
  if (home_ != dataDir_ && Exists(home_ + trimmed)) return home_ + relative;
  return dataDir_ + relative;
}

bool ProgramDirectory::MakeHome() const {
  if (!homeMadeOnFirstStart_) return true;
  std::error_code ec;
  const fs::path home(home_);
  if (fs::is_directory(home, ec)) return true;
  // The directories that are missing are the user's alone, as the XDG rules ask.
  fs::path made;
  for (const fs::path& part : home) {
    made /= part;
    if (made.empty() || part.empty() || fs::is_directory(made, ec)) continue;
    if (!fs::create_directory(made, ec)) return false;
    fs::permissions(made, fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  return fs::is_directory(home, ec);
}

}  // namespace korvane
