#pragma once
// Which of the three screens the display shows, and whether the last change
// of it went from the graph screen to the text screen (the display then
// copies only the text screen's top 56 pixel rows once).

namespace korvane {

enum class ScreenKind : int { Graph = 1, Text = 2, Matrix = 3 };

class CurrentScreen {
 public:
  ScreenKind Kind() const { return kind_; }
  bool JustSwitched() const { return justSwitched_; }

  // Every setting decides the flag anew, even one that keeps the same screen.
  void Set(ScreenKind kind) {
    justSwitched_ = kind_ == ScreenKind::Graph && kind == ScreenKind::Text;
    kind_ = kind;
  }

 private:
  ScreenKind kind_ = ScreenKind::Text;
  bool justSwitched_ = false;
};

}  // namespace korvane
