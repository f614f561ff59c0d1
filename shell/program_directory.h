#pragma once
// Where the program's files lie. The user's own files (settings.xml,
// storage.dat) are in the home directory: the executable's directory, unless
// KORVANE_HOME or korvane-cli's --home names another. The files that go with the
// program (Language/, tokens.ptt, the fonts) are taken from the home directory
// when present there, else from the executable's directory.

#include <optional>
#include <string>

namespace korvane {

class ProgramDirectory {
 public:
  // Both directories end with '/'.
  ProgramDirectory(std::string home, std::string executableDir);

  // The directory of the running executable and KORVANE_HOME, with `override`
  // (from an option) winning over the variable.
  static ProgramDirectory FromEnvironment(const std::optional<std::string>& override = std::nullopt);

  // The directory that holds the user's files, with its trailing '/'.
  const std::string& Home() const { return home_; }
  const std::string& ExecutableDir() const { return executableDir_; }

  // Path of a file (or directory) that goes with the program, e.g. "Language/".
  std::string ProgramFile(const std::string& relative) const;
  // Path of one of the user's own files, e.g. "storage.dat".
  std::string UserFile(const std::string& relative) const { return home_ + relative; }

 private:
  std::string home_;
  std::string executableDir_;
};

// Adds the trailing '/' when it is missing; an empty text stays empty.
std::string WithTrailingSlash(std::string dir);

// The directory of the running executable, with its trailing '/'.
std::string ExecutableDirectory();

}  // namespace korvane
