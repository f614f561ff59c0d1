// The 38400-baud protocol: 40-byte packet headers, each followed by at most
// one data packet; a model packet each way opens every exchange. Every byte
// the PC sends goes singly after a 1 ms pause, except its one-byte answers.

#include "link/link38400_records.h"
#include "link/link_messages.h"
#include "link/link_protocol.h"
#include "storage/folders.h"

namespace korvane {
namespace {

using namespace link38400;

// A record arrived whole and sums right.
bool RecordArrived(const Bytes& record, std::size_t length) {
  return record.size() == length && RecordChecksumValid(record);
}

// The calculator's acknowledgement; false (after message 106, or 24 when
// nothing came at all) when it did not give one.
bool Acknowledged(LinkSession& s) {
  const std::optional<std::uint8_t> answer = s.ReadByte(ReadWait::Long);
  if (s.Stopped()) return false;
  if (answer == ACK) return true;
  if (!answer) {
    // Nothing came: the calculator is gone, and what waited for it is dropped.
    s.Queue().Clear();
    Message m = TextMessage(STR_LINK_NO_ANSWER);
    s.Show(m);
    return false;
  }
  Message m = TextMessage(MSG_LINK_NOT_CONFIRMED, {std::int64_t{*answer}});
  m.icon = MessageIcon::None;
  s.Show(m);
  return false;
}

// Both model packets: the calculator's checked by its checksum, then ours.
bool ExchangeModelPackets(LinkSession& s, bool oursFirst) {
  const auto model = ModelPacket();
  if (oursFirst && !s.WritePaced(model)) return false;
  const Bytes theirs = s.Read(PACKET_HEADER_LENGTH, ReadWait::Long);
  if (s.Stopped()) return false;
  if (!RecordArrived(theirs, PACKET_HEADER_LENGTH)) {
    s.ChecksumFailed();
    return false;
  }
  if (!oursFirst && !s.WritePaced(model)) return false;
  if (oursFirst && !s.WriteByte(ACK)) return false;
  return Acknowledged(s);
}

void Unexpected(LinkSession& s) { s.StatusText(STR_LINK_UNEXPECTED_DATA); }

}  // namespace

int Link38400Steps::IdleTextId() const { return STR_LINK_IDLE_38400; }

void Link38400Steps::OnFirstByte(LinkSession& s, std::uint8_t byte) {
  if (byte == READY) {
    s.Context().deadline.Clear();
    s.Context().view.ExchangeEnded(Send38400(s));
  } else if (byte == WANTS_TO_SEND) {
    s.Context().view.ExchangeEnded(Receive38400(s));
  } else {
    Unexpected(s);
  }
}

ExchangeReport Send38400(LinkSession& s) {
  ExchangeReport report;
  report.direction = ExchangeReport::Direction::Sent;
  s.StatusText(STR_LINK_CALCULATOR_READY);
  if (!ExchangeModelPackets(s, true)) return report;
  for (;;) {
    const std::optional<ItemId> head = s.Queue().Head();
    if (!head) {
      s.StatusText(STR_LINK_ENDING);
      if (!s.WritePaced(EndRecord38400())) return report;
      ResetTempFolder(s.Store());
      s.StatusText(STR_LINK_SEND_FINISHED);
      report.completed = true;
      return report;
    }
    const std::optional<Item> item = s.Store().ReadItem(*head);
    if (!item) {  // deleted since it was queued
      s.Queue().DropHead(*head);
      continue;
    }
    s.Status(FormatText(s.Texts().Text(STR_LINK_SENDING), {item->name}));
    Bytes header;
    Bytes packet;
    if (item->type == ITEM_PROGRAM) {
      auto info = ReadProgramInfo(item->info);
      packet = ProgramPacketFromData(item->data);
      if (info && !packet.empty()) {
        info->dataLength = static_cast<std::uint32_t>(packet.size() - PROGRAM_PACKET_OVERHEAD);
        if (auto built = BuildLinkHeader(ITEM_PROGRAM, LinkProtocol::Baud38400, *info)) header = std::move(*built);
      }
    } else if (item->type == ITEM_RAW && item->info.size() == PACKET_HEADER_LENGTH) {
      header = item->info;
      packet = item->data;
    }
    if (header.empty()) {
      // The item stays at the head of the queue.
      s.Show(TextMessage(MSG_LINK_NOT_TRANSFERABLE));
      return report;
    }
    s.ProgressRange(static_cast<std::uint32_t>(packet.size()));
    if (!s.WritePaced(header) || !Acknowledged(s)) return report;
    if (!s.WritePaced(packet, [&](std::size_t n) { s.Progress(static_cast<std::uint32_t>(n)); })) return report;
    if (!Acknowledged(s)) return report;
    s.Queue().DropHead(*head);
    ++report.sent;
  }
}

ExchangeReport Receive38400(LinkSession& s) {
  ExchangeReport report;
  report.direction = ExchangeReport::Direction::Received;
  s.StatusText(STR_LINK_RECEIVING);
  if (!s.WriteByte(READY) || !ExchangeModelPackets(s, false)) return report;
  auto finish = [&] {
    if (!report.stored.empty()) s.RebuildTree();
    return report;
  };
  for (;;) {
    if (!s.WriteByte(ACK)) return finish();
    const Bytes header = s.Read(PACKET_HEADER_LENGTH, ReadWait::Long);
    if (s.Stopped()) return finish();
    if (!RecordArrived(header, PACKET_HEADER_LENGTH)) {
      s.ChecksumFailed();
      return finish();
    }
    if (IsEndHeader(header)) {
      s.RebuildTree();
      s.StatusText(STR_LINK_RECEIVE_FINISHED);
      report.completed = true;
      return report;
    }
    if (!IsDataHeader(header)) continue;  // the next 0x06 asks for the next header
    const std::string name = ReadPaddedName(ByteSpan(header).subspan(packet_header::NAME, RECORD_NAME_LENGTH));
    const std::size_t length = AnnouncedPacketLength(header);
    s.Status(s.Texts().Text(STR_LINK_RECEIVING) + name + "...");
    s.ProgressRange(static_cast<std::uint32_t>(length));
    if (!s.WriteByte(ACK)) return finish();
    const Bytes packet =
        s.Read(length, ReadWait::Long, [&](std::size_t n) { s.Progress(static_cast<std::uint32_t>(n)); });
    if (s.Stopped()) return finish();
    if (!RecordArrived(packet, length)) {
      s.ChecksumFailed();
      return finish();
    }
    ItemId id = NO_ITEM;
    const std::optional<Bytes> program =
        header[packet_header::DATA_KIND] == DATA_KIND_PROGRAM ? ProgramDataFromPacket(packet) : std::nullopt;
    if (program) {
      const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(program->size()), name, ""});
      const ItemId folder = GetStandardFolder(s.Store(), s.Texts(), FOLDER_PROGRAMS);
      if (folder != NO_ITEM) id = s.Store().CreateItem(name, std::nullopt, folder, info, *program, ITEM_PROGRAM);
    } else {
      // Everything else is kept exactly as the calculator sent it.
      const ItemId folder = GetStandardFolder(s.Store(), s.Texts(), FOLDER_RAW);
      if (folder != NO_ITEM) id = s.Store().CreateItem(name, std::nullopt, folder, header, packet, ITEM_RAW);
    }
    NoteStoredItem(s.Store(), report, id);
  }
}

}  // namespace korvane
