#include "files/number_list_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <system_error>

#include "files/whole_file.h"
#include "global/global.h"

namespace ovn {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kClosingLine = "\\Numbers";
constexpr std::string_view kVersionPrefix = "Version=";
constexpr std::string_view kDamaged = "Cохраненный список чисел поврежден!";  // the first letter is Latin

// The header lines of a script-settings list, each with the text shown when its line differs. Line 3,
// the version, is checked on its own (kVersionLine).
struct HeaderLine {
  std::string_view text;
  std::string_view failure;
};
constexpr std::size_t kVersionLine = 2;
constexpr std::array<HeaderLine, 8> kHeader = {{
    {"Orvane Script Settings", "Этот файл не является Orvane Script Settings!"},
    {"Saved Numbers", "Этот файл не является сохраненным списком чисел!"},
    {"Version=1", "Этот файл не является сохраненным списком чисел!"},
    {"SizeNum=10", "Неправильная размерность чисел в  сохраненном списке чисел!"},
    {"/Description", kDamaged},
    {"ReadNumAs 10", "В этой версии допустимы только десятичные числа!"},
    {"\\Description", kDamaged},
    {"/Numbers", kDamaged},
}};
constexpr std::string_view kNewerVersion = "Неправильная версия сохраненного списка чисел!";
constexpr std::string_view kUnclosed = "Cохраненный список чисел не завершен!";

std::string WriteFailure(const std::filesystem::path& file, const std::string& reason) {
  return "Не удалось записать файл «" + file.string() + "»: " + reason + ".";
}

std::string_view TrimSpaces(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The version as a number, read as its longest leading number: a value that starts with no number reads
// as 0, as the program always read it.
double VersionValue(std::string_view text) {
  text = TrimSpaces(text);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// "" when the header is that of a list this version reads, else the text telling what is wrong.
std::string_view CheckHeader(const std::vector<std::string_view>& lines) {
  for (std::size_t index = 0; index < kHeader.size(); ++index) {
    const HeaderLine& expected = kHeader[index];
    if (index >= lines.size()) return expected.failure;
    const std::string_view line = lines[index];
    if (index != kVersionLine) {
      if (line != expected.text) return expected.failure;
      continue;
    }
    if (!line.starts_with(kVersionPrefix) || line.size() == kVersionPrefix.size()) return expected.failure;
    if (VersionValue(line.substr(kVersionPrefix.size())) > 1) return kNewerVersion;
  }
  return {};
}

// The memory list never has a header, whatever its name.
bool IsFramed(const std::filesystem::path& file, ListKind kind) {
  return kind == ListKind::kNumberFile && IsScriptSettingsName(file);
}

}  // namespace

bool IsScriptSettingsName(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  if (name.size() < 3) return false;
  const std::string_view ending = std::string_view(name).substr(name.size() - 3);
  constexpr std::string_view kEnding = "OSV";
  for (std::size_t index = 0; index < kEnding.size(); ++index) {
    const char letter = ending[index];
    if (letter != kEnding[index] && letter != kEnding[index] - 'A' + 'a') return false;
  }
  return true;
}

NumberRecord ParseRecord(std::string_view line, ListKind kind) {
  const std::size_t space = line.find(' ');
  if (space == std::string_view::npos) return {std::string(line), ""};
  const std::string_view rest = line.substr(space + 1);
  return {std::string(line.substr(0, space)),
          std::string(kind == ListKind::kNumberFile ? TrimSpaces(rest) : rest)};
}

NumberListContent ParseNumberList(std::string_view text, const std::filesystem::path& file, ListKind kind) {
  NumberListContent content;
  std::vector<std::string_view> lines = SplitLines(text);
  const bool framed = IsFramed(file, kind);
  std::size_t first = 0;
  if (framed) {
    if (const std::string_view failure = CheckHeader(lines); !failure.empty()) {
      content.error = failure;
      return content;
    }
    first = kHeader.size();
  }
  if (lines.size() - first > kMaxLinesAfterHeader) {
    content.error = "В файле «" + file.string() + "» больше " + std::to_string(kMaxLinesAfterHeader) +
                    " строк списка: такой список не читается.";
    return content;
  }
  std::size_t end = lines.size();
  if (framed) {
    // Empty lines are no records; one after the closing line does not unclose the list.
    std::size_t last = end;
    while (last > first && lines[last - 1].empty()) --last;
    if (last > first && lines[last - 1] == kClosingLine) {
      end = last - 1;
    } else {
      content.warning = kUnclosed;
    }
  }
  for (std::size_t index = first; index < end; ++index) {
    if (!lines[index].empty()) content.records.push_back(ParseRecord(lines[index], kind));
  }
  return content;
}

NumberListContent ReadNumberList(const std::filesystem::path& file, ListKind kind) {
  const FileText file_text = ReadWholeFile(file, kMaxListFileSize);
  const std::string& text = file_text.content;
  if (!file_text.error.empty()) {
    NumberListContent content;
    content.error = "Не удалось прочитать файл «" + file.string() + "»: " + file_text.error + ".";
    return content;
  }
  // An empty file is an empty list in either variant: it has no header to check.
  if (text.empty()) return {};
  return ParseNumberList(text, file, kind);
}

std::string FormatNumberList(const std::vector<NumberRecord>& records, const std::filesystem::path& file,
                             ListKind kind) {
  std::string text;
  const bool framed = IsFramed(file, kind);
  const auto add_line = [&text](std::string_view line) {
    text += line;
    text += kLineEnd;
  };
  if (framed) {
    for (const HeaderLine& line : kHeader) add_line(line.text);
  }
  for (const NumberRecord& record : records) add_line(record.name + ' ' + record.value);
  if (framed) add_line(kClosingLine);
  return text;
}

std::string WriteNumberList(const std::filesystem::path& file, const std::vector<NumberRecord>& records,
                            ListKind kind) {
  const std::string reason = ReplaceFileAtomically(file, FormatNumberList(records, file, kind));
  return reason.empty() ? "" : WriteFailure(file, reason);
}

std::string AppendNumberRecord(const std::filesystem::path& file, const NumberRecord& record) {
  FileText file_text = ReadWholeFile(file);
  if (!file_text.error.empty()) return WriteFailure(file, file_text.error);
  std::string& text = file_text.content;
  // A last line left without its line end gets one, so the new record starts a line of its own.
  if (!text.empty() && text.back() != '\n') text += kLineEnd;
  text += record.name + ' ' + record.value;
  text += kLineEnd;
  const std::string reason = ReplaceFileAtomically(file, text);
  return reason.empty() ? "" : WriteFailure(file, reason);
}

std::string CreateIfMissing(const std::filesystem::path& file) {
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  if (error) return WriteFailure(file, error.message());
  // O_EXCL: an existing file, read-only or not, is left alone.
  const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) return "";
  if (fd < 0) return WriteFailure(file, SystemMessage(errno));
  ::close(fd);
  return "";
}

std::filesystem::path MemoryListPath(const std::string& configured) {
  if (!configured.empty()) return configured;
  std::filesystem::path data = UserDataHome();
  if (data.empty()) data = std::filesystem::temp_directory_path();
  return data / "orvanel" / "memlist.num";
}

}  // namespace ovn
