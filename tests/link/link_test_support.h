#pragma once
// What the link tests share: a store and the shipped texts in a temporary
// home, a clock that does not sleep, records built as the calculator builds
// them, and one exchange run against a calculator whose bytes are given in
// advance.

#include <gtest/gtest.h>

#include "link/calculator_records.h"
#include "link/link_protocol.h"
#include "link/memory_transport.h"
#include "settings/language_table.h"
#include "storage/byte_order.h"
#include "storage/folders.h"
#include "support/recording_link_view.h"
#include "support/recording_message_sink.h"
#include "support/temp_dir.h"

namespace korvane::test {

class FakeLinkClock : public LinkClock {
 public:
  std::chrono::steady_clock::time_point Now() const override { return now; }
  void Sleep(std::chrono::microseconds duration) override { slept += duration; }
  std::tm LocalTime() const override { return local; }
  std::chrono::steady_clock::time_point now{std::chrono::seconds(1000)};
  std::chrono::microseconds slept{0};
  std::tm local = [] {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 8;
    t.tm_hour = 14;
    t.tm_min = 3;
    t.tm_sec = 59;
    return t;
  }();
};

// Kept out of line: inlined into tests, g++ 12 takes the copies of one-byte
// vectors for overruns (-Warray-bounds) that cannot happen.
[[gnu::noinline]] inline Bytes Concat(std::initializer_list<Bytes> parts) {
  std::size_t total = 0;
  for (const Bytes& p : parts) total += p.size();
  Bytes all;
  all.reserve(total);
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

[[gnu::noinline]] inline Bytes One(std::uint8_t b) { return Bytes(1, b); }

// 0x3A, the tokens, 0xFF, checksum.
inline Bytes ProgramData(const Bytes& tokens) {
  Bytes data;
  data.reserve(tokens.size() + 3);
  data.push_back(RECORD_START);
  data.insert(data.end(), tokens.begin(), tokens.end());
  data.push_back(0xFF);
  data.push_back(0);
  SetRecordChecksum(data);
  return data;
}

// A 50-byte header of the 9600-baud link with a six-byte tag.
inline Bytes Header9600(std::string_view tag, std::uint16_t rows, std::uint16_t columns, std::string_view name,
                        std::string_view group = "") {
  Bytes h(LINK_HEADER_LENGTH, 0xFF);
  h[0] = RECORD_START;
  for (std::size_t i = 0; i < tag.size(); ++i) h[1 + i] = static_cast<std::uint8_t>(tag[i]);
  WriteU16BE(h, link_header::ROWS, rows);
  WriteU16BE(h, link_header::COLUMNS, columns);
  WritePaddedName(std::span(h).subspan(link_header::NAME, 8), name);
  WritePaddedName(std::span(h).subspan(link_header::GROUP, 8), group);
  SetRecordChecksum(h);
  return h;
}

inline Bytes ProgramHeader9600(std::string_view name, std::size_t length) {
  using namespace std::string_view_literals;
  return Header9600("TXT\0PG"sv, 0, static_cast<std::uint16_t>(length), name);
}

inline Bytes ValueRecords(int count) {
  Bytes data;
  for (int i = 1; i <= count; ++i) {
    const auto r = *BuildValueRecord(static_cast<std::uint16_t>(i), 1, i * 2.5);
    data.insert(data.end(), r.begin(), r.end());
  }
  return data;
}

// The store and texts of one test, in a temporary home.
class LinkFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(texts.LoadLanguages(std::string(KORVANE_PROGRAM_DIR) + "Language/", "English"), 1);
    ASSERT_TRUE(store.OpenStore(home.File("storage.dat")));
  }
  std::string Text(int id) const { return texts.Text(id); }

  ItemId AddProgram(const std::string& name, const Bytes& data, ItemId folder = NO_ITEM) {
    if (folder == NO_ITEM) folder = GetStandardFolder(store, texts, FOLDER_PROGRAMS);
    const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(data.size()), name, ""});
    return store.CreateItem(name, std::nullopt, folder, info, data, ITEM_PROGRAM);
  }
  ItemId AddWithHeader(const std::string& name, ItemType type, const Bytes& header, const Bytes& data,
                       ItemId folder = ROOT_FOLDER_ID) {
    return store.CreateItem(name, std::nullopt, folder, header, data, type);
  }

  // Runs one exchange against a calculator that answers with `calculatorBytes`,
  // and returns what the PC wrote.
  Bytes RunExchange(ExchangeReport (*exchange)(LinkSession&), const Bytes& calculatorBytes,
                    LinkSettings settings = {}) {
    auto [pc, calculator] = MemoryTransport::MakePair();
    EXPECT_TRUE(calculator->Write(calculatorBytes));
    calculator->HangUp();
    LinkContext context{store, texts, view, queue, deadline, clock, {}};
    LinkStop stop;
    LinkSession session(context, *pc, settings, stop);
    report = exchange(session);
    return pc->Written();
  }

  TempDir home;
  RecordingMessageSink storeMessages;
  ItemStore store{storeMessages};
  LanguageTable texts;
  RecordingLinkView view;
  SendQueue queue;
  SendDeadline deadline;
  FakeLinkClock clock;
  ExchangeReport report;
};

}  // namespace korvane::test
