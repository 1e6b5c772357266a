// frmOptions ("Настройки"): edits the number type, the precisions, the digits of pi and e and the memory
// list file. OK stores them in the settings and saves them; Отмена changes nothing. The window is made
// afresh each time it opens, so it always starts from the settings in force.
#pragma once

#include <QDialog>

#include "registry/settings.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTabWidget;

namespace ovn {

struct CountRange;

class frmOptions : public QDialog {
  Q_OBJECT

 public:
  // `settings` must outlive the window; it changes only when OK is pressed.
  explicit frmOptions(Settings& settings, QWidget* parent = nullptr);

 private:
  QWidget* CreateGeneralTab();
  QWidget* CreatePrecisionTab();
  QWidget* CreateValuesTab();
  // A count's box (its text box named `text_name`) with its caption, in the next row of `grid`.
  QSpinBox* AddCount(QGridLayout* grid, const char* name, const char* text_name, const char* caption,
                     CountRange range);

  void Form_Load();
  void udPi_Change();
  void udExpn_Change();
  void cmdMemList_Click();
  void cmdOK_Click();

  Settings& settings_;
  QTabWidget* sstMain = nullptr;
  QComboBox* cboNumType = nullptr;
  QLineEdit* txtMemList = nullptr;
  // The path txtMemList shows, byte for byte: a path that is not UTF-8 cannot go through the text box
  // unchanged, so it is taken from here unless the user edits the box.
  std::string mem_list_file_;
  QSpinBox* udRadical = nullptr;
  QSpinBox* udDev = nullptr;
  QSpinBox* udDevBinConvert = nullptr;
  QSpinBox* udLog = nullptr;
  QSpinBox* udPi = nullptr;
  QSpinBox* udExpn = nullptr;
  QLabel* lblPiNum = nullptr;
  QLabel* lblNumExpn = nullptr;
};

}  // namespace ovn
