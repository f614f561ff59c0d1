#pragma once
// The "?" of a program: asks for a whole number on the text screen. The prompt
// follows a string printed earlier in the same statement when that ended
// before column 21, else it stands at column 1 of a new line; the digits are
// typed on the line below it with a blinking cursor until EXE.

#include "interpreter/run_host.h"
#include "interpreter/run_screen.h"
#include "interpreter/value.h"

namespace korvane {

// The number typed (negative after the (-) or − key), as a real value; what
// was typed so far when the emulator stops meanwhile.
Value ReadNumberInput(RunScreen& screen, RunHost& host);

}  // namespace korvane
