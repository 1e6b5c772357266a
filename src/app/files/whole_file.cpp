#include "files/whole_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <system_error>

namespace ovn {
namespace {

constexpr std::string_view kTemporaryEnding = ".tmp";
constexpr int kMostLinkHops = 40;  // as the system follows them

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t count = ::write(fd, content.data(), content.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      if (count == 0) errno = EIO;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(count));
  }
  return true;
}

// The permissions a file written now gets: those of the file it replaces, else what the umask allows.
mode_t NewFileMode(const std::filesystem::path& file) {
  struct stat existing {};
  if (::stat(file.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file a chain of symbolic links ends at (the link's own path when it cannot be followed).
std::filesystem::path LinkTarget(std::filesystem::path file) {
  std::error_code error;
  for (int hop = 0;
       hop < kMostLinkHops && std::filesystem::is_symlink(std::filesystem::symlink_status(file, error));
       ++hop) {
    const std::filesystem::path target = std::filesystem::read_symlink(file, error);
    if (error) break;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

// The temporary file a process writes `file` through: "<file>.<process>.tmp". The process in its name
// tells a write in progress from one that was killed.
std::string TemporaryName(const std::filesystem::path& file, pid_t process) {
  return file.string() + "." + std::to_string(process) + std::string(kTemporaryEnding);
}

// Removes the temporary files of `file` whose writing process no longer runs.
void RemoveAbandonedTemporaries(const std::filesystem::path& file) {
  const std::string prefix = file.filename().string() + ".";
  std::error_code error;
  const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(prefix) || !name.ends_with(kTemporaryEnding)) continue;
    const std::string_view digits =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - kTemporaryEnding.size());
    pid_t process = 0;
    const auto [end, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), process);
    if (failure != std::errc() || end != digits.data() + digits.size() || process <= 0) continue;
    if (process == ::getpid() || (::kill(process, 0) != 0 && errno == ESRCH)) ::unlink(entry.path().c_str());
  }
}

}  // namespace

std::string SystemMessage(int error) {
  return std::generic_category().message(error);
}

FileText ReadWholeFile(const std::filesystem::path& file, std::uintmax_t max_size) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return {true, "", SystemMessage(errno)};
  }
  FileText result{true, "", ""};
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    result.error = SystemMessage(errno);
  } else if (!S_ISREG(status.st_mode)) {
    result.error = "это не обычный файл";
  } else if (static_cast<std::uintmax_t>(status.st_size) > max_size) {
    result.error = "файл больше " + std::to_string(max_size) + " байт";
  }
  std::array<char, 8192> buffer;
  while (result.error.empty()) {
    const ssize_t count = ::read(fd, buffer.data(), buffer.size());
    if (count > 0) {
      result.content.append(buffer.data(), static_cast<std::size_t>(count));
      // A file that grows while it is read is held to the same limit.
      if (result.content.size() > max_size)
        result.error = "файл больше " + std::to_string(max_size) + " байт";
    } else if (count == 0) {
      break;
    } else if (errno != EINTR) {
      result.error = SystemMessage(errno);
    }
  }
  ::close(fd);
  if (!result.error.empty()) result.content.clear();
  return result;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
  return lines;
}

bool IsWritable(const std::filesystem::path& file) {
  struct stat status {};
  return ::access(file.c_str(), W_OK) == 0 && ::stat(file.c_str(), &status) == 0 &&
         (status.st_mode & 0222) != 0;
}

std::string ReplaceFileAtomically(const std::filesystem::path& link, std::string_view content) {
  const std::filesystem::path file = LinkTarget(link);
  if (::access(file.c_str(), F_OK) == 0 && !IsWritable(file)) return SystemMessage(EACCES);
  RemoveAbandonedTemporaries(file);
  const mode_t mode = NewFileMode(file);
  const std::string temporary = TemporaryName(file, ::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return SystemMessage(errno);
  bool written = ::fchmod(fd, mode) == 0 && WriteAll(fd, content) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(temporary.c_str(), file.c_str()) == 0) {
    // The rename itself reaches the disk only with its folder.
    SyncFolder(file.parent_path());
    return "";
  }
  if (written) error = errno;
  ::unlink(temporary.c_str());
  return SystemMessage(error);
}

FileLock::FileLock(const std::filesystem::path& file) {
  for (;;) {
    fd_ = ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd_ < 0) break;
    int locked;
    while ((locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) break;
    struct stat held {
    }, named{};
    if (::fstat(fd_, &held) == 0 && ::stat(file.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      return;
    }
    // The file was replaced or removed while this process waited: lock the one the path names now.
    ::close(fd_);
  }
  error_ = SystemMessage(errno);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace ovn
