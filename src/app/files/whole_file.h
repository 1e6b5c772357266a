// Files read and written whole. Writing always goes through a temporary file in the same folder and a
// rename, so a crash, a full disk or a failed write never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace ovn {

struct FileText {
  bool exists = false;
  std::string content;
  std::string error;  // why an existing file could not be read; "" when it could
};

// The whole content of `file`; a missing file (or a missing folder on its path) is not an error. Only a
// regular file is read: a FIFO or a device would block the program or never end, so it is an error, as
// is a file larger than `max_size` bytes (refused unread).
FileText ReadWholeFile(const std::filesystem::path& file,
                       std::uintmax_t max_size = std::numeric_limits<std::uintmax_t>::max());

// The lines of `text`, each without its line end. LF, CR LF and a lone CR each end a line, so files
// from every platform read alike; a line end at the very end starts no further line.
std::vector<std::string_view> SplitLines(std::string_view text);

// Writes `content` to a temporary file beside `file`, then renames it over `file`. Returns "" or the
// system's reason; on failure `file` is untouched and no temporary file is left. A new file gets the
// permissions the user's umask allows, a replaced one keeps its own. A symbolic link stays a link: the
// file it points to is replaced. A file that is not writable (see IsWritable) is refused. Temporary files
// that a killed write left beside `file` are removed.
[[nodiscard]] std::string ReplaceFileAtomically(const std::filesystem::path& file, std::string_view content);

// Whether the user may change the existing `file`: the system allows it and the file has a write
// permission bit (a file without any is read-only to the program even when it runs as root).
bool IsWritable(const std::filesystem::path& file);

// An advisory lock (flock) held on `file` while the object lives, so that the instances of the program
// that change the same file do so one after another. The file is created empty when missing. Since a
// change replaces the file, the lock is taken again until it is held on the file the path names now.
class FileLock {
 public:
  explicit FileLock(const std::filesystem::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Why the lock could not be taken, "" when it is held.
  const std::string& error() const noexcept { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

// The system's text for an errno value.
std::string SystemMessage(int error);

}  // namespace ovn
