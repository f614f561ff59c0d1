#pragma once
// The graph screen's view window taken from the emulator memory's window
// values (the real parts of Xmin, Xmax, Ymin, Ymax), as ViewWindow and
// RclV-Win leave them. The screen is made before the interpreter that owns
// the memory, so the memory is bound once both exist.

#include "emulator/graph_coordinates.h"
#include "interpreter/emulator_memory.h"

namespace korvane {

class WindowGraphRange final : public GraphRangeSource {
 public:
  void Bind(const EmulatorMemory& memory) { memory_ = &memory; }
  GraphRange CurrentGraphRange() const override {
    if (memory_ == nullptr) return {};
    const WindowValues& w = memory_->Window();
    return GraphRange{w[XMIN].real, w[XMAX].real, w[YMIN].real, w[YMAX].real};
  }

 private:
  const EmulatorMemory* memory_ = nullptr;
};

}  // namespace korvane
