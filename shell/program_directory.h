#pragma once
// Where the program's files lie.
//
// The files that go with the program (Language/, tokens.ptt, the fonts, the
// user guide) lie beside the executable when it runs from its build tree, and
// in share/korvane/ when it is installed; the full-screen library lies beside
// the executable or in the installed library directory. A directory counts as
// holding the program's files when it has the token table.
//
// The user's own files (settings.xml, storage.dat) lie in the home directory:
// --home (korvane-cli) or KORVANE_HOME when given; else beside the executable
// in the build tree, and $XDG_DATA_HOME/korvane (~/.local/share/korvane) when
// installed. The program's files are taken from the home directory when it has
// its own.

#include <optional>
#include <string>

namespace korvane {

// What the directory rules read from the process; tests make their own.
struct DirectoryEnvironment {
  std::string executableDir;               // with its trailing '/'
  std::optional<std::string> korvaneHome;  // KORVANE_HOME
  std::optional<std::string> xdgDataHome;  // XDG_DATA_HOME
  std::optional<std::string> userHome;     // HOME, else the password database's

  static DirectoryEnvironment OfThisProcess();
};

// Where an installation puts its files, relative to the executable's directory.
struct InstalledLayout {
  std::string dataDir;     // e.g. "../share/korvane/"
  std::string libraryDir;  // e.g. "../lib/x86_64-linux-gnu/korvane/"

  // The layout this build installs with.
  static InstalledLayout OfThisBuild();
};

class ProgramDirectory {
 public:
  // A home directory and a directory that holds everything that goes with the
  // program, as in the build tree. An empty home is the executable's directory.
  ProgramDirectory(std::string home, std::string executableDir);

  // The directories of this process, with `override` (from an option) winning
  // over KORVANE_HOME.
  static ProgramDirectory FromEnvironment(const std::optional<std::string>& override = std::nullopt);
  static ProgramDirectory Resolve(const DirectoryEnvironment& environment, const std::optional<std::string>& override,
                                  const InstalledLayout& layout);

  // The directory that holds the user's files, with its trailing '/'.
  const std::string& Home() const { return home_; }
  const std::string& ExecutableDir() const { return executableDir_; }
  // Where the files that go with the program lie.
  const std::string& DataDir() const { return dataDir_; }
  bool Installed() const { return installed_; }
  // Whether Home() is the user's data directory, which the first start makes.
  bool HomeMadeOnFirstStart() const { return homeMadeOnFirstStart_; }

  // Path of a file (or directory) that goes with the program, e.g. "Language/".
  std::string ProgramFile(const std::string& relative) const;
  // Path of one of the user's own files, e.g. "storage.dat".
  std::string UserFile(const std::string& relative) const { return home_ + relative; }
  // Path of a shared library the program loads at run time.
  std::string LibraryFile(const std::string& name) const { return libraryDir_ + name; }

  // Makes the home directory when it is the one made on first start (open to
  // the user alone); false when that fails, which opening the store then
  // reports with the reason.
  bool MakeHome() const;

 private:
  std::string home_;
  std::string executableDir_;
  std::string dataDir_;
  std::string libraryDir_;
  bool installed_ = false;
  bool homeMadeOnFirstStart_ = false;
};

// Adds the trailing '/' when it is missing; an empty text stays empty.
std::string WithTrailingSlash(std::string dir);

// The directory of the running executable, with its trailing '/'.
std::string ExecutableDirectory();

}  // namespace korvane
