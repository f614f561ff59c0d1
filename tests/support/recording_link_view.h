#pragma once
// A LinkView for tests: records what the link shows and answers its
// questions from a script, at once, on the link's own thread.

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "link/link_view.h"
#include "support/recording_message_sink.h"

namespace korvane::test {

class RecordingLinkView : public LinkView {
 public:
  void ShowLinkStatus(const std::string& text) override {
    std::lock_guard lock(mutex_);
    if (statuses.empty() || statuses.back() != text) statuses.push_back(text);
    changed_.notify_all();
  }
  void ShowProgressRange(std::uint32_t maximum) override {
    std::lock_guard lock(mutex_);
    ranges.push_back(maximum);
  }
  void ShowProgress(std::uint32_t position) override {
    std::lock_guard lock(mutex_);
    lastProgress = position;
  }
  void ShowLinkMessage(const Message& message, std::shared_ptr<PendingAnswer> closed) override {
    {
      std::lock_guard lock(mutex_);
      messages.push_back(message);
      changed_.notify_all();
    }
    if (!holdMessages) closed->Answer(1);
    else held.push_back(closed);
  }
  void AskYesNoCancel(const std::string& text, const std::string&, std::shared_ptr<PendingAnswer> answer) override {
    int reply = 0;
    {
      std::lock_guard lock(mutex_);
      questions.push_back(text);
      if (!answers.empty()) {
        reply = answers.front();
        answers.pop_front();
      }
    }
    answer->Answer(reply);
  }
  void ChoosePictureSlot(const std::string& name, std::shared_ptr<PendingAnswer> slot) override {
    {
      std::lock_guard lock(mutex_);
      slotQuestions.push_back(name);
    }
    slot->Answer(slotAnswer);
  }
  void RebuildTree() override {
    std::lock_guard lock(mutex_);
    ++rebuilds;
  }
  void ExchangeEnded(const ExchangeReport& report) override {
    std::lock_guard lock(mutex_);
    reports.push_back(report);
    changed_.notify_all();
  }

  // Waits until `count` exchanges have ended; false after `timeoutMs`.
  bool WaitForExchanges(std::size_t count, int timeoutMs = 20000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return reports.size() >= count; });
  }
  // Waits until the status shows `text`.
  bool WaitForStatus(const std::string& text, int timeoutMs = 5000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return !statuses.empty() && statuses.back() == text; });
  }
  // Waits until the status has shown `text` at some time.
  bool WaitForStatusSeen(const std::string& text, int timeoutMs = 5000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return std::find(statuses.begin(), statuses.end(), text) != statuses.end(); });
  }
  void ClearStatuses() {
    std::lock_guard lock(mutex_);
    statuses.clear();
  }
  bool WaitForMessages(std::size_t count, int timeoutMs = 5000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return messages.size() >= count; });
  }
  std::vector<int> MessageIds() const {
    std::lock_guard lock(mutex_);
    std::vector<int> ids;
    for (const auto& m : messages) ids.push_back(m.textId);
    return ids;
  }
  std::vector<std::string> MessageTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.textId >= 0 ? std::to_string(m.textId) : EnglishBody(m));
    return texts;
  }

  std::vector<std::string> statuses;
  std::vector<std::uint32_t> ranges;
  std::uint32_t lastProgress = 0;
  std::vector<Message> messages;
  std::vector<std::string> questions;
  std::deque<int> answers;  // for the three-way question
  int slotAnswer = 0;
  std::vector<std::string> slotQuestions;
  int rebuilds = 0;
  std::vector<ExchangeReport> reports;
  bool holdMessages = false;  // leave message boxes open
  std::vector<std::shared_ptr<PendingAnswer>> held;

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace korvane::test
