// frmMain: the calculator's main window. It holds no arithmetic: every key calls the controller, and the
// window only shows the controller's state, runs evaluations off its own thread and ends the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculator.h"
#include "qt_platform.h"

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace ovn {
class frmMemList;
class frmOpenSave;
}  // namespace ovn

namespace ovn {

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  // How many characters of CurrentNumber the display shows at once.
  static constexpr int kDisplayWidth = 38;

  // The window talking back through the desktop's message boxes, input boxes and clipboard.
  explicit frmMain(Settings& settings, QWidget* parent = nullptr);
  // The window talking back through the given services, which must outlive it (the tests' fakes).
  frmMain(Settings& settings, const Platform& platform, QWidget* parent = nullptr);

  Calculator& calculator() noexcept { return calculator_; }
  // Where the unit window leaves its conversion requests.
  const std::filesystem::path& UnitRequestFile() const noexcept { return unit_request_file_; }
  // The start with a number-list file on the command line: its open window first, this one hidden.
  void StartWithFile(const std::string& file);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // The colour scheme is painted at the first activation; later ones leave it to the colour window.
  void changeEvent(QEvent* event) override;

 private:
  void BuildWindow();
  void CreateButtons();
  QPushButton* AddButton(const char* name, const char* caption, const char* tooltip);
  QWidget* CreateDisplay();
  QWidget* CreateKeypad();
  void CreateMenus();
  QAction* AddItem(QMenu* menu, const char* name, const char* caption);
  QAction* AddCalculatorItem(QMenu* menu, const char* name, const char* caption,
                             std::function<void()> action);
  QPushButton* Button(const char* name) const;
  // Greys out the operation keys that the chosen number type does not compute.
  void EnableComputableKeys();

  // Every calculator key runs through here: none acts while an evaluation runs.
  void RunKey(const std::function<void()>& action);
  void PressOperation(std::string_view code);
  void Evaluate();
  // The options window, modal; the settings it confirms are in force from the next operation.
  void ShowOptions();
  // The colour window, modal; the scheme is painted again once it has closed, confirmed or not.
  void ShowColors();
  // The open/save window in open (true) or save mode, modal; saving refuses an empty entry.
  void ShowOpenSave(bool open_mode);
  // The memory list, modal.
  void ShowMemList();
  // The unit window, modal; the conversion itself waits for the timer, which reads the request it leaves.
  void ShowUnits();
  // The help page, opened with the desktop's program for it; a page not found or not opened is told.
  void ShowHelp();
  // The about window, modal.
  void ShowAbout();
  void SetCalculatorInputEnabled(bool enabled);

  bool txtResult_KeyPress(const QKeyEvent& key);
  void tmrMain_Timer();
  // Typing keeps the end of the entry, where the characters go, in view.
  void ShowEntryEnd();
  void RefreshDisplay();

  std::unique_ptr<QtPlatform> own_platform_;  // only when no services were given
  Platform platform_;
  Settings& settings_;  // the calculator's, changed by the options window
  Calculator calculator_;
  std::filesystem::path unit_request_file_;
  bool evaluating_ = false;
  bool colours_applied_ = false;      // the first activation has painted the colour scheme
  frmOpenSave* open_save_ = nullptr;  // created on first use, then hidden and shown again
  QPointer<frmMemList> mem_list_;     // gone once the window was closed, so the next opening reads the file

  QLineEdit* txtResult = nullptr;
  QScrollBar* hscResult = nullptr;
  QProgressBar* pbrMain = nullptr;
  QLabel* lblMem = nullptr;
  QTimer* tmrMain = nullptr;
  QWidget* keypad_ = nullptr;
  QAction* mnuCopy = nullptr;
  QAction* mnuPaste = nullptr;
  // The menu items greyed, like the keypad and "[?]", while an evaluation runs.
  std::vector<QAction*> calculator_items_;
  // Greys the keys only when an evaluation lasts, so that quick ones do not flicker.
  QTimer busy_look_;
  // The button each ButtonForKey answer stands for.
  std::map<std::string, QPushButton*, std::less<>> key_buttons_;
};

}  // namespace ovn
