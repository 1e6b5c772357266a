// frmColors ("Изменение цвета"): the five colours of the main window's scheme, each shown as the
// background of a button. A colour button asks the shared colour dialog for a new colour; "Обновить" puts
// back the desktop's look; OK stores the five colours in the settings and saves them; Отмена changes
// nothing. The window paints nothing onto the main window: the main window repaints its scheme once this
// window has closed. It is made afresh each time it opens, so it starts from the settings in force.
#pragma once

#include <QDialog>
#include <array>
#include <cstddef>
#include <cstdint>

#include "registry/settings.h"

class QPushButton;

namespace ovn {

class frmColors : public QDialog {
  Q_OBJECT

 public:
  static constexpr std::size_t kColourCount = 5;

  // `settings` must outlive the window; it changes only when OK is pressed.
  explicit frmColors(Settings& settings, QWidget* parent = nullptr);

 private:
  QWidget* CreateFrames();
  void Form_Load();
  // The button of `row` takes `colour`, shown and kept as the working copy.
  void SetColour(std::size_t row, std::uint32_t colour);
  void ColourButton_Click(std::size_t row);
  void cmdNull_Click();
  void cmdOK_Click();

  Settings& settings_;
  std::array<QPushButton*, kColourCount> buttons_{};
  // The colour each button shows, as the settings hold it: a system colour stays a system colour.
  std::array<std::uint32_t, kColourCount> colours_{};
};

}  // namespace ovn
