#include "interpreter/interpreter.h"

#include "interpreter/element_format.h"
#include "text/rgb_image.h"

namespace korvane {

Interpreter::Interpreter(const TokenTable& tokens, RunScreen& screen, RunHost& host, MessageSink& messages)
    : tokens_(tokens),
      screen_(screen),
      host_(host),
      memory_(messages, *this),
      classes_(tokens),
      evaluator_(EvaluatorParts{memory_, programs_, random_, *this, screen, host, messages, classes_}) {}

void Interpreter::RaiseError(RunError error) {
  screen_.PrintAt(ERROR_COLUMN, ERROR_LINE, RunErrorText(error), ColourValue(COLOUR_BLUE), false);
  errorFlag_ = true;
  if (errorListener_ != nullptr) errorListener_->ErrorShown(error);
}

void Interpreter::ResetEmulatorMemory(bool fillListsMatrices) {
  memory_.Reset(fillListsMatrices);
  screen_.ResetScreens();
  errorFlag_ = false;
  host_.ClearCurrentKey();
}

std::string Interpreter::FormatElement(const Element& element) const {
  return korvane::FormatElement(element, tokens_);
}

}  // namespace korvane
