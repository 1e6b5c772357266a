// Number-list files: text files of named numbers, one record per line ("name value"), lines ended by
// CR LF (LF and a lone CR read alike). Names and values are bytes: text that is not UTF-8 (older files
// use a single-byte code page) is kept exactly as it was read. Two variants of number files, chosen by the
// file name alone:
//   - plain: every non-empty line is a record (every "num" file);
//   - script settings (a name ending in "OSV", any case): the records sit between an eight-line header
//     ("Orvane Script Settings" ... "/Numbers") and a closing line "\Numbers".
// The memory list is always plain, whatever its name.
// The name of a record is everything before its first space, so a name never holds a space; a line
// without a space is a record with that name and an empty value. Nothing read is dropped: records
// sharing a name are all kept, in file order.
//
// Files are always replaced whole (a temporary file in the same folder, then rename), so a failed write
// leaves the old file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace ovn {

struct NumberRecord {
  std::string name;
  std::string value;
  bool operator==(const NumberRecord&) const = default;
};

// The line count of a list is a 16-bit number: a longer file is refused whole, never read in part.
inline constexpr std::size_t kMaxLinesAfterHeader = 32766;

// The largest file a list can come from: every line after the header a record of the longest number
// (32,767 characters) and its line end, the header and closing line counted as lines too. A larger file is
// refused unread, so a huge file cannot fill the memory.
inline constexpr std::uintmax_t kMaxListFileSize = (kMaxLinesAfterHeader + 9) * (32767 + 2);

// Which kind of list a file holds.
enum class ListKind {
  kNumberFile,  // framed when its name ends in "OSV"; values trimmed of leading and trailing spaces
  kMemoryList,  // never framed; values character for character after the first space
};

// Whether `file` names the script-settings variant: its name ends in "OSV", compared without case.
bool IsScriptSettingsName(const std::filesystem::path& file);

// One record line (without its line end) split into name and value.
NumberRecord ParseRecord(std::string_view line, ListKind kind);

struct NumberListContent {
  std::vector<NumberRecord> records;  // in file order
  // Why the file was refused (a bad header, too many lines, unreadable): no record was read. The texts
  // of header failures are shown to the user as they are.
  std::string error;
  // A problem the records were read in spite of (an unclosed script-settings list).
  std::string warning;
};

// Reads the records of `text`, the whole content of a file named `file` (the name picks the variant).
NumberListContent ParseNumberList(std::string_view text, const std::filesystem::path& file,
                                  ListKind kind = ListKind::kNumberFile);

// Reads the file; a missing or empty file gives an empty list. Only a regular file of at most
// kMaxListFileSize bytes is read.
NumberListContent ReadNumberList(const std::filesystem::path& file, ListKind kind = ListKind::kNumberFile);

// The content a list is written as: for script settings the header with "Version=1" and the closing
// line, and one "name value" line per record, each ended by CR LF.
std::string FormatNumberList(const std::vector<NumberRecord>& records, const std::filesystem::path& file,
                             ListKind kind = ListKind::kNumberFile);

// Replaces the file with the list, atomically. Returns "" or the text telling the user why the file
// (named in it) was not written; the old file is then untouched.
[[nodiscard]] std::string WriteNumberList(const std::filesystem::path& file,
                                          const std::vector<NumberRecord>& records,
                                          ListKind kind = ListKind::kNumberFile);

// Adds one record line at the end of a plain list, keeping every byte already there; atomic as above.
[[nodiscard]] std::string AppendNumberRecord(const std::filesystem::path& file, const NumberRecord& record);

// Creates the file empty, with its folder, when it does not exist; an existing file is not opened for
// writing, so a read-only one is fine. Returns "" or why it could not.
[[nodiscard]] std::string CreateIfMissing(const std::filesystem::path& file);

// The memory list's file: `configured` when set, else $XDG_DATA_HOME/orvanel/memlist.num (default
// ~/.local/share/orvanel/memlist.num), so that numbers added with no file chosen are kept all the same.
std::filesystem::path MemoryListPath(const std::string& configured);

}  // namespace ovn
