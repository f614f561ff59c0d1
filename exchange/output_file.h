#pragma once
// Exchange files are written whole: into a new file beside the target, which
// is renamed over the target only when every byte is on disk, so a failed
// export never leaves a half-written or emptied file behind.

#include <string>
#include <string_view>

#include "link/calculator_records.h"
#include "settings/message_sink.h"

namespace korvane {

enum class WriteFileResult { Written, CannotCreate, WriteFailed };

[[nodiscard]] WriteFileResult WriteWholeFile(const std::string& path, std::string_view bytes);
[[nodiscard]] WriteFileResult WriteWholeFile(const std::string& path, ByteSpan bytes);

// WriteWholeFile, reporting a failure (messages 170 and 171 with the path).
[[nodiscard]] bool WriteExportFile(const std::string& path, std::string_view bytes, MessageSink& messages);

}  // namespace korvane
