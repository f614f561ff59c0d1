// The 9600-baud protocol: whole items one after another, each a header and a
// data block, with one-byte handshakes and acknowledgements.

#include <algorithm>
#include <thread>

#include "link/link9600_records.h"
#include "link/link_messages.h"
#include "link/link_protocol.h"
#include "storage/folders.h"

namespace korvane {
namespace {

using namespace link9600;

void Incomplete(LinkSession& s) {
  Message m = TextMessage(MSG_LINK_DATA_INCOMPLETE);
  s.Show(m);
}

// A received list with a group name goes into a folder of that name inside
// the lists folder, shown collapsed.
ItemId ListGroupFolder(LinkSession& s, std::string group) {
  ItemStore& store = s.Store();
  std::lock_guard lock(store.Mutex());
  const ItemId lists = GetStandardFolder(store, s.Texts(), FOLDER_LISTS);
  const auto listsHeader = store.ReadHeader(lists);
  if (!listsHeader) return NO_ITEM;
  std::replace(group.begin(), group.end(), '/', '_');  // a slash would name a deeper folder
  const ItemId folder = ResolveFolderPath(store, "/" + listsHeader->name + "/" + group + "/", true);
  if (folder != NO_ITEM) store.SetExpanded(folder, false);
  return folder;
}

ItemId DestinationFolder(LinkSession& s, ItemType type, const std::string& group) {
  if (type == ITEM_LIST && !group.empty()) return ListGroupFolder(s, group);
  return GetStandardFolder(s.Store(), s.Texts(), StandardFolderOf(type));
}

std::string ReceivingText(LinkSession& s, ItemType type, const std::string& group, const std::string& name) {
  if (type == ITEM_SCREEN_DC) return s.Texts().Text(STR_LINK_RECEIVING_DC);
  if (type == ITEM_SCREEN_DD) return s.Texts().Text(STR_LINK_RECEIVING_DD);
  std::string text = s.Texts().Text(STR_LINK_RECEIVING);
  if (!group.empty()) text += group + ".";
  return text + name + "...";
}

// Reads a data block in pieces, acknowledging where the type asks for it.
// nullopt after a failure (already reported to the calculator and the user).
std::optional<Bytes> ReceiveDataBlock(LinkSession& s, ItemType type, ByteSpan header, std::uint32_t length) {
  const std::size_t piece = ReadPieceLength(type);
  const std::size_t interval = AcknowledgeInterval(type, header);
  const bool checked = AcknowledgementsAreChecked(type);
  // The length comes from the line: room grows with the bytes that arrive,
  // so a damaged header cannot claim gigabytes up front.
  constexpr std::uint32_t reserveLimit = 64 * 1024;
  Bytes data;
  data.reserve(std::min(length, reserveLimit));
  std::uint32_t sum = 0;
  std::size_t sinceAck = 0;
  while (data.size() < length) {
    const std::size_t want = std::min<std::size_t>(piece, length - data.size());
    const Bytes got = s.Read(want, ReadWait::Short);
    if (s.Stopped()) return std::nullopt;
    if (got.size() < want) {
      Incomplete(s);
      return std::nullopt;
    }
    data.insert(data.end(), got.begin(), got.end());
    for (std::uint8_t b : got) sum += b;
    sinceAck += got.size();
    s.Progress(static_cast<std::uint32_t>(data.size()));
    if (interval == 0 || sinceAck < interval) continue;
    const bool atEnd = data.size() == length;
    if (checked && atEnd) break;  // the last record is checked below, with the block
    if (checked && static_cast<std::uint8_t>(sum) != RECORD_START) {
      s.ChecksumFailed();
      return std::nullopt;
    }
    sum = 0;
    sinceAck = 0;
    std::this_thread::yield();
    if (!s.WriteByte(ACK)) return std::nullopt;
  }
  if (type != ITEM_SCREEN_DC && static_cast<std::uint8_t>(sum) != RECORD_START) {
    s.ChecksumFailed();
    return std::nullopt;
  }
  return data;
}

ItemId StoreReceived(LinkSession& s, ItemType type, const std::string& name, ItemId folder, const Bytes& header,
                     const Bytes& data) {
  Bytes info = header;
  if (type == ITEM_PROGRAM || type == ITEM_TEXT_FM) {
    const auto programInfo = ProgramInfoFromHeader(header);
    // A program's data ends in its end bytes; a record without them is not a whole program.
    if (!programInfo || (type == ITEM_PROGRAM && data.size() < 2)) return NO_ITEM;
    const auto bytes = ProgramInfoBytes(*programInfo);
    info.assign(bytes.begin(), bytes.end());
  }
  return s.Store().CreateItem(name, std::nullopt, folder, info, data, type);
}

void NotTransferable(LinkSession& s) {
  Message m = TextMessage(MSG_LINK_NOT_TRANSFERABLE);
  m.icon = MessageIcon::None;
  s.Show(m);
}

}  // namespace

int Link9600Steps::IdleTextId() const { return STR_LINK_IDLE_9600; }

void Link9600Steps::OnFirstByte(LinkSession& s, std::uint8_t byte) {
  if (byte == READY) {
    s.Context().deadline.Clear();
    s.Context().view.ExchangeEnded(Send9600(s));
    return;
  }
  s.Queue().Clear();
  if (byte == WANTS_TO_SEND || byte == WANTS_TO_SEND_TOO) s.Context().view.ExchangeEnded(Receive9600(s));
}

ExchangeReport Receive9600(LinkSession& s) {
  ExchangeReport report;
  report.direction = ExchangeReport::Direction::Received;
  if (!s.WriteByte(READY)) return report;
  for (;;) {
    Bytes header = s.Read(FIRST_HEADER_READ, ReadWait::Long);
    if (s.Stopped() || header.empty()) return report;
    if (header.size() < FIRST_HEADER_READ) {
      Incomplete(s);
      return report;
    }
    const ItemType type = ClassifyTypeTag(header);
    if (type == ITEM_OTHER) {
      NotTransferable(s);
      s.WriteByte(UNSUPPORTED);
      return report;
    }
    if (type == ITEM_END) {
      report.completed = true;
      return report;
    }
    if (HeaderLength(type) > FIRST_HEADER_READ) {
      const std::size_t more = HeaderLength(type) - FIRST_HEADER_READ;
      const Bytes rest = s.Read(more, ReadWait::Long);
      if (s.Stopped()) return report;
      if (rest.size() < more) {
        Incomplete(s);
        return report;
      }
      header.insert(header.end(), rest.begin(), rest.end());
    }
    if (!RecordChecksumValid(header)) {
      s.ChecksumFailed();
      return report;
    }
    const bool named = header.size() >= LINK_HEADER_LENGTH;
    std::string name = named ? ReadPaddedName(ByteSpan(header).subspan(link_header::NAME, RECORD_NAME_LENGTH)) : "";
    const std::string group =
        named ? ReadPaddedName(ByteSpan(header).subspan(link_header::GROUP, RECORD_NAME_LENGTH)) : "";
    const std::optional<std::uint32_t> length = ReceivedDataLength(type, header);
    if (!length) {
      Incomplete(s);
      return report;
    }
    s.Status(ReceivingText(s, type, group, name));
    s.ProgressRange(*length);

    const ItemId folder = DestinationFolder(s, type, group);
    if (NamedByReceiveTime(type)) name = ReceiveTimeName(s.Context().clock.LocalTime());
    if (folder != NO_ITEM && s.Store().ItemExists(name, folder)) {
      if (!s.WriteByte(EXISTS)) return report;
      const std::optional<std::uint8_t> answer = s.ReadByte(ReadWait::Long);
      if (s.Stopped() || answer == CANCEL) return report;
      if (answer == SKIP) {
        if (!s.WriteByte(ACK)) return report;
        continue;
      }
    }
    if (!s.WriteByte(ACK)) return report;
    Bytes data;
    if (*length > 0) {
      auto block = ReceiveDataBlock(s, type, header, *length);
      if (!block) return report;
      data = std::move(*block);
      s.Pause(std::chrono::milliseconds(2));
      if (!s.WriteByte(ACK)) return report;
    }
    // A restart of the link abandons the item instead of storing part of an exchange.
    if (s.Stopped()) return report;
    const ItemId id = folder == NO_ITEM ? NO_ITEM : StoreReceived(s, type, name, folder, header, data);
    NoteStoredItem(s.Store(), report, id);
    s.RebuildTree();
    if (type == ITEM_MEM_BU || type == ITEM_SCREEN_DC || type == ITEM_SCREEN_DD) {
      report.completed = true;
      return report;
    }
  }
}

namespace {

enum class Answered { Go, Skip, Stop };

// The calculator's answer to a header, with the overwrite question when it
// has the item already.
Answered HandleHeaderAnswer(LinkSession& s, const std::string& name, std::optional<std::uint8_t> answer) {
  for (;;) {
    if (s.Stopped()) return Answered::Stop;  // a restart abandons the exchange, the queue untouched
    if (!answer) {
      s.Queue().Clear();
      return Answered::Stop;
    }
    if (*answer == ACK) return Answered::Go;
    if (*answer == REFUSED) {
      s.Queue().Clear();
      Message m = TextMessage(MSG_LINK_REFUSED);
      m.icon = MessageIcon::None;
      s.Show(m);
      return Answered::Stop;
    }
    if (*answer != EXISTS) {
      s.Queue().Clear();
      Message m = TextMessage(MSG_LINK_NOT_ACCEPTED);
      m.icon = MessageIcon::None;
      s.Show(m);
      return Answered::Stop;
    }
    const int choice = s.AskYesNoCancel(FormatText(s.Texts().Text(STR_LINK_ITEM_EXISTS), {name}), "");
    if (choice == LINK_ANSWER_YES) {
      if (!s.WriteByte(ACK)) return Answered::Stop;
      answer = s.ReadByte(ReadWait::Short);
      continue;
    }
    if (choice == LINK_ANSWER_CANCEL) {
      s.WriteByte(CANCEL);
      s.Queue().Clear();
      return Answered::Stop;
    }
    if (choice == LINK_ANSWER_NO) {
      if (!s.WriteByte(SKIP)) return Answered::Stop;
      if (!s.ReadByte(ReadWait::Short)) {
        if (!s.Stopped()) s.Queue().Clear();
        return Answered::Stop;
      }
      return Answered::Skip;
    }
    return Answered::Stop;  // closed otherwise: the queue is kept
  }
}

// Writes the data block, waiting for the calculator's acknowledgement after
// each sheet or element. False after a failure.
bool SendDataBlock(LinkSession& s, const OutgoingItem& item) {
  const std::size_t piece = WritePieceLength(item.type);
  const std::size_t interval = AcknowledgeInterval(item.type, item.header);
  const bool acknowledged = item.type == ITEM_PICTURE || item.type == ITEM_MATRIX || item.type == ITEM_LIST;
  const ByteSpan data(item.data);
  for (std::size_t at = 0; at < data.size(); at += piece) {
    const std::size_t n = std::min(piece, data.size() - at);
    s.Progress(static_cast<std::uint32_t>(at));
    if (!s.Write(data.subspan(at, n))) return false;
    const std::size_t done = at + n;
    if (acknowledged && interval > 0 && done % interval == 0 && done < data.size()) {
      if (s.ReadByte(ReadWait::Short) != ACK) {
        if (s.Stopped()) return false;
        s.Queue().Clear();
        s.Show(TextMessage(MSG_LINK_BLOCK_NOT_CONFIRMED));
        return false;
      }
    }
  }
  s.Progress(static_cast<std::uint32_t>(data.size()));
  return true;
}

}  // namespace

ExchangeReport Send9600(LinkSession& s) {
  ExchangeReport report;
  report.direction = ExchangeReport::Direction::Sent;
  bool refusedKind = false;
  for (;;) {
    const std::optional<ItemId> head = s.Queue().Head();
    if (!head) {
      const auto end = EndRecord9600();
      if (!s.WritePaced(end)) return report;
      ResetTempFolder(s.Store());
      report.completed = true;
      break;
    }
    const std::optional<Item> item = s.Store().ReadItem(*head);
    if (!item) {  // deleted since it was queued
      s.Queue().DropHead(*head);
      continue;
    }
    PrepareResult prepared = PrepareForSending(*item, s.Settings().removeColorInformation);
    if (prepared.problem == PrepareProblem::NeedsSlot) {
      const int slot = s.ChoosePictureSlot(item->name);
      if (slot < 1 || slot > 6) {
        // Nothing of the item went out; the calculator is told the transfer ends.
        if (!s.Stopped()) s.WriteByte(CANCEL);
        s.Queue().Clear();
        return report;
      }
      prepared = PrepareForSending(*item, s.Settings().removeColorInformation, slot);
    }
    if (!prepared.item) {
      // The calculator waits for a header now: the item is left out and said so at the end.
      refusedKind = true;
      s.Queue().DropHead(*head);
      continue;
    }
    const OutgoingItem& out = *prepared.item;
    s.Status(FormatText(s.Texts().Text(STR_LINK_SENDING), {out.name}));
    s.ProgressRange(static_cast<std::uint32_t>(out.data.size()));
    if (!s.Write(out.header)) return report;
    const Answered answered = HandleHeaderAnswer(s, out.name, s.ReadByte(ReadWait::Short));
    if (answered == Answered::Stop) return report;
    if (answered == Answered::Skip) {
      s.Queue().DropHead(*head);
      continue;
    }
    if (!SendDataBlock(s, out)) return report;
    const std::optional<std::uint8_t> final = s.ReadByte(ReadWait::Short);
    if (s.Stopped()) return report;
    if (!final) {
      s.Queue().Clear();
      return report;
    }
    if (*final != ACK) {
      s.ReadByte(ReadWait::Short);
      s.Queue().Clear();
      s.Show(TextMessage(MSG_LINK_END_NOT_CONFIRMED));
      return report;
    }
    s.Queue().DropHead(*head);
    ++report.sent;
  }
  if (refusedKind) {
    Message m = TextMessage(MSG_LINK_NOT_TRANSFERABLE);
    m.icon = MessageIcon::None;
    s.Show(m);
  }
  return report;
}

}  // namespace korvane
