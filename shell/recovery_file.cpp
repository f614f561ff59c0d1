#include "shell/recovery_file.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace korvane {
namespace {

constexpr std::string_view kMagic = "KORVANE RECOVERY 1\n";

}  // namespace

bool RecoveryFile::Write(const RecoveredEdit& edit) const {
  const std::string temporary = path_ + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << kMagic << "item=" << edit.item << "\nname=" << edit.name << "\ntime=" << static_cast<long long>(edit.when)
        << "\n\n"
        << edit.text;
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      return false;
    }
  }
  return std::rename(temporary.c_str(), path_.c_str()) == 0;
}

std::optional<RecoveredEdit> RecoveryFile::Read() const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!bytes.starts_with(kMagic)) return std::nullopt;
  const std::size_t end = bytes.find("\n\n", kMagic.size() - 1);
  if (end == std::string::npos) return std::nullopt;
  RecoveredEdit edit;
  std::istringstream fields(bytes.substr(kMagic.size(), end - kMagic.size()));
  std::string line;
  bool haveItem = false;
  while (std::getline(fields, line)) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    const auto number = [&value](auto& out) {
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), out);
      return error == std::errc() && end == value.data() + value.size();
    };
    long long when = 0;
    if (key == "item") {
      if (!number(edit.item)) return std::nullopt;  // not a file of ours
      haveItem = true;
    } else if (key == "name") {
      edit.name = value;
    } else if (key == "time") {
      if (!number(when)) return std::nullopt;
      edit.when = static_cast<std::time_t>(when);
    }
  }
  if (!haveItem) return std::nullopt;
  edit.text = bytes.substr(end + 2);
  return edit;
}

void RecoveryFile::Remove() const { std::remove(path_.c_str()); }

std::string RecoveryTimeText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

}  // namespace korvane
