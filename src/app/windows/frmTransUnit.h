// frmTransUnit: the unit window. It converts nothing itself: OK hands the request (from index, to index,
// kind) to the main window through the request file, which the main window's timer carries out once.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

class QComboBox;
class QGroupBox;
class QPushButton;

namespace ovn {

class MessageService;

class frmTransUnit : public QDialog {
  Q_OBJECT

 public:
  frmTransUnit(std::filesystem::path request_file, MessageService& messages, QWidget* parent = nullptr);

  // The code of the kind shown ("MASS" after the window opens).
  const std::string& SelectedUnitType() const noexcept { return selected_unit_type_; }

  QComboBox* cboTypeUnits = nullptr;
  QComboBox* cboUnitsFrom = nullptr;
  QComboBox* cboUnitsTo = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;

 private:
  void cboTypeUnits_Click(int index);
  void cmdOK_Click();

  std::filesystem::path request_file_;
  MessageService& messages_;
  std::string selected_unit_type_;
};

}  // namespace ovn
