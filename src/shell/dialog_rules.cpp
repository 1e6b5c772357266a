#include "dialog_rules.h"

namespace ovn {
namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string_view::npos; start = end + 1) {
    parts.emplace_back(text.substr(start, end - start));
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

}  // namespace

std::vector<FilterPair> ParseFilter(std::string_view filter) {
  std::vector<FilterPair> pairs;
  if (filter.empty()) return pairs;
  const std::vector<std::string> elements = Split(filter, '|');
  for (std::size_t i = 0; i + 1 < elements.size(); i += 2) {
    pairs.push_back({elements[i], Split(elements[i + 1], ';')});
  }
  return pairs;
}

std::string NameFilter(const FilterPair& pair) {
  std::string patterns;
  for (const std::string& pattern : pair.patterns) {
    if (!patterns.empty()) patterns += ' ';
    patterns += pattern;
  }
  return pair.description + " (" + patterns + ")";
}

std::string DefaultExtension(std::string_view filter, std::int32_t filter_index) {
  if (filter.empty() || filter_index < 0) return "";
  const std::vector<std::string> elements = Split(filter, '|');
  const std::size_t element = 2 * static_cast<std::size_t>(filter_index) + 1;
  if (element >= elements.size()) return "";
  const std::string pattern = Split(elements[element], ';').back();
  const std::size_t point = pattern.rfind('.');
  return point == std::string::npos ? pattern : pattern.substr(point + 1);
}

std::int32_t SelectedFilterPair(std::int32_t filter_index) {
  return filter_index > 1 ? filter_index - 1 : 0;
}

FileDialogBehaviour FileDialogFor(FileDialogKind kind, std::int32_t flags) {
  const std::int32_t given = kind == FileDialogKind::kSave ? kOverwritePromptFlag : flags;
  return {(given & kFileMustExistFlag) != 0, (given & kOverwritePromptFlag) != 0};
}

std::int32_t FolderBrowseFlags(std::int32_t flags) {
  constexpr std::int32_t kComputersPrintersFiles = 0x1000 | 0x2000 | kBrowseIncludeFiles;
  constexpr std::int32_t kKeptBrowseFlags = 0x7001;
  return (flags & kComputersPrintersFiles) != 0 ? flags & kKeptBrowseFlags : kBrowseFileSystemFoldersOnly;
}

std::int32_t NormalizeIconSize(std::int32_t size) {
  return size == 16 ? 16 : 32;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) {
    if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) ++count;  // continuation bytes are not counted
  }
  return count;
}

RgbParts SplitColour(std::uint32_t colour) {
  return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
          static_cast<int>((colour >> 16) & 0xFF)};
}

std::uint32_t JoinColour(RgbParts parts) {
  return static_cast<std::uint32_t>(parts.red & 0xFF) | static_cast<std::uint32_t>(parts.green & 0xFF) << 8 |
         static_cast<std::uint32_t>(parts.blue & 0xFF) << 16;
}

}  // namespace ovn
