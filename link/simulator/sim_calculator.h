#pragma once
// The calculator's side of both link protocols, as the simulated calculator
// plays it: sending items when asked, receiving what the PC sends, and the
// faults a real calculator or cable shows. Every record the PC sends is held
// against the record rules; a broken rule ends the run with a violation.

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "link/simulator/sim_items.h"
#include "link/simulator/sim_line.h"

namespace korvane::sim {

struct SimOptions {
  LinkProtocol protocol = LinkProtocol::Baud9600;
  std::vector<SimItem> send;         // items to send (the calculator opens with 0x16)
  bool openWith15 = false;           // open with 0x15 instead of 0x16 (9600 baud)
  std::string outDir;                // where received items are written, "" for nowhere
  std::uint8_t existsAnswer = 0x06;  // sending: the answer when the PC reports the item exists
  std::vector<std::string> existing; // receiving: names already held (answered with 0x21)
  bool refuse = false;               // receiving: answer the first header with 0x24
  int corrupt = 0;                   // sending: the Nth record sent gets a wrong checksum
  long stopAfter = -1;               // go silent after this many bytes (sent when sending, else received)
  bool noAnswer = false;             // receiving: never answer the wake-up byte
  std::chrono::milliseconds wait{15000};  // the longest it waits for the PC
};

// How a run ended; the process exits with this value.
enum SimOutcome : int {
  SIM_DONE = 0,
  SIM_USAGE = 2,
  SIM_VIOLATION = 3,  // the PC broke a record rule
  SIM_PC_ENDED = 4,   // the PC ended the exchange (0x2B, 0x22, 0x18, or nothing)
};

class SimCalculator {
 public:
  SimCalculator(SimLine& line, SimOptions options, std::ostream& log);

  // The calculator sends its items.
  SimOutcome Send();
  // The calculator waits for the PC's wake-up byte and receives; with
  // `firstByteRead` the wake-up byte has been taken from the line already.
  SimOutcome Receive(bool firstByteRead = false);

  // Records the PC sent and the calculator kept.
  const std::vector<SimItem>& Received() const { return received_; }

 private:
  SimOutcome Send9600();
  SimOutcome Send38400();
  SimOutcome Receive9600();
  SimOutcome Receive38400();

  // Writes, going silent for good once stopAfter bytes have gone out.
  bool Put(ByteSpan bytes);
  bool PutByte(std::uint8_t b) { return Put(ByteSpan(&b, 1)); }
  // Reads, going silent once stopAfter bytes have come in when receiving.
  std::optional<std::uint8_t> TakeByte();
  SimLine::Received Take(std::size_t count);
  // The next record to send, with its checksum broken when it is the Nth.
  Bytes Record(ByteSpan bytes);
  SimOutcome Violation(const std::string& what);
  SimOutcome Ended(const std::string& what);
  SimOutcome Silent();
  // The PC's bytes of a record at 38400 baud came at least 1 ms apart.
  bool PacedAtOneMs(const SimLine::Received& r) const;
  void Keep(SimItem item);
  bool ExpectAck(const std::string& after);

  SimLine& line_;
  SimOptions options_;
  std::ostream& log_;
  int recordsSent_ = 0;
  bool receiving_ = false;
  bool silent_ = false;
  std::vector<SimItem> received_;
};

}  // namespace korvane::sim
