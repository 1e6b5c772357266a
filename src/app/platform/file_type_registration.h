// Registration of a file type with the desktop, the freedesktop way: a shared-mime-info package names the
// type, a desktop entry names the program that opens it. Both go under the user's data folder, so no
// rights beyond the user's own are needed.
#pragma once

#include <filesystem>
#include <string>

namespace ovn {

struct FileTypeRegistration {
  std::string extension;          // without the point: "num"
  std::string mime_type;          // "application/x-orvanel-num"
  std::string description;        // shown by file managers as the type's name
  std::string icon;               // an icon name of the desktop's icon theme
  std::string desktop_id;         // the desktop entry's file name; its stem also names the MIME package
  std::string application_name;   // the desktop entry's Name
  std::filesystem::path program;  // absolute; started with the file as its one argument
};

// The calculator's number files, opened by `program`.
FileTypeRegistration NumFileType(const std::filesystem::path& program);

// Writes <data_home>/mime/packages/<desktop id stem>-<extension>.xml and <data_home>/applications/<desktop
// id>, each only when its content differs from what is there, then lets update-mime-database and
// update-desktop-database (when installed) refresh the caches of what changed. Never throws and tells the
// user nothing: a desktop that cannot be told simply keeps its old associations. True when both files hold
// this registration afterwards.
bool RegisterFileType(const FileTypeRegistration& type, const std::filesystem::path& data_home);

}  // namespace ovn
