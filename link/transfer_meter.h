#pragma once
// How fast a transfer moves and how long it still takes, from the progress
// positions the link reports, so that a slow transfer is seen to be moving.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/text_lookup.h"

namespace korvane {

class TransferMeter {
 public:
  using Clock = std::chrono::steady_clock;

  // A data block of `total` bytes starts.
  void Start(std::uint32_t total, Clock::time_point now);
  void Update(std::uint32_t position, Clock::time_point now);
  // Bytes per second over the last few seconds; nullopt until half a second
  // of the block has passed.
  std::optional<double> BytesPerSecond() const { return rate_; }
  // Seconds left at that rate; nullopt while the rate is unknown or zero.
  std::optional<std::uint32_t> SecondsLeft() const;
  bool Active() const { return total_ > 0; }

 private:
  std::uint32_t total_ = 0;
  std::uint32_t position_ = 0;
  // The window the rate is taken over: its start and the position there.
  Clock::time_point windowStart_{};
  std::uint32_t windowPosition_ = 0;
  Clock::time_point start_{};
  std::optional<double> rate_;
};

// "873 B/s, 0:11 left", or empty while the rate is unknown.
std::string TransferRateText(const TextLookup& texts, const TransferMeter& meter);
// "873 B", "1.2 KB" and "0:11", "1:02:03": the parts of that text.
std::string ByteCountText(double bytes);
std::string DurationText(std::uint32_t seconds);

}  // namespace korvane
