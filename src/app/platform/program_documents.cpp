#include "platform/program_documents.h"

#include <unistd.h>

#include <system_error>
#include <utility>

#include "global/global.h"

namespace ovn {
namespace {

std::string Quoted(const std::filesystem::path& file) {
  return "«" + file.string() + "»";
}

}  // namespace

std::filesystem::path ProgramFile() {
  std::error_code unknown;
  return std::filesystem::read_symlink("/proc/self/exe", unknown);
}

std::filesystem::path AppPath() {
  return ProgramFile().parent_path();
}

std::filesystem::path WritableProgramFolder() {
  const std::filesystem::path program = AppPath();
  if (!program.empty() && ::access(program.c_str(), W_OK) == 0) return program;
  std::filesystem::path data = UserDataHome();
  if (data.empty()) data = std::filesystem::temp_directory_path();
  data /= "orvanel";
  std::error_code ignored;  // a folder that cannot be made shows when the request is written
  std::filesystem::create_directories(data, ignored);
  return data;
}

std::array<std::filesystem::path, 2> ProgramDocumentPlaces(std::string_view name,
                                                           const std::filesystem::path& program_folder) {
  return {program_folder / name, (program_folder / ".." / "share" / "orvanel" / name).lexically_normal()};
}

std::filesystem::path ProgramDocumentPath(std::string_view name,
                                          const std::filesystem::path& program_folder) {
  for (const std::filesystem::path& place : ProgramDocumentPlaces(name, program_folder)) {
    std::error_code unreadable;
    if (std::filesystem::is_regular_file(place, unreadable)) return place;
  }
  return {};
}

ProgramDocuments::ProgramDocuments(MessageService& messages, DocumentOpener open,
                                   std::filesystem::path program_folder)
    : messages_(messages), open_(std::move(open)), program_folder_(std::move(program_folder)) {}

ProgramDocuments::ProgramDocuments(MessageService& messages)
    : ProgramDocuments(
          messages, [](const std::string& file) { return OpenWithAssociatedProgram(file); }, AppPath()) {}

bool ProgramDocuments::Open(std::string_view name) {
  const std::filesystem::path document = Find(name);
  if (document.empty()) {
    std::string text = "Файл " + Quoted(name) + " не найден. Программа искала его здесь:";
    for (const std::filesystem::path& place : ProgramDocumentPlaces(name, program_folder_)) {
      text.append("\n").append(place.string());
    }
    messages_.Show(text, "Файл не найден", MessageIcon::kWarning);
    return false;
  }
  if (!open_(document.string())) {
    messages_.Show("Не удалось открыть файл " + Quoted(document) +
                       ": не запустилась программа, которая открывает такие файлы (xdg-open).",
                   "Файл не открыт", MessageIcon::kWarning);
    return false;
  }
  return true;
}

}  // namespace ovn
