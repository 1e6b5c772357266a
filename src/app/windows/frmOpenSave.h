// frmOpenSave: opens a number-list file and either puts a chosen number into the calculator (open mode)
// or adds the calculator's current number under a name and writes the list back (save mode). Created on
// first use, then hidden and shown again; each Browse rebuilds its list.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "calc/calculator.h"
#include "files/number_list_file.h"
#include "number_window_parts.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;
class QTreeWidget;

namespace ovn {

class frmOpenSave : public QDialog {
  Q_OBJECT

 public:
  // How many characters of the selected value txtValue shows at once.
  static constexpr std::size_t kValueWidth = 40;

  // `main_window` owns the window and is hidden while a file given on the command line is open. An empty
  // `ask` asks its questions with message boxes.
  frmOpenSave(Calculator& calculator, Settings& settings, const Platform& platform, YesNoQuestion ask,
              QWidget* main_window);

  // Menu "&Открыть" (true) or "&Сохранить" (false): shows the window modally over the main window.
  void ShowModal(bool open_mode);
  // The start with a file on the command line: the window in open mode, without waiting, listing that
  // file, the main window hidden until a number is chosen or the window is cancelled.
  void StartFromCommandLine(const std::string& file);
  // What Browse does once the dialog gave `path`: remember its folder as PastPath and list the file.
  // False when the file was refused (told, the window hidden, the list and file name as they were).
  bool OpenChosenFile(const std::string& path);

  bool OpenSaveMode = true;  // true: open a number, false: save one
  bool OpenFromCommandLine = false;
  std::string CommandLineFile;
  std::string SelectedValue;

  // The list as shown, from the top.
  std::vector<NumberRecord> Records() const;

 public slots:
  // Отмена, Esc and closing the window: hide it, and give the main window back to a command-line start.
  void reject() override;

 private:
  void BuildWindow();
  // Lists the file, creating it when missing. False when it was refused (the message was shown).
  bool LoadFile(const std::string& path);
  void ReturnToMainWindow();
  // The file dialog of the mode: the chosen path, "" when cancelled.
  std::string ChooseFile();

  void cmdBrowse_Click();
  void lvwNumbers_Click();
  void cmdAddNum_Click();
  void cmdDeleteNum_Click();
  void cmdOK_Click();
  void tmrMain_Timer();

  Calculator& calculator_;
  Settings& settings_;
  Platform platform_;
  YesNoQuestion ask_;
  QWidget* main_window_;
  std::string file_;  // the file listed, byte for byte; "" until one is

  QLineEdit* txtFileName = nullptr;
  QTreeWidget* lvwNumbers = nullptr;
  QLineEdit* txtValue = nullptr;
  QScrollBar* hscResult = nullptr;
  QLabel* lblSize = nullptr;
  QTimer* tmrMain = nullptr;
};

}  // namespace ovn
