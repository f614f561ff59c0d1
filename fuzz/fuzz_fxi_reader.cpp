// Reads arbitrary bytes as an FXI file: no crash, no read past the input,
// no item beyond the reading area.

#include <cstdint>
#include <cstdlib>

#include "exchange/fxi_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const ReadResult read = ReadFxi(ByteSpan(data, size));
  for (const ExchangeItem& item : read.items) {
    if (item.data.size() > READ_AREA_SIZE || item.type == ITEM_END || item.type == ITEM_OTHER) abort();
  }
  if (read.outcome == ReadOutcome::Malformed && read.messageId != MSG_FILE_MALFORMED) abort();
  return 0;
}
