#include <algorithm>
#include <array>
#include <charconv>

#include "exchange/cat_format.h"
#include "storage/byte_order.h"

namespace korvane {

namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr std::size_t kExcerptLength = 50;
constexpr std::string_view kAlgebraTextEnd = "\\@00";
// Fewer bytes than this after an "%End" line are taken for the file's tail.
constexpr std::size_t kMinBlockRest = 20;

// The header keys, in the order they are tested; the index is the slot of
// the remembered value.
enum Key : std::size_t {
  KEY_FORMAT, KEY_COMM_SW, KEY_DATA_TYPE, KEY_CAPACITY, KEY_FILE_NAME, KEY_GROUP_NAME, KEY_PASSWORD,
  KEY_OPTION1, KEY_OPTION2, KEY_OPTION3, KEY_OPTION4, KEY_DATA_NAME, KEY_WIDTH, KEY_HEIGHT,
  KEY_START_POSITION, KEY_DIRECTION, KEY_BYTE_DIRECTION, KEY_BIT_WEIGHT, KEY_COLORS, KEY_SHEETS,
  KEY_VARIABLE_NAME, KEY_VARIABLE_TYPE, KEY_VARIABLE_LENGTH, KEY_ROWS, KEY_COLUMNS, KEY_TYPE_NUMBER,
  KEY_OPTION_NAME, KEY_COUNT
};
constexpr std::array<std::string_view, KEY_COUNT> kKeys = {
    "format:", "communication sw:", "data type:", "capacity:", "file name:", "group name:", "password:",
    "option1:", "option2:", "option3:", "option4:", "data name:", "width:", "height:", "start position:",
    "direction:", "byte direction:", "bit weight:", "colors:", "sheets:", "variable name:", "variable type:",
    "variable length:", "rows:", "columns:", "type number:", "option name:"};

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// True when `text` begins with `lowerPrefix`, letter case ignored.
bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    if (Lower(text[i]) != lowerPrefix[i]) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A decimal number at the start of `text`, as far as it has digits; 0 when none.
std::uint32_t LeadingNumber(std::string_view text) {
  std::uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(c - '0'), 0xFFFF'FFFFu);
  }
  return static_cast<std::uint32_t>(value);
}

// The decimal number at the start of `text` as far as it reads, as the C
// library reads one: sign, digits, point, digits, an exponent. Empty when the
// text does not start with one (it then counts 0).
std::string_view LeadingDecimal(std::string_view text) {
  std::size_t n = 0;
  auto digitsFrom = [&](std::size_t at) {
    while (at < text.size() && IsDigit(text[at])) ++at;
    return at;
  };
  if (n < text.size() && (text[n] == '+' || text[n] == '-')) ++n;
  const std::size_t intEnd = digitsFrom(n);
  std::size_t end = intEnd;
  bool digits = intEnd > n;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fracEnd = digitsFrom(end + 1);
    digits = digits || fracEnd > end + 1;
    end = fracEnd;
  }
  if (!digits) return {};
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t e = end + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (digitsFrom(e) > e) end = digitsFrom(e);
  }
  return text.substr(0, end);
}

// A signed whole number at the start of `text`, 0 when there is none; kept
// within what any exponent of a double needs.
int LeadingExponent(std::string_view text) {
  const std::string_view number = LeadingDecimal(text);
  bool negative = !number.empty() && number[0] == '-';
  long value = 0;
  for (char c : number.substr(number.empty() || IsDigit(number[0]) ? 0 : 1)) {
    if (!IsDigit(c)) break;
    value = std::min<long>(value * 10 + (c - '0'), 100'000);
  }
  return static_cast<int>(negative ? -value : value);
}

// `significand` (a LeadingDecimal) times ten to `exponent`, read as one
// decimal text so that 1.5 and 3 give exactly the double nearest 1500. Too
// small for a double is 0, as on the calculator; too large is none.
std::optional<double> ScaledDecimal(std::string_view significand, int exponent) {
  if (significand.empty()) return 0.0;
  const std::size_t e = significand.find_first_of("eE");
  if (e != std::string_view::npos) {
    exponent = std::clamp(exponent + LeadingExponent(significand.substr(e + 1)), -100'000, 100'000);
    significand = significand.substr(0, e);
  }
  if (significand[0] == '+') significand.remove_prefix(1);
  const std::string text = std::string(significand) + "e" + std::to_string(exponent);
  double value = 0.0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec == std::errc::result_out_of_range) {
    const bool belowOne = significand.find_first_of("123456789") > significand.find('.');
    if (exponent < 0 || (exponent == 0 && belowOne)) return 0.0;
    return std::nullopt;
  }
  if (r.ec != std::errc()) return 0.0;
  return value;
}

class CatReader {
 public:
  CatReader(std::string_view file, const ExchangeSpelling& tokens, const TextLookup& texts)
      : file_(file), tokens_(tokens), texts_(texts) {}

  ReadResult Read() {
    if (!NextLine()) return result_;
    while (ReadBlock()) {
    }
    return std::move(result_);
  }

 private:
  enum class Step { Next, Done, Failed };

  // Step past the next CR, the character after it, and one more LF. False
  // (malformed) when no CR is left.
  bool NextLine() {
    const std::size_t cr = file_.find(CR, pos_);
    if (cr == std::string_view::npos) return Malformed();
    pos_ = std::min(cr + 2, file_.size());
    if (pos_ < file_.size() && file_[pos_] == LF) ++pos_;
    return true;
  }

  std::string_view Rest() const { return file_.substr(std::min(pos_, file_.size())); }
  // The current line, without its CR (to the end of the file when it has none).
  std::string_view CurrentLine() const {
    const std::string_view rest = Rest();
    return rest.substr(0, rest.find(CR));
  }
  bool AtEnd() const { return StartsWithNoCase(Rest(), "%end"); }
  // "\@00" where the algebra variant writes it: at the end of the line that
  // closes the data record. Anywhere else it is an escaped "@" and digits.
  bool AtAlgebraTextEnd() const {
    const std::string_view rest = Rest();
    if (!rest.starts_with(kAlgebraTextEnd) || rest.size() == kAlgebraTextEnd.size() ||
        rest[kAlgebraTextEnd.size()] != CR) {
      return false;
    }
    std::size_t next = kAlgebraTextEnd.size() + 1;
    for (int lf = 0; lf < 2 && next < rest.size() && rest[next] == LF; ++lf) ++next;
    return StartsWithNoCase(rest.substr(std::min(next, rest.size())), "%end");
  }

  bool Malformed() {
    if (result_.outcome == ReadOutcome::Complete) {
      result_.outcome = ReadOutcome::Malformed;
      result_.messageId = MSG_FILE_MALFORMED;
      result_.message = TextMessage(MSG_FILE_MALFORMED);
    }
    return false;
  }

  bool Stop(int textId, std::string text) {
    result_.outcome = ReadOutcome::Stopped;
    result_.messageId = textId;
    Message message;
    message.textId = -1;
    message.fixedText = std::move(text);
    result_.message = std::move(message);
    return false;
  }

  std::string Excerpt() const { return std::string(Rest().substr(0, kExcerptLength)); }

  // One block, from its header lines to the line after its "%End"; false when
  // the reading ends.
  bool ReadBlock() {
    for (auto& value : values_) value.clear();
    if (!ReadHeaderLines()) return false;
    if (!NextLine()) return false;
    const ItemType type = BlockType();
    std::optional<ExchangeItem> item;
    switch (type) {
      case ITEM_PROGRAM:
      case ITEM_TEXT_FM:
        item = ReadProgramData(type);
        break;
      case ITEM_PICTURE:
        item = ReadPictureData();
        break;
      case ITEM_MATRIX:
      case ITEM_LIST:
        item = ReadValueData(type);
        break;
      default:
        if (!SkipToEnd()) return false;
        break;
    }
    if (type != ITEM_OTHER) {
      if (!item) return false;
      result_.items.push_back(std::move(*item));
    }
    // At the "%End" line.
    if (file_.size() - pos_ < kMinBlockRest) return false;
    return NextLine() && NextLine();
  }

  // Remembers the values of the header lines; true at "%data record".
  bool ReadHeaderLines() {
    while (true) {
      const std::string_view rest = Rest();
      if (StartsWithNoCase(rest, "%data record")) return true;
      if (rest.starts_with("//")) {
        if (!NextLine()) return false;
        continue;
      }
      const auto key = std::find_if(kKeys.begin(), kKeys.end(), [&](std::string_view k) { return StartsWithNoCase(rest, k); });
      if (key == kKeys.end()) {
        return Stop(MSG_CAT_UNKNOWN_HEADER, texts_.Text(MSG_CAT_UNKNOWN_HEADER) + " : " + Excerpt());
      }
      const std::string_view afterColon = rest.substr(key->size());
      const std::size_t cr = afterColon.substr(0, CAT_MAX_VALUE_LENGTH + 1).find(CR);
      if (cr == std::string_view::npos) return Malformed();
      values_[static_cast<std::size_t>(key - kKeys.begin())] = std::string(afterColon.substr(0, cr));
      if (!NextLine()) return false;
    }
  }

  const std::string& Value(Key key) const { return values_[key]; }

  ItemType BlockType() const {
    const std::string& format = Value(KEY_FORMAT);
    const std::string& dataType = Value(KEY_DATA_TYPE);
    ItemType type = ITEM_OTHER;
    if (dataType == "PG") type = ITEM_PROGRAM;
    if (format == "TXT" && dataType == "FM") type = ITEM_TEXT_FM;
    if (format == "IMG" && dataType == "PC") type = ITEM_PICTURE;
    if (format == "VAL" && dataType == "MT") type = ITEM_MATRIX;
    if (format == "VAL" && dataType == "LT") type = ITEM_LIST;
    return type;
  }

  bool SkipToEnd() {
    while (!AtEnd()) {
      if (!NextLine()) return false;
    }
    return true;
  }

  std::optional<ExchangeItem> ReadProgramData(ItemType type) {
    if (LeadingNumber(Value(KEY_CAPACITY)) == 0) return Malformed(), std::nullopt;
    Bytes data = {RECORD_START};
    // The algebra variant's own lines at the start of the data record. Its
    // header has no password line, so the password is taken from here.
    while (StartsWithNoCase(Rest(), "password:") || StartsWithNoCase(Rest(), "basen:")) {
      if (StartsWithNoCase(Rest(), "password:") && Value(KEY_PASSWORD).empty()) {
        values_[KEY_PASSWORD] = std::string(CurrentLine().substr(kKeys[KEY_PASSWORD].size()));
      }
      if (!NextLine()) return std::nullopt;
    }
    while (!AtEnd()) {
      if (pos_ >= file_.size()) return Malformed(), std::nullopt;
      const char c = file_[pos_];
      if (c == LF) {
        ++pos_;
        continue;
      }
      if (c == CR) {
        // CR CR (and CR CR CR) is one line break; CR LF CR LF is two.
        if (pos_ == 0 || file_[pos_ - 1] != CR) data.push_back(0x0D);
        ++pos_;
        continue;
      }
      const ExchangeTextMatch match = tokens_.MatchExchangeText(Rest());
      if (match.consumed > 0) {
        data.insert(data.end(), match.code, match.code + std::min<std::size_t>(match.codeLength, 2));
        pos_ += match.consumed;
      } else if (AtAlgebraTextEnd()) {
        // The algebra variant closes its text with this mark; it stands for
        // a 0x00 byte, which the end of the data record removes again.
        data.push_back(0x00);
        pos_ += kAlgebraTextEnd.size();
      } else if (c == '\\') {
        if (pos_ + 1 >= file_.size()) return Malformed(), std::nullopt;
        data.push_back(static_cast<std::uint8_t>(file_[pos_ + 1]));
        pos_ += 2;
      } else {
        Stop(MSG_CAT_UNKNOWN_TOKEN, texts_.Text(MSG_CAT_UNKNOWN_TOKEN) + " : " + Excerpt() + "\n" +
                                        texts_.Text(MSG_CAT_UNKNOWN_TOKEN_HINT));
        return std::nullopt;
      }
      if (data.size() + 2 > READ_AREA_SIZE) return Malformed(), std::nullopt;
    }
    if (data.size() > 1 && data.back() == 0x0D) data.pop_back();
    if (data.size() > 1 && data.back() == 0x00) data.pop_back();
    data.push_back(0xFF);
    data.push_back(0);
    SetRecordChecksum(data);

    ExchangeItem item;
    item.type = type;
    item.name = Value(KEY_FILE_NAME);
    const auto info = ProgramInfoBytes({static_cast<std::uint32_t>(data.size()), Value(KEY_FILE_NAME), Value(KEY_PASSWORD)});
    item.info.assign(info.begin(), info.end());
    item.data = std::move(data);
    return item;
  }

  void CopyText(Bytes& header, std::size_t at, Key key, std::size_t count) const {
    const std::string& value = Value(key);
    for (std::size_t i = 0; i < count && i < value.size(); ++i) header[at + i] = static_cast<std::uint8_t>(value[i]);
  }

  void CopyName(Bytes& header, std::size_t at, Key key) const {
    WritePaddedName(std::span(header).subspan(at, RECORD_NAME_LENGTH), Value(key));
  }

  void CopyNumber(Bytes& header, std::size_t at, Key key) const {
    WriteU16BE(header, at, static_cast<std::uint16_t>(LeadingNumber(Value(key))));
  }

  // The parts of a record header common to pictures and values.
  Bytes CommonHeader() const {
    Bytes header(LINK_HEADER_LENGTH, 0xFF);
    header[0] = RECORD_START;
    CopyText(header, 1, KEY_FORMAT, 3);
    header[4] = static_cast<std::uint8_t>(LeadingNumber(Value(KEY_COMM_SW)));
    CopyText(header, 5, KEY_DATA_TYPE, 2);
    CopyName(header, link_header::GROUP, KEY_GROUP_NAME);
    return header;
  }

  // An item whose info block is its record header; named as the header names it.
  static ExchangeItem HeaderItem(ItemType type, Bytes header, Bytes data) {
    ExchangeItem item;
    item.type = type;
    item.name = HeaderName(header);
    item.info = std::move(header);
    item.data = std::move(data);
    return item;
  }

  std::optional<ExchangeItem> ReadPictureData() {
    Bytes header = CommonHeader();
    CopyNumber(header, link_header::ROWS, KEY_HEIGHT);
    CopyNumber(header, link_header::COLUMNS, KEY_WIDTH);
    CopyName(header, link_header::NAME, KEY_DATA_NAME);
    CopyText(header, 27, KEY_START_POSITION, 2);
    CopyText(header, 29, KEY_DIRECTION, 1);
    CopyText(header, 30, KEY_BYTE_DIRECTION, 1);
    CopyText(header, 31, KEY_BIT_WEIGHT, 1);
    CopyNumber(header, link_header::COLOURS, KEY_COLORS);
    CopyNumber(header, link_header::SHEETS, KEY_SHEETS);
    SetRecordChecksum(header);

    // Each sheet is its "Sheet:" line, its "Color:" line and exactly 64
    // bitmap lines, so that it becomes one whole picture sheet record; any
    // other order would give records the picture's readers cannot walk.
    Bytes data;
    std::optional<std::size_t> sheetStart;  // none before the first "Sheet:"
    const auto inSheet = [&] { return data.size() - *sheetStart; };
    const auto sheetComplete = [&] { return !sheetStart || inSheet() == CAT_SHEET_LENGTH; };
    while (!AtEnd()) {
      const std::string_view line = CurrentLine();
      if (StartsWithNoCase(line, "sheet:")) {
        if (!sheetComplete()) return Malformed(), std::nullopt;
        sheetStart = data.size();
        data.push_back(RECORD_START);
        data.resize(data.size() + 2);
        WriteU16BE(data, data.size() - 2, static_cast<std::uint16_t>(LeadingNumber(line.substr(6))));
      } else if (StartsWithNoCase(line, "color:")) {
        if (!sheetStart || inSheet() != picture_sheet::COLOUR) return Malformed(), std::nullopt;
        data.resize(data.size() + 2);
        WriteU16BE(data, data.size() - 2, static_cast<std::uint16_t>(LeadingNumber(line.substr(6))));
      } else {
        // A bitmap line: its first 32 characters as 16 hexadecimal pairs; a
        // character that is no hex digit counts 0. A shorter line would be
        // read on into the next one.
        const std::size_t bitmapEnd = picture_sheet::BITMAP + CAT_SHEET_BITMAP_BYTES;
        if (line.size() < 32 || !sheetStart || inSheet() < picture_sheet::BITMAP || inSheet() >= bitmapEnd) {
          return Malformed(), std::nullopt;
        }
        for (std::size_t i = 0; i < 32; i += 2) data.push_back(ParseHexByte(line[i], line[i + 1]));
        if (inSheet() == bitmapEnd) {
          data.push_back(0);
          SetRecordChecksum(std::span(data).subspan(*sheetStart));
        }
      }
      if (data.size() > READ_AREA_SIZE) return Malformed(), std::nullopt;
      if (!NextLine()) return std::nullopt;
    }
    if (!sheetComplete()) return Malformed(), std::nullopt;
    return HeaderItem(ITEM_PICTURE, std::move(header), std::move(data));
  }

  // "Value : row column number", read as far as it goes: the number is what
  // the rest of the line starts with (0 when nothing), the exponent what
  // starts three characters after a backslash. Nullopt when the line has no
  // colon, an index has more than four digits or does not end at a blank
  // within the line, or the value is beyond the calculator's range.
  static std::optional<std::array<std::uint8_t, VALUE_RECORD_LENGTH>> ParseValueLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    line.remove_prefix(colon + 1);
    auto skipBlanks = [&] {
      while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    };
    auto index = [&]() -> std::optional<std::uint16_t> {
      skipBlanks();
      const std::size_t blank = line.find(' ');
      if (blank == std::string_view::npos) return std::nullopt;
      std::size_t digits = 0;
      while (digits < blank && IsDigit(line[digits])) ++digits;
      if (digits > CAT_MAX_INDEX_DIGITS) return std::nullopt;
      const auto value = static_cast<std::uint16_t>(LeadingNumber(line));
      line.remove_prefix(blank);
      return value;
    };
    const auto row = index();
    if (!row) return std::nullopt;
    const auto column = index();
    if (!column) return std::nullopt;
    skipBlanks();
    std::optional<double> value;
    const std::size_t backslash = line.find('\\');
    if (backslash != std::string_view::npos) {
      const int exponent = backslash + 3 < line.size() ? LeadingExponent(line.substr(backslash + 3)) : 0;
      value = ScaledDecimal(LeadingDecimal(line.substr(0, backslash)), exponent);
    } else {
      value = ScaledDecimal(LeadingDecimal(line), 0);
    }
    if (!value) return std::nullopt;
    return BuildValueRecord(*row, *column, *value);
  }

  std::optional<ExchangeItem> ReadValueData(ItemType type) {
    Bytes header = CommonHeader();
    CopyNumber(header, link_header::ROWS, KEY_ROWS);
    CopyNumber(header, link_header::COLUMNS, KEY_COLUMNS);
    CopyName(header, link_header::NAME, KEY_VARIABLE_NAME);
    CopyText(header, 27, KEY_VARIABLE_TYPE, 1);
    header[28] = static_cast<std::uint8_t>(LeadingNumber(Value(KEY_VARIABLE_LENGTH)));
    SetRecordChecksum(header);

    Bytes data;
    while (!AtEnd()) {
      const auto record = ParseValueLine(CurrentLine());
      if (!record) return Malformed(), std::nullopt;
      data.insert(data.end(), record->begin(), record->end());
      if (data.size() > READ_AREA_SIZE) return Malformed(), std::nullopt;
      if (!NextLine()) return std::nullopt;
    }
    return HeaderItem(type, std::move(header), std::move(data));
  }

  std::string_view file_;
  const ExchangeSpelling& tokens_;
  const TextLookup& texts_;
  std::size_t pos_ = 0;
  std::array<std::string, KEY_COUNT> values_;
  ReadResult result_;
};

}  // namespace

ReadResult ReadCat(std::string_view file, const ExchangeSpelling& tokens, const TextLookup& texts) {
  return CatReader(file, tokens, texts).Read();
}

}  // namespace korvane
