#include "platform/file_type_registration.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <system_error>

#include "files/whole_file.h"
#include "global/global.h"

namespace ovn {
namespace {

struct Escape {
  char character;
  std::string_view replacement;
};

std::string Escaped(std::string_view text, std::initializer_list<Escape> escapes) {
  std::string escaped;
  for (const char c : text) {
    const auto* escape = std::find_if(escapes.begin(), escapes.end(),
                                      [c](const Escape& candidate) { return candidate.character == c; });
    if (escape == escapes.end()) {
      escaped += c;
    } else {
      escaped += escape->replacement;
    }
  }
  return escaped;
}

std::string XmlEscaped(std::string_view text) {
  return Escaped(text, {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}});
}

// A string value of a desktop entry, with the escapes every such value is read with.
std::string DesktopValue(std::string_view text) {
  return Escaped(text, {{'\\', "\\\\"}, {'\n', "\\n"}, {'\t', "\\t"}, {'\r', "\\r"}});
}

// The program as the first word of Exec: in double quotes when it holds a character the desktop would
// read as syntax (with '"', '`', '$' and '\' escaped inside them), and with '%' doubled, since a single one
// starts a field code. DesktopValue then escapes the whole line once more.
std::string ExecProgram(const std::string& program) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  if (program.find_first_of(kReserved) == std::string::npos) return Escaped(program, {{'%', "%%"}});
  const std::string inside =
      Escaped(program, {{'"', "\\\""}, {'`', "\\`"}, {'$', "\\$"}, {'\\', "\\\\"}, {'%', "%%"}});
  return '"' + inside + '"';
}

std::string MimePackage(const FileTypeRegistration& type) {
  std::string package = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  package += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  package += "  <mime-type type=\"" + XmlEscaped(type.mime_type) + "\">\n";
  package += "    <comment>" + XmlEscaped(type.description) + "</comment>\n";
  package += "    <icon name=\"" + XmlEscaped(type.icon) + "\"/>\n";
  package += "    <glob pattern=\"*." + XmlEscaped(type.extension) + "\"/>\n";
  package += "  </mime-type>\n";
  package += "</mime-info>\n";
  return package;
}

std::string DesktopEntry(const FileTypeRegistration& type) {
  std::string entry = "[Desktop Entry]\nType=Application\n";
  entry += "Name=" + DesktopValue(type.application_name) + "\n";
  entry += "Exec=" + DesktopValue(ExecProgram(type.program.string()) + " %f") + "\n";
  entry += "Icon=" + DesktopValue(type.icon) + "\n";
  entry += "Terminal=false\n";
  entry += "Categories=Utility;Calculator;\n";
  entry += "MimeType=" + DesktopValue(type.mime_type) + ";\n";
  return entry;
}

enum class FileUpdate { kUnchanged, kWritten, kFailed };

// Leaves a file that already holds `content` untouched, so that a start with nothing new writes nothing.
FileUpdate WriteIfDifferent(const std::filesystem::path& file, const std::string& content) {
  const FileText current = ReadWholeFile(file);
  if (current.exists && current.error.empty() && current.content == content) return FileUpdate::kUnchanged;
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  if (error) return FileUpdate::kFailed;
  return ReplaceFileAtomically(file, content).empty() ? FileUpdate::kWritten : FileUpdate::kFailed;
}

}  // namespace

FileTypeRegistration NumFileType(const std::filesystem::path& program) {
  return {.extension = "num",
          .mime_type = "application/x-orvanel-num",
          .description = "Число Orvane'а",
          .icon = "orvanel",
          .desktop_id = "orvanel.desktop",
          .application_name = "Orvane Lite",
          .program = program};
}

bool RegisterFileType(const FileTypeRegistration& type, const std::filesystem::path& data_home) {
  // A relative folder would land wherever the program happened to be started.
  if (!data_home.is_absolute()) return false;
  const std::filesystem::path mime = data_home / "mime";
  const std::filesystem::path applications = data_home / "applications";
  const std::string package = std::filesystem::path(type.desktop_id).stem().string() + "-" + type.extension;

  const FileUpdate mime_update = WriteIfDifferent(mime / "packages" / (package + ".xml"), MimePackage(type));
  const FileUpdate entry_update = WriteIfDifferent(applications / type.desktop_id, DesktopEntry(type));
  // The caches are rebuilt only for what changed: an unchanged registration costs a start nothing.
  if (mime_update == FileUpdate::kWritten) RunAndWait({"update-mime-database", mime.string()}, true);
  if (entry_update == FileUpdate::kWritten) {
    RunAndWait({"update-desktop-database", applications.string()}, true);
  }
  return mime_update != FileUpdate::kFailed && entry_update != FileUpdate::kFailed;
}

}  // namespace ovn
