// frmMemList: the memory list, a persistent store of named numbers in one plain number-list file. Every
// change is written to the file at once. Отмена closes the window for good (the next opening reads the
// file again); Вставить only hides it, so the next opening shows the list as it was. Each change re-reads
// the file under an advisory lock first, so two windows of the program never undo each other's changes.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "calc/calculator.h"
#include "files/number_list_file.h"
#include "number_window_parts.h"

class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QTreeWidget;

namespace ovn {

class frmMemList : public QDialog {
  Q_OBJECT

 public:
  // How many characters of the selected value txtResult shows at once.
  static constexpr std::size_t kValueWidth = 72;

  // Reads the list from the file of the setting MemListFile (MemoryListPath), creating it when missing.
  // An empty `ask` asks its questions with message boxes.
  frmMemList(Calculator& calculator, const Platform& platform, YesNoQuestion ask, QWidget* main_window);

  std::string SelectedValue;

  const std::filesystem::path& File() const noexcept { return file_; }
  // The entries as listed.
  const std::vector<NumberRecord>& Entries() const noexcept { return entries_; }

 private:
  void BuildWindow();
  void Form_Load();
  // Lists `records`, keeping the selected row.
  void ShowEntries(std::vector<NumberRecord> records);
  // One change of the file under its lock: `change` gets the records read afresh, changes them and
  // writes the file, returning "" or why it could not; the list then shows the file as it is.
  void Change(const std::function<std::string(std::vector<NumberRecord>&)>& change);
  static std::vector<NumberRecord>::iterator FindEntry(std::vector<NumberRecord>& records,
                                                       const NumberRecord& entry, int row);
  // Why an entry another instance changed or removed meanwhile was not changed here.
  std::string Gone(const NumberRecord& entry) const;
  void Report(const std::string& problem);

  void lvwMemList_Click();
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdDel_Click();
  void cmdClear_Click();
  void cmdOK_Click();
  void tmrMain_Timer();

  Calculator& calculator_;
  Platform platform_;
  YesNoQuestion ask_;
  std::filesystem::path file_;
  // Kept in step with lvwMemList, row for row.
  std::vector<NumberRecord> entries_;

  QTreeWidget* lvwMemList = nullptr;
  QLineEdit* txtResult = nullptr;
  QScrollBar* hscResult = nullptr;
  QTimer* tmrMain = nullptr;
  std::vector<QPushButton*> changing_buttons_;  // disabled when the file could not be read
};

}  // namespace ovn
