#pragma once
// The debugger's texts, fixed English for now, in one place so that they can
// move into the language files as a whole.

namespace korvane::debugger_text {

inline constexpr char kContinue[] = "&Continue";
inline constexpr char kStep[] = "&Step";
inline constexpr char kStepInto[] = "Step &Into";
inline constexpr char kStepOut[] = "Step O&ut";
inline constexpr char kPause[] = "&Pause";
inline constexpr char kToolbar[] = "Debugger";
inline constexpr char kWindowTitle[] = "Emulator - Debugger";
inline constexpr char kRunning[] = "Running";
inline constexpr char kPausedAt[] = "Paused at %1, line %2";
inline constexpr char kPausedAtBreakpoint[] = "Breakpoint: %1, line %2";
inline constexpr char kVariables[] = "Variables";
inline constexpr char kWindowValues[] = "View window";
inline constexpr char kLists[] = "Lists (file %1)";
inline constexpr char kMatrices[] = "Matrices";
inline constexpr char kCallStack[] = "Call stack";
inline constexpr char kName[] = "Name";
inline constexpr char kValue[] = "Value";
inline constexpr char kLine[] = "line %1";
inline constexpr char kRows[] = "%1 rows";
inline constexpr char kSize[] = "%1 x %2";
inline constexpr char kNotANumber[] = "\"%1\" is not a number.";
inline constexpr char kEditHint[] = "Double-click a value to change it while the run is paused.";
inline constexpr char kOpenHint[] = "Double-click to open it in the matrix view.";

}  // namespace korvane::debugger_text
