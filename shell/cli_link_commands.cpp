// korvane-cli's link commands: send items to the calculator, and receive
// one exchange from it, through the same link thread as the program's.

#include <charconv>

#include "link/link9600_records.h"
#include "link/link_messages.h"
#include "shell/cli_link.h"
#include "shell/item_paths.h"

namespace korvane {
namespace {

std::vector<CliOptionSpec> LinkOptions(std::vector<CliOptionSpec> more) {
  std::vector<CliOptionSpec> options{{"port", true, "DEV"}, {"protocol", true, "cfx|algebra"}};
  options.insert(options.end(), more.begin(), more.end());
  return options;
}

// --protocol takes cfx or algebra; false after saying so.
bool ProtocolUnderstood(CliContext& c) {
  const auto protocol = c.request.Value("protocol");
  if (!protocol || *protocol == "cfx" || *protocol == "algebra") return true;
  CliFail(c, "--protocol takes cfx or algebra");
  return false;
}

std::string PathOf(const ItemStore& store, ItemId id) {
  for (const ListedItem& item : ListedItems(store))
    if (item.header.id == id) return item.path;
  return std::to_string(id);
}

// Pictures that would need the slot dialog; they need --slot on the command line.
std::optional<std::string> PictureWithoutSlot(const ItemStore& store, const std::vector<ItemId>& queued) {
  for (ItemId id : queued) {
    const auto header = store.ReadHeader(id);
    if (header && header->type == ITEM_PICTURE && !link9600::PictureSlotFromName(header->name)) return header->name;
  }
  return std::nullopt;
}

int SendCommand(CliContext& c) {
  if (!ProtocolUnderstood(c)) return 1;
  std::optional<int> slot;
  if (const auto text = c.request.Value("slot")) {
    int n = 0;
    const auto r = std::from_chars(text->data(), text->data() + text->size(), n);
    if (r.ec != std::errc() || r.ptr != text->data() + text->size() || n < 1 || n > 6)
      return CliFail(c, "--slot takes a picture memory from 1 to 6");
    slot = n;
  }
  std::vector<ItemId> ids;
  for (const std::string& path : c.request.arguments) {
    const ItemId id = FindItemByPath(c.core.Store(), path);
    if (id == NO_ITEM || id == ROOT_FOLDER_ID) return CliFail(c, "no item " + path);
    ids.push_back(id);
  }
  CliLink link(c);
  link.View().slot = slot;
  for (ItemId id : ids)
    if (link.Link().Queue(id) != QueueResult::Queued) return 1;  // its message was shown
  if (!slot && link.Link().Settings().protocol == LinkProtocol::Baud9600) {
    if (const auto picture = PictureWithoutSlot(c.core.Store(), link.Link().Queued().Items()))
      return CliFail(c, "the picture " + *picture + " has no slot digit in its name: give --slot N (1 to 6)");
  }
  if (!link.Start()) return 1;
  return link.SendQueued() ? 0 : 1;
}

int ReceiveCommand(CliContext& c) {
  if (!ProtocolUnderstood(c)) return 1;
  std::optional<std::chrono::milliseconds> timeout;
  if (const auto text = c.request.Value("timeout")) {
    double seconds = 0;
    const auto r = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (r.ec != std::errc() || r.ptr != text->data() + text->size() || seconds <= 0)
      return CliFail(c, "--timeout takes a number of seconds");
    timeout = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
  }
  CliLink link(c);
  if (!link.Start()) return 1;
  c.err << "link: waiting for the calculator on " << link.Link().Settings().port << std::endl;
  const auto report = link.View().WaitForExchange(ExchangeReport::Direction::Received, timeout, {});
  if (!report) return CliFail(c, "nothing was received in time");
  for (ItemId id : report->stored) c.out << PathOf(c.core.Store(), id) << '\n';
  return report->completed ? 0 : 1;
}

}  // namespace

std::vector<CliCommand> CliLinkCommands() {
  return {
      {{"send", "PATH...",
        "send items (folders with their contents) to the calculator: writes the wake-up byte and sends when the "
        "calculator answers within a second; --slot N for pictures whose name gives no slot digit, --keep to keep "
        "what the calculator holds",
        1,
        -1,
        LinkOptions({{"slot", true, "N"}, {"keep", false, ""}})},
       SendCommand},
      {{"receive", "",
        "listen until the calculator has sent one exchange (or --timeout passed) and store its items as the program "
        "does; prints the path of each stored item",
        0,
        0,
        LinkOptions({{"timeout", true, "SECONDS"}})},
       ReceiveCommand},
  };
}

}  // namespace korvane
