#pragma once
// The full-screen display library's two plain C exports. The window handle is
// the QWindow of a top-level Qt window (QWidget::windowHandle()), of the same
// Qt the library is loaded into.

#if defined(__GNUC__)
#define PLENVIEW_EXPORT __attribute__((visibility("default")))
#else
#define PLENVIEW_EXPORT
#endif

extern "C" {
// Gives the window full-screen output on its monitor: 1 when it has it (the
// emulator's 320 x 240 layout), 0 on any failure. The display object is kept
// until FSDLLDestroy; a second call first gives back what the first took.
PLENVIEW_EXPORT int FSDLLCreate(void* window);
// Gives the desktop back and forgets the display object; does nothing when
// there is none.
PLENVIEW_EXPORT void FSDLLDestroy(void);
}
