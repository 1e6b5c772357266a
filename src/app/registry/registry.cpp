#include "registry/registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "files/whole_file.h"

namespace ovn {
namespace {

constexpr std::string_view kStoreFileName = "registry.txt";
constexpr std::string_view kFileHeader =
    "# orvanel settings store: [key] lines, then name=value lines; %XX is a byte\n";
constexpr std::string_view kNameSpecials = "=[#";
constexpr std::string_view kKeySpecials = "]";

constexpr std::string_view RootName(RegistryRoot root) {
  return root == RegistryRoot::kLocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Names compare without regard to ASCII case: their lower-case form is their key in an index.
std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string KeyPath(RegistryRoot root, std::string_view key) {
  std::string path(RootName(root));
  if (!key.empty()) path.append("\\").append(key);
  return path;
}

bool HasKnownRoot(std::string_view path) {
  const std::string_view root = path.substr(0, path.find('\\'));
  return SameName(root, RootName(RegistryRoot::kLocalMachine)) ||
         SameName(root, RootName(RegistryRoot::kCurrentUser));
}

std::string Escape(std::string_view text, std::string_view specials) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F || c == '%' || specials.find(c) != std::string_view::npos) {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0xF]);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Nothing when a "%" is not followed by two hexadecimal digits.
std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out.push_back(text[i]);
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = HexDigit(text[i + 1]);
    const int low = HexDigit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(static_cast<char>(high * 16 + low));
    i += 2;
  }
  return out;
}

std::string Quoted(const std::filesystem::path& file) {
  return "«" + file.string() + "»";
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    return user->pw_dir;
  }
  return std::filesystem::current_path();
}

}  // namespace

std::filesystem::path RegistryStorePath() {
  if (const char* folder = std::getenv("ORVANEL_CONFIG_DIR"); folder != nullptr && *folder != '\0') {
    return std::filesystem::path(folder) / kStoreFileName;
  }
  // The XDG rules ignore a relative XDG_CONFIG_HOME.
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
    return std::filesystem::path(config) / "orvanel" / kStoreFileName;
  }
  return HomeFolder() / ".config" / "orvanel" / kStoreFileName;
}

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {
  const FileText text = ReadWholeFile(file_);
  if (!text.error.empty()) {
    readable_ = false;
    problem_ = "Не удалось прочитать файл настроек " + Quoted(file_) + ": " + text.error +
               ". Настройки не будут сохраняться, пока этот файл не исправлен или не удалён.";
    return;
  }
  Parse(text.content);
}

void RegistryStore::Parse(std::string_view content) {
  constexpr std::size_t kNoKey = static_cast<std::size_t>(-1);
  std::size_t key = kNoKey;
  std::size_t line_number = 0;
  std::size_t first_bad_line = 0;
  // A file edited on Windows or an old Mac ends its lines with CR LF or CR: both read as LF.
  for (const std::string_view line : SplitLines(content)) {
    ++line_number;
    if (line.empty() || line.front() == '#') continue;

    if (line.front() == '[') {
      key = kNoKey;  // the values after a bad key line belong to no key
      const auto path =
          line.size() >= 2 && line.back() == ']' ? Unescape(line.substr(1, line.size() - 2)) : std::nullopt;
      if (path && HasKnownRoot(*path)) {
        key = static_cast<std::size_t>(&FindOrAddKey(*path) - keys_.data());
        continue;
      }
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos && key != kNoKey) {
      const auto name = Unescape(line.substr(0, equals));
      const auto text = Unescape(line.substr(equals + 1));
      if (name && text) {
        SetValue(keys_[key], *name, *text);  // a later line wins, as a later write would
        continue;
      }
    }
    if (first_bad_line == 0) first_bad_line = line_number;
  }
  if (first_bad_line != 0) {
    malformed_ = true;
    problem_ = "Файл настроек " + Quoted(file_) + " повреждён (строка " + std::to_string(first_bad_line) +
               "). Прочитаны только правильные строки; при следующем сохранении настроек прежний файл "
               "будет сохранён рядом, с окончанием .malformed.";
  }
}

RegistryStore::Key& RegistryStore::FindOrAddKey(std::string path) {
  const auto [found, added] = key_index_.try_emplace(LowerAscii(path), keys_.size());
  if (!added) return keys_[found->second];
  return keys_.emplace_back(Key{std::move(path), {}, {}});
}

std::optional<std::string> RegistryStore::Find(RegistryRoot root, std::string_view key,
                                               std::string_view name) const {
  const auto owner = key_index_.find(LowerAscii(KeyPath(root, key)));
  if (owner == key_index_.end()) return std::nullopt;
  const Key& found = keys_[owner->second];
  const auto value = found.index.find(LowerAscii(name));
  if (value == found.index.end()) return std::nullopt;
  const std::string& text = found.values[value->second].text;
  return text.substr(0, text.find('\0'));
}

void RegistryStore::Set(RegistryRoot root, std::string_view key, std::string_view name,
                        std::string_view text) {
  SetValue(FindOrAddKey(KeyPath(root, key)), name, text);
}

void RegistryStore::SetValue(Key& owner, std::string_view name, std::string_view text) {
  const auto [found, added] = owner.index.try_emplace(LowerAscii(name), owner.values.size());
  if (added) {
    owner.values.push_back({std::string(name), std::string(text)});
  } else {
    owner.values[found->second].text = text;
  }
}

std::string RegistryStore::Serialize() const {
  std::string out(kFileHeader);
  for (const Key& key : keys_) {
    out.append("[").append(Escape(key.path, kKeySpecials)).append("]\n");
    for (const Value& value : key.values) {
      out.append(Escape(value.name, kNameSpecials)).append("=").append(Escape(value.text, "")).append("\n");
    }
  }
  return out;
}

std::string RegistryStore::KeepMalformedFile() {
  std::filesystem::path copy = file_;
  copy += ".malformed";
  for (int number = 1; std::filesystem::exists(copy); ++number) {
    copy = file_;
    copy += ".malformed." + std::to_string(number);
  }
  std::error_code error;
  std::filesystem::copy_file(file_, copy, error);
  if (error) return "";
  return copy.string();
}

std::string RegistryStore::Commit() {
  if (!readable_) return problem_;
  const std::string failed = "Не удалось записать файл настроек " + Quoted(file_) + ": ";
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  if (error) return failed + error.message();

  std::string notice;
  if (malformed_) {
    const std::string copy = KeepMalformedFile();
    if (copy.empty()) return failed + "не удалось сохранить копию повреждённого файла.";
    notice = "Файл настроек " + Quoted(file_) + " был повреждён; его прежнее содержимое сохранено в " +
             Quoted(copy) + ".";
  }
  // A store that is a link (a managed dotfile) stays a link: its target is replaced.
  if (const std::string reason = ReplaceFileAtomically(file_, Serialize()); !reason.empty())
    return failed + reason;
  malformed_ = false;
  problem_.clear();
  return notice;
}

std::string ReadRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                               std::string_view default_value) {
  return RegistryStore::Open().Find(root, key, name).value_or(std::string(default_value));
}

std::string ChangeRegistry(const std::function<void(RegistryStore&)>& change) {
  const std::filesystem::path file = RegistryStorePath();
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  const FileLock lock(file);
  if (!lock.error().empty()) {
    return "Не удалось записать файл настроек " + Quoted(file) + ": " + lock.error();
  }
  RegistryStore store(file);
  change(store);
  return store.Commit();
}

std::string WriteRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                                std::string_view text) {
  return ChangeRegistry([&](RegistryStore& store) { store.Set(root, key, name, text); });
}

}  // namespace ovn
