#include "fullscreen/plenview.h"

#include <QWindow>
#include <memory>
#include <new>

#include "fullscreen/full_screen_display.h"

namespace {

// The library's one display object: the C exports carry no handle.
std::unique_ptr<korvane::FullScreenDisplay> g_display;

constexpr int kLayoutWidth = 320;
constexpr int kLayoutHeight = 240;
constexpr int kLayoutBits = 16;

}  // namespace

extern "C" int FSDLLCreate(void* window) {
  // A second create gives back what the first one took before taking anew.
  g_display.reset();
  g_display.reset(new (std::nothrow) korvane::FullScreenDisplay);
  if (!g_display) return 0;
  return g_display->InitDisplay(static_cast<QWindow*>(window), kLayoutWidth, kLayoutHeight, kLayoutBits) ? 1 : 0;
}

extern "C" void FSDLLDestroy(void) {
  if (!g_display) return;
  g_display->ReleaseAll();
  g_display.reset();
}
