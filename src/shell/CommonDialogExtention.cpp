#include "CommonDialogExtention.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QUrl>
#include <cmath>

#include "ovnliblt/runtime_error.h"

namespace ovn {
namespace {

constexpr int kCustomColourCount = 16;
constexpr int kFontNameLength = 79;  // the face name buffer of the font dialog

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

[[noreturn]] void RaiseInvalidCall(const char* description) {
  throw RuntimeError(ErrorNumber::kInvalidArgument, "CommonDialogExtention", description);
}

}  // namespace

void CommonDialogExtention::Action(std::int32_t New_Action) {
  switch (New_Action) {
    case 1:
      return ShowOpen();
    case 2:
      return ShowSave();
    case 3:
      return ShowColor();
    case 4:
      return ShowFont();
    case 6:
      return ShowHelp();
    case 8:
      return ShowFolder();
    default:
      return;
  }
}

void CommonDialogExtention::ShowOpen() {
  ShowFileDialog(FileDialogKind::kOpen);
}

void CommonDialogExtention::ShowSave() {
  ShowFileDialog(FileDialogKind::kSave);
}

void CommonDialogExtention::ShowFileDialog(FileDialogKind kind) {
  if (CharacterCount(file_name_) > kFileBufferLength) RaiseInvalidCall("the file name is too long");
  default_ext_ = DefaultExtension(filter_, filter_index_);
  const FileDialogBehaviour behaviour = FileDialogFor(kind, flags_);
  const QString folder = init_dir_.empty() ? QCoreApplication::applicationDirPath() : ToQt(init_dir_);

  QFileDialog dialog(owner_, ToQt(dialog_title_), folder);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(kind == FileDialogKind::kSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(behaviour.file_must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !behaviour.confirm_overwrite);
  // The descriptions usually name their patterns already ("Text (*.txt)"): the dialog shows them as given.
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  QStringList name_filters;
  for (const FilterPair& pair : ParseFilter(filter_)) name_filters << ToQt(NameFilter(pair));
  if (!name_filters.isEmpty()) {
    dialog.setNameFilters(name_filters);
    const std::int32_t selected = SelectedFilterPair(filter_index_);
    if (selected < name_filters.size()) dialog.selectNameFilter(name_filters[selected]);
  }
  // A wildcard is no extension a typed name could get.
  if (default_ext_.find_first_of("*?") == std::string::npos) dialog.setDefaultSuffix(ToQt(default_ext_));
  if (!file_name_.empty()) dialog.selectFile(ToQt(file_name_));

  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  const std::string chosen = accepted ? dialog.selectedFiles().constFirst().toStdString() : std::string();
  // The chosen path must fit the file buffer with its end mark, or the dialog fails.
  const bool confirmed = accepted && CharacterCount(chosen) < kFileBufferLength;
  if (confirmed) {
    file_name_ = chosen;
    file_title_ = QFileInfo(ToQt(chosen)).fileName().toStdString();
  } else {
    file_name_.clear();
  }
  Finish(confirmed);
}

void CommonDialogExtention::ShowColor() {
  for (int i = 0; i < kCustomColourCount; ++i) QColorDialog::setCustomColor(i, Qt::white);
  const RgbParts initial = SplitColour(rgb_result_);
  QColorDialog dialog(QColor(initial.red, initial.green, initial.blue), owner_);
  dialog.setOption(QColorDialog::DontUseNativeDialog);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  if (confirmed) {
    const QColor chosen = dialog.selectedColor();
    rgb_result_ = JoinColour({chosen.red(), chosen.green(), chosen.blue()});
  }
  Finish(confirmed);
}

void CommonDialogExtention::ShowFont() {
  QFont initial(ToQt(font_name_));
  if (font_size_ > 0) initial.setPointSize(font_size_);
  initial.setBold(bold_);
  initial.setItalic(italic_);
  initial.setUnderline(underline_);
  initial.setStrikeOut(strike_thru_);
  QFontDialog dialog(initial, owner_);
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  const bool confirmed = dialog.exec() == QDialog::Accepted;
  if (confirmed) {
    const QFont chosen = dialog.selectedFont();
    italic_ = chosen.italic();
    underline_ = chosen.underline();
    strike_thru_ = chosen.strikeOut();
    font_size_ = static_cast<std::int32_t>(std::nearbyint(QFontInfo(chosen).pointSizeF()));
    bold_ = chosen.weight() >= QFont::Bold;
    // The face the desktop really draws, which may differ from the one asked for.
    font_name_ = QFontInfo(chosen).family().left(kFontNameLength).toStdString();
  }
  Finish(confirmed);
}

void CommonDialogExtention::ShowHelp() {
  last_result_ = !help_file_.empty() && QDesktopServices::openUrl(QUrl::fromLocalFile(ToQt(help_file_)));
}

void CommonDialogExtention::ShowFolder() {
  QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
  if ((FolderBrowseFlags(flags_) & kBrowseIncludeFiles) == 0) options |= QFileDialog::ShowDirsOnly;
  const QString start = init_dir_.empty() ? QCoreApplication::applicationDirPath() : ToQt(init_dir_);
  const QString chosen = QFileDialog::getExistingDirectory(owner_, ToQt(dialog_prompt_), start, options);
  if (!chosen.isEmpty()) init_dir_ = chosen.toStdString();
  Finish(!chosen.isEmpty());
}

void CommonDialogExtention::IconSize(std::int32_t& nSize) noexcept {
  icon_size_ = NormalizeIconSize(nSize);
  nSize = icon_size_;
}

void CommonDialogExtention::Finish(bool confirmed) {
  last_result_ = confirmed ? 1 : 0;
  if (!confirmed && cancel_error_) RaiseInvalidCall("the dialog was cancelled");
}

CommonDialogExtention& SharedDialogs() {
  static CommonDialogExtention dialogs;
  return dialogs;
}

}  // namespace ovn
