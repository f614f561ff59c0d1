#include "link/simulator/sim_calculator.h"

#include <algorithm>
#include <fstream>

#include "link/link38400_records.h"
#include "link/link9600_records.h"

namespace korvane::sim {
namespace {

constexpr std::uint8_t WANTS = 0x16;
constexpr std::uint8_t READY = 0x13;
constexpr std::uint8_t ACK = 0x06;
constexpr std::uint8_t SKIP = 0x15;
constexpr std::uint8_t CANCEL = 0x18;
constexpr std::uint8_t EXISTS = 0x21;
constexpr std::uint8_t REFUSED = 0x24;

// A byte or two may look early where a one-byte answer runs into a record.
constexpr std::size_t kEarlyBytesAllowed = 2;

std::string Hex(std::uint8_t b) {
  static const char digits[] = "0123456789ABCDEF";
  return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

bool Same(ByteSpan a, ByteSpan b) { return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin()); }

bool EndsExchange9600(ItemType type) { return type == ITEM_MEM_BU || type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD; }

}  // namespace

SimCalculator::SimCalculator(SimLine& line, SimOptions options, std::ostream& log)
    : line_(line), options_(std::move(options)), log_(log) {}

SimOutcome SimCalculator::Violation(const std::string& what) {
  log_ << "violation: " << what << std::endl;
  return SIM_VIOLATION;
}

SimOutcome SimCalculator::Ended(const std::string& what) {
  log_ << "ended: " << what << std::endl;
  return SIM_PC_ENDED;
}

SimOutcome SimCalculator::Silent() {
  log_ << "silent after " << options_.stopAfter << " bytes" << std::endl;
  line_.DrainUntilQuiet(std::chrono::milliseconds(1500));
  return SIM_DONE;
}

bool SimCalculator::Put(ByteSpan bytes) {
  if (silent_) return false;
  if (!receiving_ && options_.stopAfter >= 0) {
    const long room = options_.stopAfter - static_cast<long>(line_.BytesOut());
    if (room < static_cast<long>(bytes.size())) {
      if (room > 0) line_.Write(bytes.first(static_cast<std::size_t>(room)));
      silent_ = true;
      return false;
    }
  }
  return line_.Write(bytes);
}

SimLine::Received SimCalculator::Take(std::size_t count) {
  SimLine::Received r = line_.Read(count, options_.wait);
  if (receiving_ && options_.stopAfter >= 0 && static_cast<long>(line_.BytesIn()) >= options_.stopAfter) silent_ = true;
  return r;
}

std::optional<std::uint8_t> SimCalculator::TakeByte() {
  const SimLine::Received r = Take(1);
  if (r.bytes.empty()) return std::nullopt;
  return r.bytes[0];
}

Bytes SimCalculator::Record(ByteSpan bytes) {
  Bytes record(bytes.begin(), bytes.end());
  if (++recordsSent_ == options_.corrupt && !record.empty()) {
    record.back() ^= 0x01;
    log_ << "corrupted record " << recordsSent_ << std::endl;
  }
  return record;
}

bool SimCalculator::PacedAtOneMs(const SimLine::Received& r) const {
  return r.bytes.size() < 16 || r.early <= kEarlyBytesAllowed;
}

bool SimCalculator::ExpectAck(const std::string& after) {
  const auto b = TakeByte();
  if (b == ACK) return true;
  log_ << "no acknowledgement after " << after << ": " << (b ? Hex(*b) : std::string("nothing")) << std::endl;
  return false;
}

void SimCalculator::Keep(SimItem item) {
  log_ << "received " << (item.name.empty() ? std::string("(screen)") : item.name) << " type " << item.type << ", "
       << item.data.size() << " bytes" << std::endl;
  if (!options_.outDir.empty()) {
    const std::string path = options_.outDir + "/" + std::to_string(received_.size() + 1) + ".bin";
    std::ofstream out(path, std::ios::binary);
    const Bytes bytes = item.LineBytes();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  received_.push_back(std::move(item));
}

SimOutcome SimCalculator::Send() {
  receiving_ = false;
  return options_.protocol == LinkProtocol::Baud9600 ? Send9600() : Send38400();
}

SimOutcome SimCalculator::Receive(bool firstByteRead) {
  receiving_ = true;
  if (!firstByteRead) {
    const auto b = TakeByte();
    if (!b) return Ended("no wake-up byte came");
    if (*b != WANTS) return Violation("the PC opened with " + Hex(*b) + ", not 0x16");
  }
  if (options_.noAnswer) {
    log_ << "not answering" << std::endl;
    line_.DrainUntilQuiet(std::chrono::milliseconds(1500));
    return SIM_DONE;
  }
  return options_.protocol == LinkProtocol::Baud9600 ? Receive9600() : Receive38400();
}

// ---- 9600 baud --------------------------------------------------------------

SimOutcome SimCalculator::Send9600() {
  if (!PutByte(options_.openWith15 ? 0x15 : WANTS)) return Silent();
  const auto ready = TakeByte();
  if (ready != READY) return Ended("the PC did not answer 0x13");
  for (const SimItem& item : options_.send) {
    if (!Put(Record(item.header))) return Silent();
    auto answer = TakeByte();
    if (answer == EXISTS) {
      log_ << "the PC holds " << item.name << " already" << std::endl;
      if (!PutByte(options_.existsAnswer)) return Silent();
      if (options_.existsAnswer == CANCEL) return SIM_DONE;
      answer = TakeByte();
      if (options_.existsAnswer == SKIP) {
        if (answer != ACK) return Violation("no 0x06 after the skip");
        continue;
      }
    }
    if (!answer) return silent_ ? Silent() : Ended("no answer to the header of " + item.name);
    if (*answer != ACK) return Ended("the PC answered the header of " + item.name + " with " + Hex(*answer));
    const std::size_t interval = link9600::AcknowledgeInterval(item.type, item.header);
    const std::size_t record = DataRecordLength(item.type, item.header, item.data.size());
    for (std::size_t at = 0; at < item.data.size();) {
      // Data go record by record, so that one of them can be damaged.
      const std::size_t n = std::min(record == 0 ? item.data.size() : record, item.data.size() - at);
      if (!Put(Record(ByteSpan(item.data).subspan(at, n)))) return Silent();
      at += n;
      if (interval == 0) continue;
      // The PC acknowledges inside the block; a DC screen also after its last part.
      for (std::size_t mark = at - n + 1; mark <= at; ++mark) {
        const bool last = mark == item.data.size();
        if (mark % interval != 0 || (last && item.type != ITEM_SCREEN_DC)) continue;
        const auto b = TakeByte();
        if (b != ACK) return b ? Ended("the PC answered " + Hex(*b) + " inside " + item.name) : Ended("no acknowledgement inside " + item.name);
      }
    }
    if (!item.data.empty()) {
      const auto b = TakeByte();
      if (b != ACK) return b ? Ended("the PC answered " + Hex(*b) + " after " + item.name) : Ended("no final acknowledgement of " + item.name);
    }
    log_ << "sent " << (item.name.empty() ? std::string("(screen)") : item.name) << std::endl;
    if (EndsExchange9600(item.type)) return SIM_DONE;
  }
  const auto end = EndRecord9600();
  if (!Put(Record(end))) return Silent();
  return SIM_DONE;
}

SimOutcome SimCalculator::Receive9600() {
  if (!PutByte(READY)) return Silent();
  bool refused = false;
  for (;;) {
    SimLine::Received first = Take(SCREEN_HEADER_LENGTH);
    if (silent_) return Silent();
    if (first.bytes.size() < SCREEN_HEADER_LENGTH) return Ended("the PC sent no header");
    const ItemType type = ClassifyTypeTag(first.bytes);
    Bytes header = first.bytes;
    if (type != ITEM_SCREEN_DC && type != ITEM_SCREEN_DD) {
      const SimLine::Received rest = Take(LINK_HEADER_LENGTH - SCREEN_HEADER_LENGTH);
      if (rest.bytes.size() < LINK_HEADER_LENGTH - SCREEN_HEADER_LENGTH) return Violation("a header cut short");
      header.insert(header.end(), rest.bytes.begin(), rest.bytes.end());
      first.early += rest.early;
    }
    if (type == ITEM_END) {
      const auto end = EndRecord9600();
      if (!Same(header, end)) return Violation("the end record is not \":END\", 45 x 0xFF, 0x56");
      first.bytes = header;
      if (!PacedAtOneMs(first)) return Violation("the end record was not sent one byte a millisecond");
      log_ << "end" << std::endl;
      return SIM_DONE;
    }
    if (!RecordChecksumValid(header)) return Violation("a header's checksum is wrong");
    if (type == ITEM_OTHER || type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD)
      return Violation("a header of a kind the calculator does not take");
    const std::string name = HeaderName(header);
    if (options_.refuse && !refused) {
      refused = true;
      PutByte(REFUSED);
      log_ << "refused " << name << std::endl;
      return SIM_DONE;
    }
    if (std::find(options_.existing.begin(), options_.existing.end(), name) != options_.existing.end()) {
      if (!PutByte(EXISTS)) return Silent();
      const auto answer = TakeByte();
      if (answer == CANCEL) return Ended("the PC cancelled at " + name);
      if (answer == SKIP) {
        if (!PutByte(ACK)) return Silent();
        log_ << "skipped " << name << std::endl;
        continue;
      }
      if (answer != ACK) return Violation("the PC answered 0x21 with " + (answer ? Hex(*answer) : std::string("nothing")));
    }
    if (!PutByte(ACK)) return Silent();
    const auto length = FullDataLength(header);
    if (!length) return Violation("a header without a length");
    if (type == ITEM_PROGRAM || type == ITEM_TEXT_FM) {
      if (*length < 3) return Violation("program data shorter than 3 bytes");
    }
    const std::size_t record = DataRecordLength(type, header, *length);
    const std::size_t interval = link9600::AcknowledgeInterval(type, header);
    Bytes data;
    while (data.size() < *length) {
      const std::size_t n = std::min<std::size_t>(record == 0 ? *length : record, *length - data.size());
      const SimLine::Received part = Take(n);
      if (silent_) return Silent();
      if (part.bytes.size() < n) return Violation(name + ": the data stopped after " + std::to_string(data.size() + part.bytes.size()) + " of " + std::to_string(*length) + " bytes");
      if (!RecordChecksumValid(part.bytes)) return Violation(name + ": a data record's checksum is wrong");
      data.insert(data.end(), part.bytes.begin(), part.bytes.end());
      if (interval != 0 && data.size() % interval == 0 && data.size() < *length && !PutByte(ACK)) return Silent();
    }
    if (!PutByte(ACK)) return Silent();
    Keep({type, name, header, data});
  }
}

// ---- 38400 baud -------------------------------------------------------------

SimOutcome SimCalculator::Send38400() {
  if (!PutByte(WANTS)) return Silent();
  if (TakeByte() != READY) return Ended("the PC did not answer 0x13");
  Bytes model(PACKET_HEADER_LENGTH, 0x30);
  model[0] = RECORD_START;
  SetRecordChecksum(model);
  if (!Put(Record(model))) return Silent();
  const SimLine::Received theirs = Take(PACKET_HEADER_LENGTH);
  if (theirs.bytes.size() < PACKET_HEADER_LENGTH) return Ended("the PC sent no model packet");
  const auto expected = ModelPacket();
  if (!Same(theirs.bytes, expected)) return Violation("the PC's model packet is not the one it must send");
  if (!PacedAtOneMs(theirs)) return Violation("the model packet was not sent one byte a millisecond");
  if (!PutByte(ACK)) return Silent();
  for (const SimItem& item : options_.send) {
    if (!ExpectAck("the record before " + item.name)) return Ended("the PC asked for no header");
    if (!Put(Record(item.header))) return Silent();
    if (!ExpectAck("the header of " + item.name)) return Ended("the PC took no packet for " + item.name);
    if (!Put(Record(item.data))) return Silent();
    log_ << "sent " << item.name << std::endl;
  }
  if (!ExpectAck("the last record")) return Ended("the PC asked for no end record");
  const auto end = EndRecord38400();
  if (!Put(Record(end))) return Silent();
  return SIM_DONE;
}

SimOutcome SimCalculator::Receive38400() {
  if (!PutByte(READY)) return Silent();
  const SimLine::Received theirs = Take(PACKET_HEADER_LENGTH);
  if (silent_) return Silent();
  if (theirs.bytes.size() < PACKET_HEADER_LENGTH) return Ended("the PC sent no model packet");
  const auto expected = ModelPacket();
  if (!Same(theirs.bytes, expected)) return Violation("the PC's model packet is not the one it must send");
  if (!PacedAtOneMs(theirs)) return Violation("the model packet was not sent one byte a millisecond");
  Bytes model(PACKET_HEADER_LENGTH, 0x30);
  model[0] = RECORD_START;
  SetRecordChecksum(model);
  if (!Put(model)) return Silent();
  const auto answer = TakeByte();
  if (answer != ACK) return Ended("the PC did not acknowledge the model packet");
  if (!PutByte(ACK)) return Silent();
  for (;;) {
    const SimLine::Received header = Take(PACKET_HEADER_LENGTH);
    if (silent_) return Silent();
    if (header.bytes.size() < PACKET_HEADER_LENGTH) return Ended("the PC sent no header");
    if (!RecordChecksumValid(header.bytes)) return Violation("a header's checksum is wrong");
    if (!PacedAtOneMs(header)) return Violation("a header was not sent one byte a millisecond");
    if (link38400::IsEndHeader(header.bytes)) {
      const auto end = EndRecord38400();
      if (!Same(header.bytes, end)) return Violation("the end record is not \":END1\", 34 x 0xFF, 0x1A");
      log_ << "end" << std::endl;
      return SIM_DONE;
    }
    if (!link38400::IsDataHeader(header.bytes)) return Violation("a header that is neither \":MCS1\" nor \":END1\"");
    const std::size_t length = link38400::AnnouncedPacketLength(header.bytes);
    const std::string name = ReadPaddedName(ByteSpan(header.bytes).subspan(packet_header::NAME, RECORD_NAME_LENGTH));
    if (!PutByte(ACK)) return Silent();
    const SimLine::Received packet = Take(length);
    if (silent_) return Silent();
    if (packet.bytes.size() < length) return Violation(name + ": the packet is shorter than its header says");
    if (!RecordChecksumValid(packet.bytes)) return Violation(name + ": the packet's checksum is wrong");
    if (!PacedAtOneMs(packet)) return Violation(name + ": the packet was not sent one byte a millisecond");
    const bool program = header.bytes[packet_header::DATA_KIND] == link38400::DATA_KIND_PROGRAM;
    if (program && (length < 13 || packet.bytes[length - 2] != 0x00 ||
                    !std::all_of(packet.bytes.begin() + 1, packet.bytes.begin() + 11, [](std::uint8_t b) { return b == 0; })))
      return Violation(name + ": the program packet is not 0x3A, ten 0x00, tokens, 0x00, checksum");
    if (!PutByte(ACK)) return Silent();
    Keep({program ? ITEM_PROGRAM : ITEM_RAW, name, header.bytes, packet.bytes});
  }
}

}  // namespace korvane::sim
