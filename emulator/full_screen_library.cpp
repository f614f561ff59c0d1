#include "emulator/full_screen_library.h"

#include <dlfcn.h>

namespace korvane {

FullScreenLibrary::~FullScreenLibrary() {
  if (held_) Destroy();
}

bool FullScreenLibrary::Load(const std::string& path, MessageSink& messages) {
  if (Loaded()) return true;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    messages.ShowMessage(TextMessage(MSG_FULL_SCREEN_LIBRARY_MISSING));
    return false;
  }
  // dlsym hands back plain addresses; the exports are C functions of these types.
  auto create = reinterpret_cast<CreateFunction>(dlsym(handle, "FSDLLCreate"));
  auto destroy = reinterpret_cast<DestroyFunction>(dlsym(handle, "FSDLLDestroy"));
  if (create == nullptr || destroy == nullptr) {
    dlclose(handle);
    messages.ShowMessage(TextMessage(MSG_FULL_SCREEN_LIBRARY_INCOMPLETE));
    return false;
  }
  handle_ = handle;
  create_ = create;
  destroy_ = destroy;
  return true;
}

int FullScreenLibrary::Create(void* window) {
  if (!Loaded()) return FULL_SCREEN_OFF;
  held_ = true;
  return create_(window);
}

void FullScreenLibrary::Destroy() {
  if (!Loaded()) return;
  held_ = false;
  destroy_();
}

}  // namespace korvane
