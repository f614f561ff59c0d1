#pragma once
// One link protocol as the link thread drives it: the idle text while
// listening, and what to do with the first byte that arrived.

#include <cstdint>

#include "link/link_session.h"

namespace korvane {

class LinkProtocolSteps {
 public:
  virtual ~LinkProtocolSteps() = default;
  virtual int IdleTextId() const = 0;
  // The long time-out when listening (38400 baud reads everything so).
  virtual ReadWait ListenWait() const = 0;
  // Runs the exchange the first byte starts, if any, up to its end or its
  // first failure; then the thread listens again.
  virtual void OnFirstByte(LinkSession& session, std::uint8_t byte) = 0;
};

class Link9600Steps : public LinkProtocolSteps {
 public:
  int IdleTextId() const override;
  ReadWait ListenWait() const override { return ReadWait::Short; }
  void OnFirstByte(LinkSession& session, std::uint8_t byte) override;
};

class Link38400Steps : public LinkProtocolSteps {
 public:
  int IdleTextId() const override;
  ReadWait ListenWait() const override { return ReadWait::Long; }
  void OnFirstByte(LinkSession& session, std::uint8_t byte) override;
};

// The calculator's receive and send exchanges, each from its first byte on.
ExchangeReport Receive9600(LinkSession& session);
ExchangeReport Send9600(LinkSession& session);
ExchangeReport Receive38400(LinkSession& session);
ExchangeReport Send38400(LinkSession& session);

}  // namespace korvane
