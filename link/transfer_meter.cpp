#include "link/transfer_meter.h"

#include <cmath>
#include <cstdio>

#include "link/link_messages.h"

namespace korvane {
namespace {

// The rate follows the last few seconds, so that a pause shows.
constexpr std::chrono::milliseconds kWindow{3000};
constexpr std::chrono::milliseconds kFirstRate{500};

}  // namespace

void TransferMeter::Start(std::uint32_t total, Clock::time_point now) {
  total_ = total;
  position_ = 0;
  start_ = windowStart_ = now;
  windowPosition_ = 0;
  rate_.reset();
}

void TransferMeter::Update(std::uint32_t position, Clock::time_point now) {
  if (total_ == 0) return;
  position_ = position;
  const auto elapsed = now - windowStart_;
  if (now - start_ < kFirstRate || elapsed <= Clock::duration::zero()) return;
  const double seconds = std::chrono::duration<double>(elapsed).count();
  rate_ = position_ >= windowPosition_ ? (position_ - windowPosition_) / seconds : 0.0;
  if (elapsed >= kWindow) {
    // Start the next window halfway, so that the rate moves smoothly.
    windowStart_ = now - kWindow / 2;
    windowPosition_ = static_cast<std::uint32_t>(std::max(0.0, position_ - *rate_ * 1.5));
  }
}

std::optional<std::uint32_t> TransferMeter::SecondsLeft() const {
  if (!rate_ || *rate_ <= 0.0) return std::nullopt;
  const std::uint32_t left = total_ > position_ ? total_ - position_ : 0;
  return static_cast<std::uint32_t>(std::ceil(left / *rate_));
}

std::string ByteCountText(double bytes) {
  char text[32];
  if (bytes < 1024) std::snprintf(text, sizeof text, "%.0f B", bytes);
  else if (bytes < 1000 * 1024) std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024);
  else std::snprintf(text, sizeof text, "%.1f MB", bytes / (1024 * 1024));
  return text;
}

std::string DurationText(std::uint32_t seconds) {
  char text[32];
  if (seconds >= 3600)
    std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  else
    std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  return text;
}

std::string TransferRateText(const TextLookup& texts, const TransferMeter& meter) {
  const auto rate = meter.BytesPerSecond();
  if (!rate) return {};
  const auto left = meter.SecondsLeft();
  return OwnTextOf(texts, KorvaneText::LinkRate, {ByteCountText(*rate), left ? DurationText(*left) : std::string("?")});
}

}  // namespace korvane
