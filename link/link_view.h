#pragma once
// Everything the link shows, as the link thread asks for it. The desktop
// program carries each call over to its user-interface thread; korvane-cli
// writes to standard error; tests record. Calls that wait for the user hand
// over a PendingAnswer, which the view answers when the user has answered.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "link/pending_answer.h"
#include "settings/message_sink.h"
#include "storage/item_types.h"

namespace korvane {

// Answers of the three-way question, as the question dialog gives them; 0
// when it was closed in another way.
inline constexpr int LINK_ANSWER_YES = 1;
inline constexpr int LINK_ANSWER_NO = 7;
inline constexpr int LINK_ANSWER_CANCEL = 2;

// How one exchange with the calculator ended.
struct ExchangeReport {
  enum class Direction { Received, Sent };
  Direction direction = Direction::Received;
  bool completed = false;       // it reached its normal end
  std::vector<ItemId> stored;   // items stored from the calculator, in order
  std::size_t sent = 0;         // items the calculator took
};

class LinkView {
 public:
  virtual ~LinkView() = default;
  // Part 1 of the status bar.
  virtual void ShowLinkStatus(const std::string& text) = 0;
  // The progress bar: the range of a data block when it starts, then positions.
  virtual void ShowProgressRange(std::uint32_t maximum) = 0;
  virtual void ShowProgress(std::uint32_t position) = 0;
  // A message box; `closed` gets any value once the user has closed it.
  virtual void ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) = 0;
  // The three-way question: LINK_ANSWER_YES, _NO, _CANCEL, or 0.
  virtual void AskYesNoCancel(const std::string& text, const std::string& title,
                              std::shared_ptr<PendingAnswer> answer) = 0;
  // The picture-slot dialog (six buttons): 1 to 6, or 0 when it was closed.
  virtual void ChoosePictureSlot(const std::string& itemName, std::shared_ptr<PendingAnswer> slot) = 0;
  // The item tree rebuilt from the store (on the user-interface thread).
  virtual void RebuildTree() = 0;
  // One exchange has ended, whatever its outcome.
  virtual void ExchangeEnded(const ExchangeReport& report) { (void)report; }
};

}  // namespace korvane
