// The program's own folder and the documents shipped with it (the help page, the README), which the user
// opens with the desktop's associated program.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace ovn {

inline constexpr std::string_view kHelpPage = "orvanel.html";
inline constexpr std::string_view kReadme = "README.md";

// The running program's executable, as an absolute path; empty when the system does not tell it.
std::filesystem::path ProgramFile();
// AppPath: the folder of the running program.
std::filesystem::path AppPath();
// Where the program keeps the files it writes beside itself (the unit request): its own folder when it
// may write there, else $XDG_DATA_HOME/orvanel/, created when missing.
std::filesystem::path WritableProgramFolder();

// Where a shipped document is looked for, in this order: beside the program (a build tree), then in
// <program folder>/../share/orvanel/ (an installation under any prefix).
std::array<std::filesystem::path, 2> ProgramDocumentPlaces(std::string_view name,
                                                           const std::filesystem::path& program_folder);
// The first of those places that holds the document; empty when none does.
std::filesystem::path ProgramDocumentPath(std::string_view name, const std::filesystem::path& program_folder);

// Opens a file with its associated program; true when that program started.
using DocumentOpener = std::function<bool(const std::string& file)>;

// The documents of one program folder, opened through `open`. A document that cannot be found or opened
// is told to the user with a warning that names it and where it was looked for, never passed over.
class ProgramDocuments {
 public:
  ProgramDocuments(MessageService& messages, DocumentOpener open, std::filesystem::path program_folder);
  // The running program's documents, opened by xdg-open.
  explicit ProgramDocuments(MessageService& messages);

  std::filesystem::path Find(std::string_view name) const {
    return ProgramDocumentPath(name, program_folder_);
  }
  // True when the document was found and its program started.
  bool Open(std::string_view name);

 private:
  MessageService& messages_;
  DocumentOpener open_;
  std::filesystem::path program_folder_;
};

}  // namespace ovn
