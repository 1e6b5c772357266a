// CommonDialogExtention: the desktop's file, colour, font and folder dialogs behind properties. A window
// sets the properties (owner, title, filter, initial folder, current values), runs one dialog, and reads
// the results back from the same properties. Text is UTF-8 throughout. The dialogs are Qt's own, not the
// desktop's native ones, so that they speak the program's Russian whatever the system's language.
//
// Property names are those the program's windows use; each is a getter and a setter of the same name.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <string>

#include "dialog_rules.h"

namespace ovn {

class CommonDialogExtention {
 public:
  // Runs a dialog by number: 1 ShowOpen, 2 ShowSave, 3 ShowColor, 4 ShowFont, 6 ShowHelp, 8 ShowFolder.
  // The other numbers (the printer, about, drive format, icon, restart, run and shut-down dialogs, which
  // nothing in the program asks for) do nothing.
  void Action(std::int32_t New_Action);

  // Each dialog below: cancelling leaves the out-properties as they were, except that the file dialogs
  // empty FileName; with CancelError set, a cancel then raises RuntimeError 5 to the caller. A failure
  // of the desktop counts as a cancel.

  // FileName in: the initial name, at most kFileBufferLength characters (a longer one raises
  // RuntimeError 5); out: the chosen path, and FileTitle its name without the folder. The dialog starts in
  // InitDir, or in the program's folder when InitDir is ""; DefaultExt is recomputed from Filter and
  // FilterIndex first.
  void ShowOpen();
  void ShowSave();
  // RGBResult in and out; the custom colours start white each time.
  void ShowColor();
  // FontName, FontSize, Bold, Italic, Underline, StrikeThru in and out; FontName out is the face the
  // desktop really uses for the chosen font.
  void ShowFont();
  // Opens HelpFile with the program the desktop associates with it; LastResult tells whether it opened.
  void ShowHelp();
  // InitDir in: the starting folder; out: the chosen folder. DialogPrompt is the browser's title.
  void ShowFolder();

  // Non-zero when the last dialog was confirmed (or the help file opened), zero otherwise.
  std::int32_t LastResult() const noexcept { return last_result_; }

  bool CancelError() const noexcept { return cancel_error_; }
  void CancelError(bool vData) noexcept { cancel_error_ = vData; }
  // The window that owns the dialogs; a destroyed owner reads as none.
  QWidget* hOwner() const noexcept { return owner_; }
  void hOwner(QWidget* New_hOwner) noexcept { owner_ = New_hOwner; }
  std::int32_t flags() const noexcept { return flags_; }
  void flags(std::int32_t New_Flags) noexcept { flags_ = New_Flags; }
  const std::string& DialogTitle() const noexcept { return dialog_title_; }
  void DialogTitle(std::string sTitle) { dialog_title_ = std::move(sTitle); }
  const std::string& DialogPrompt() const noexcept { return dialog_prompt_; }
  void DialogPrompt(std::string New_Prompt) { dialog_prompt_ = std::move(New_Prompt); }
  // Kept for the system about box, which nothing in the program opens.
  const std::string& AppName() const noexcept { return app_name_; }
  void AppName(std::string New_AppName) { app_name_ = std::move(New_AppName); }
  std::int32_t hIcon() const noexcept { return icon_; }
  void hIcon(std::int32_t vData) noexcept { icon_ = vData; }
  const std::string& FileName() const noexcept { return file_name_; }
  void FileName(std::string sFileName) { file_name_ = std::move(sFileName); }
  const std::string& FileTitle() const noexcept { return file_title_; }
  void FileTitle(std::string sTitle) { file_title_ = std::move(sTitle); }
  // Pairs of a description and its ";"-separated patterns, all separated by "|".
  const std::string& Filter() const noexcept { return filter_; }
  void Filter(std::string sFilter) { filter_ = std::move(sFilter); }
  std::int32_t FilterIndex() const noexcept { return filter_index_; }
  void FilterIndex(std::int32_t lIndex) noexcept { filter_index_ = lIndex; }
  const std::string& DefaultExt() const noexcept { return default_ext_; }
  void DefaultExt(std::string sDefExt) { default_ext_ = std::move(sDefExt); }
  const std::string& InitDir() const noexcept { return init_dir_; }
  void InitDir(std::string sDir) { init_dir_ = std::move(sDir); }
  // A colour as 0x00BBGGRR.
  std::uint32_t RGBResult() const noexcept { return rgb_result_; }
  void RGBResult(std::uint32_t lValue) noexcept { rgb_result_ = lValue; }
  const std::string& FontName() const noexcept { return font_name_; }
  void FontName(std::string sName) { font_name_ = std::move(sName); }
  // In points.
  std::int32_t FontSize() const noexcept { return font_size_; }
  void FontSize(std::int32_t lSize) noexcept { font_size_ = lSize; }
  bool Bold() const noexcept { return bold_; }
  void Bold(bool bBold) noexcept { bold_ = bBold; }
  bool Italic() const noexcept { return italic_; }
  void Italic(bool BItalic) noexcept { italic_ = BItalic; }
  bool Underline() const noexcept { return underline_; }
  void Underline(bool bUnderline) noexcept { underline_ = bUnderline; }
  bool StrikeThru() const noexcept { return strike_thru_; }
  void StrikeThru(bool bStrikethru) noexcept { strike_thru_ = bStrikethru; }
  const std::string& HelpFile() const noexcept { return help_file_; }
  void HelpFile(std::string sFile) { help_file_ = std::move(sFile); }
  // Kept for callers of the classic help interface; the desktop's help viewer takes only the file.
  std::int32_t HelpCommand() const noexcept { return help_command_; }
  void HelpCommand(std::int32_t lCommand) noexcept { help_command_ = lCommand; }
  std::int32_t HelpKey() const noexcept { return help_key_; }
  void HelpKey(std::int32_t sKey) noexcept { help_key_ = sKey; }
  // 16 or 32: any other size, read or written, is 32, and the setter writes 32 back into `nSize`.
  std::int32_t IconSize() const noexcept { return icon_size_; }
  void IconSize(std::int32_t& nSize) noexcept;

 private:
  void ShowFileDialog(FileDialogKind kind);
  // Records the outcome of a dialog; a cancel raises RuntimeError 5 when CancelError is set.
  void Finish(bool confirmed);

  bool cancel_error_ = false;
  QPointer<QWidget> owner_;
  std::int32_t flags_ = 0;
  std::string dialog_title_;
  std::string dialog_prompt_;
  std::string app_name_;
  std::int32_t icon_ = 0;
  std::string file_name_;
  std::string file_title_;
  std::string filter_;
  std::int32_t filter_index_ = 0;
  std::string default_ext_;
  std::string init_dir_;
  std::uint32_t rgb_result_ = 0;
  std::string font_name_;
  std::int32_t font_size_ = 0;
  bool bold_ = false;
  bool italic_ = false;
  bool underline_ = false;
  bool strike_thru_ = false;
  std::string help_file_;
  std::int32_t help_command_ = 0;
  std::int32_t help_key_ = 0;
  std::int32_t icon_size_ = 32;
  std::int32_t last_result_ = 0;
};

// The one wrapper the program's windows share, created on first use: a colour dialog starts at the colour
// last chosen in any window.
CommonDialogExtention& SharedDialogs();

}  // namespace ovn
