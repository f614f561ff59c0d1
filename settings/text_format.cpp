#include "settings/text_format.h"

#include <algorithm>
#include <cstdio>

namespace korvane {
namespace {

struct Placeholder {
  std::string flags;
  int width = -1;
  int precision = -1;
  char conversion = 0;
};

// Reads flags, width, precision and an optional length modifier after '%'.
// Returns the position after the conversion character, or npos when malformed.
std::size_t ParsePlaceholder(std::string_view f, std::size_t i, Placeholder& s) {
  while (i < f.size() && std::string_view("-0+ #").find(f[i]) != std::string_view::npos) s.flags += f[i++];
  auto readNumber = [&](int& out) {
    if (i >= f.size() || f[i] < '0' || f[i] > '9') return;
    out = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
      out = std::min(out * 10 + (f[i] - '0'), 999);  // keep widths sane
      ++i;
    }
  };
  readNumber(s.width);
  if (i < f.size() && f[i] == '.') {
    ++i;
    s.precision = 0;
    readNumber(s.precision);
  }
  while (i < f.size() && (f[i] == 'l' || f[i] == 'h')) ++i;
  if (i >= f.size()) return std::string_view::npos;
  s.conversion = f[i];
  return i + 1;
}

std::string Pad(std::string body, const Placeholder& s) {
  if (s.width > 0 && static_cast<int>(body.size()) < s.width) {
    const std::size_t fill = static_cast<std::size_t>(s.width) - body.size();
    if (s.flags.find('-') != std::string::npos)
      body.append(fill, ' ');
    else
      body.insert(0, fill, ' ');
  }
  return body;
}

std::string FormatNumber(std::int64_t v, const Placeholder& s) {
  std::string fmt = "%" + s.flags;
  if (s.width > 0) fmt += std::to_string(s.width);
  if (s.precision >= 0) fmt += "." + std::to_string(s.precision);
  char conv = s.conversion;
  if (conv == 'i') conv = 'd';
  fmt += "ll";
  fmt += conv;
  char buffer[1100];
  if (conv == 'd')
    std::snprintf(buffer, sizeof buffer, fmt.c_str(), static_cast<long long>(v));
  else
    std::snprintf(buffer, sizeof buffer, fmt.c_str(), static_cast<unsigned long long>(v));
  return buffer;
}

}  // namespace

std::string FormatText(std::string_view f, const std::vector<FormatArg>& args) {
  std::string out;
  std::size_t next = 0;
  std::size_t i = 0;
  while (i < f.size()) {
    if (f[i] != '%') {
      out += f[i++];
      continue;
    }
    if (i + 1 < f.size() && f[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    Placeholder s;
    const std::size_t end = ParsePlaceholder(f, i + 1, s);
    if (end == std::string_view::npos ||
        std::string_view("diuxXcs").find(s.conversion) == std::string_view::npos) {
      out += f[i++];  // not a placeholder we know: copy the '%' and go on
      continue;
    }
    i = end;
    if (next >= args.size()) continue;  // no argument: leave the placeholder out
    const FormatArg& a = args[next++];
    if (const auto* text = std::get_if<std::string>(&a)) {
      std::string body = *text;
      if (s.conversion == 's' && s.precision >= 0 && body.size() > static_cast<std::size_t>(s.precision))
        body.resize(static_cast<std::size_t>(s.precision));
      out += Pad(std::move(body), s);
    } else {
      const std::int64_t v = std::get<std::int64_t>(a);
      if (s.conversion == 's') {
        out += Pad(std::to_string(v), s);
      } else if (s.conversion == 'c') {
        out += Pad(std::string(1, static_cast<char>(v)), s);
      } else {
        out += FormatNumber(v, s);
      }
    }
  }
  return out;
}

}  // namespace korvane
