// Files read and written whole. Writing always goes through a temporary file in the same folder and a
// rename, so a crash, a full disk or a failed write never leaves a half-written file behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ovn {

struct FileText {
  bool exists = false;
  std::string content;
  std::string error;  // why an existing file could not be read; "" when it could
};

// The whole content of `file`; a missing file (or a missing folder on its path) is not an error.
FileText ReadWholeFile(const std::filesystem::path& file);

// Writes `content` to a temporary file beside `file`, then renames it over `file`. Returns "" or the
// system's reason; on failure `file` is untouched and no temporary file is left. A new file gets the
// permissions the user's umask allows, a replaced one keeps its own.
[[nodiscard]] std::string ReplaceFileAtomically(const std::filesystem::path& file, std::string_view content);

// The system's text for an errno value.
std::string SystemMessage(int error);

}  // namespace ovn
