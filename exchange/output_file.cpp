#include "exchange/output_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "exchange/exchange_item.h"

namespace korvane {

namespace {

// A name beside the target that no file has yet, so that no other file (a
// ".partial" of the user's own among them) is overwritten on the way.
std::string FreePartialName(const std::string& path) {
  std::string name = path + ".partial";
  std::error_code ignored;
  for (int n = 1; std::filesystem::exists(name, ignored) && n < 1000; ++n) name = path + ".partial" + std::to_string(n);
  return name;
}

}  // namespace

WriteFileResult WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::string partial = FreePartialName(path);
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) return WriteFileResult::CannotCreate;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(partial, ignored);
      return WriteFileResult::WriteFailed;
    }
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    std::filesystem::remove(partial, error);
    return WriteFileResult::WriteFailed;
  }
  return WriteFileResult::Written;
}

WriteFileResult WriteWholeFile(const std::string& path, ByteSpan bytes) {
  return WriteWholeFile(path, std::string_view(std::string(bytes.begin(), bytes.end())));
}

bool WriteExportFile(const std::string& path, std::string_view bytes, MessageSink& messages) {
  switch (WriteWholeFile(path, bytes)) {
    case WriteFileResult::Written:
      return true;
    case WriteFileResult::CannotCreate:
      messages.ShowMessage(TextMessage(MSG_EXPORT_CANNOT_CREATE, {path}));
      return false;
    case WriteFileResult::WriteFailed:
      messages.ShowMessage(TextMessage(MSG_EXPORT_WRITE_FAILED, {path}));
      return false;
  }
  return false;
}

}  // namespace korvane
