#pragma once
// The desktop program's start: settings, languages, the main window and
// splash, the store (whose failure ends the program), the tree, the tray,
// then the event loop.

namespace korvane {

int RunKorvane(int argc, char** argv);

}  // namespace korvane
