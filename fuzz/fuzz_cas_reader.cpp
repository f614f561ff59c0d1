// Reads arbitrary bytes as a .cas file, then writes what it read and reads
// that again: no crash, no read past the input, and what we write reads back
// as the same items.

#include <cstdint>
#include <cstdlib>

#include "exchange/cas_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korvane;
  const ReadResult read = ReadCas(ByteSpan(data, size));
  for (const ExchangeItem& item : read.items) {
    if (item.data.size() > size || item.info.size() > LINK_HEADER_LENGTH) abort();
  }
  const CasWriteResult written = WriteCas(read.items);
  const ReadResult again = ReadCas(written.bytes);
  if (again.outcome != ReadOutcome::Complete) abort();
  if (again.items.size() + written.skipped.size() != read.items.size()) abort();
  if (written.skipped.empty() && WriteCas(again.items).bytes != written.bytes) abort();
  return 0;
}
