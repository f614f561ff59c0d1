// Reads arbitrary bytes as an FXI file: no crash, no read past the input, no
// item beyond the reading area; and the items read, written as a .cas file,
// read back as the same items.

#include <cstdint>
#include <cstdlib>

#include "exchange/cas_format.h"
#include "exchange/fxi_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const ReadResult read = ReadFxi(ByteSpan(data, size));
  for (const ExchangeItem& item : read.items) {
    if (item.data.size() > READ_AREA_SIZE || item.type == ITEM_END || item.type == ITEM_OTHER) abort();
  }
  if (read.outcome == ReadOutcome::Malformed && read.messageId != MSG_FILE_MALFORMED) abort();

  const CasWriteResult written = WriteCas(read.items);
  const ReadResult again = ReadCas(written.bytes);
  if (again.outcome != ReadOutcome::Complete) abort();
  if (again.items.size() + written.skipped.size() != read.items.size()) abort();
  std::size_t next = 0;  // the items read again follow those written, in order
  for (const ExchangeItem& item : again.items) {
    while (next < read.items.size() &&
           (read.items[next].type != item.type || read.items[next].data.size() != item.data.size())) {
      ++next;
    }
    if (next == read.items.size()) abort();
    ++next;
  }
  if (WriteCas(again.items).bytes != written.bytes) abort();
  return 0;
}
