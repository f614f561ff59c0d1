#pragma once
// The full-screen display library, loaded by its file name from the program's
// library directory (ProgramDirectory::LibraryFile: beside the executable in
// the build tree, lib/korvane/ when installed) the first time full screen is
// asked for, and kept loaded for the rest of the run (it holds the display
// object between its two calls).

#include <string>

#include "settings/message_sink.h"

namespace korvane {

inline constexpr const char* FULL_SCREEN_LIBRARY_FILE = "libplenview.so";
// "The full-screen display library could not be loaded ..." / "... is incomplete ..."
inline constexpr int MSG_FULL_SCREEN_LIBRARY_MISSING = 52;
inline constexpr int MSG_FULL_SCREEN_LIBRARY_INCOMPLETE = 53;

// What FSDLLCreate reports: the layout the display runs in.
enum FullScreenMode : int { FULL_SCREEN_OFF = 0, FULL_SCREEN_320X240 = 1, FULL_SCREEN_640X480 = 2 };

class FullScreenLibrary {
 public:
  FullScreenLibrary() = default;
  // Gives the display back when it is still held. The library itself is not
  // unloaded: it may have left objects with the window system.
  ~FullScreenLibrary();
  FullScreenLibrary(const FullScreenLibrary&) = delete;
  FullScreenLibrary& operator=(const FullScreenLibrary&) = delete;

  // Loads the library at `path` and takes its two exports, unless that was
  // done already. A library that cannot be loaded shows message 52, one
  // without both exports message 53; both leave nothing loaded, so a later
  // call tries again.
  [[nodiscard]] bool Load(const std::string& path, MessageSink& messages);
  bool Loaded() const { return create_ != nullptr; }

  // FSDLLCreate with the window handle the library understands; FULL_SCREEN_OFF
  // when nothing is loaded or the library fails.
  int Create(void* window);
  // FSDLLDestroy; nothing when nothing is loaded.
  void Destroy();

 private:
  using CreateFunction = int (*)(void*);
  using DestroyFunction = void (*)();

  void* handle_ = nullptr;
  CreateFunction create_ = nullptr;
  DestroyFunction destroy_ = nullptr;
  bool held_ = false;
};

}  // namespace korvane
