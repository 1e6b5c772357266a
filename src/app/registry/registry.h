// String values under root key + key path + value name, as the Windows registry keeps them, held in one
// text file per user. The file lives in $ORVANEL_CONFIG_DIR, else $XDG_CONFIG_HOME/orvanel/, else
// ~/.config/orvanel/, and is always replaced whole (temporary file, then rename): a crash leaves the old
// store or the new one, never half of one.
//
// File format (text, one entry per line, ended by LF; CR LF and CR read alike):
//   # comment            ignored, as are empty lines
//   [ROOT\key\path]      starts a key; ROOT is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
//   name=text            a value of the key above
// A byte that would end or confuse its field ("%", control characters including the zero character, and
// "=", "[", "#" in names or "]" in key paths) is written as "%" and two hexadecimal digits. Key paths and
// value names compare without regard to ASCII case, as on Windows.
//
// A store file that cannot be parsed is reported, and the values on its good lines are still read. It is
// never lost: the first write after it copies it to "registry.txt.malformed" (or ".malformed.N" when that
// name is taken) before the new store replaces it. A store file that cannot be read at all is reported
// and never replaced: every write is refused until the user mends or removes it.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ovn {

enum class RegistryRoot { kLocalMachine, kCurrentUser };

// The store file of the current user, from the environment as described above.
std::filesystem::path RegistryStorePath();

// The store file read into memory, for reading or changing several values with one write.
class RegistryStore {
 public:
  // Reads the store file at `file`; a missing file is an empty store. Never throws for a bad file: see
  // problem().
  explicit RegistryStore(std::filesystem::path file);
  // The store file of the current user.
  static RegistryStore Open() { return RegistryStore(RegistryStorePath()); }

  // The stored text cut before its first zero character, as the platform reads a string value, or
  // nothing when the key or value is missing. The store itself keeps the whole text.
  std::optional<std::string> Find(RegistryRoot root, std::string_view key, std::string_view name) const;
  // Sets the value in memory, creating its key; Commit writes it.
  void Set(RegistryRoot root, std::string_view key, std::string_view name, std::string_view text);
  // Writes the whole store atomically. Returns what the user should be told (why nothing was written, or
  // where the copy of a malformed file was kept), "" when all went well.
  std::string Commit();

  // What was wrong with the store file when it was read, "" when nothing was.
  const std::string& problem() const noexcept { return problem_; }

 private:
  struct Value {
    std::string name;
    std::string text;
  };
  struct Key {
    std::string path;  // root name, "\", key path
    std::vector<Value> values;
    std::unordered_map<std::string, std::size_t> index;  // lower-case name -> position in values
  };

  void Parse(std::string_view content);
  Key& FindOrAddKey(std::string path);
  static void SetValue(Key& owner, std::string_view name, std::string_view text);
  std::string Serialize() const;
  std::string KeepMalformedFile();

  std::filesystem::path file_;
  std::vector<Key> keys_;
  std::unordered_map<std::string, std::size_t> key_index_;  // lower-case path -> position in keys_
  std::string problem_;
  bool readable_ = true;    // false: the file exists but could not be read, so it must not be replaced
  bool malformed_ = false;  // true: keep a copy of the file before replacing it
};

// The stored text cut before its first zero character, or `default_value` when the key or value is
// missing (or the store unreadable). Never fails.
std::string ReadRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                               std::string_view default_value = "");

// Changes the store file of the current user as one step under its advisory lock (FileLock): reads it
// afresh, applies `change`, commits. Another instance's values written meanwhile are kept. Returns what
// Commit returns (or why the lock could not be taken).
[[nodiscard]] std::string ChangeRegistry(const std::function<void(RegistryStore&)>& change);

// Stores `text` whole (a zero character included) under the value, creating the key, with
// ChangeRegistry. Returns what Commit returns; the caller reports it or deliberately ignores it.
[[nodiscard]] std::string WriteRegistryString(RegistryRoot root, std::string_view key, std::string_view name,
                                              std::string_view text);

}  // namespace ovn
