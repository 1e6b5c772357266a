#include "frmMain.h"

#include "colour_scheme.h"
#include "frmAbout.h"
#include "frmColors.h"
#include "frmMemList.h"
#include "frmOpenSave.h"
#include "frmOptions.h"
#include "frmTransUnit.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <array>
#include <cstdlib>
#include <thread>

#include "platform/program_documents.h"

namespace ovn {
namespace {

constexpr int kTimerInterval = 50;      // ms between display refreshes
constexpr int kBusyLookDelay = 150;     // ms an evaluation runs before the keys turn grey
constexpr int kProgressMaximum = 1000;  // the engines report progress in thousandths
constexpr int kKeyWidth = 54;
constexpr int kKeyHeight = 34;

struct KeyText {
  const char* name;
  const char* caption;
  const char* tooltip;
};

constexpr std::array<const char*, 10> kDigitTooltips = {"Ноль", "Один",  "Два",  "Три",    "Четыре",
                                                        "Пять", "Шесть", "Семь", "Восемь", "Девять"};

// The keys other than the digits and the operations, with what each asks of the controller.
struct ControllerKey {
  KeyText text;
  void (*press)(Calculator&);
};
constexpr std::array kControllerKeys = {
    ControllerKey{{"cmdP", ".", "Десятичная точка"}, [](Calculator& c) { c.PressPoint(); }},
    ControllerKey{{"cmdAnS", "+/-", "Изменение знака"}, [](Calculator& c) { c.PressSign(); }},
    ControllerKey{{"cmdBack", "<-", "Очистить один символ справа"}, [](Calculator& c) { c.PressBack(); }},
    ControllerKey{{"cmdNew", "C", "Очистить"}, [](Calculator& c) { c.PressClear(); }},
    ControllerKey{{"cmdClear", "CE", "Очистить все"}, [](Calculator& c) { c.PressClearAll(); }},
    ControllerKey{{"cmdCircle", "~", "Округлить"}, [](Calculator& c) { c.Round(); }},
    ControllerKey{{"cmdMemPlus", "M+", "Прибавить число в память чисел"},
                  [](Calculator& c) { c.MemoryPlus(); }},
    ControllerKey{{"cmdMemMinus", "M-", "Вычесть из памяти числа"}, [](Calculator& c) { c.MemoryMinus(); }},
    ControllerKey{{"cmdMemSee", "MR", "Показать число из памяти числа"},
                  [](Calculator& c) { c.MemoryRecall(); }},
    ControllerKey{{"cmdMemClear", "MC", "Очистить память числа"}, [](Calculator& c) { c.MemoryClear(); }},
    ControllerKey{{"cmdHex", "Hex", "Перевести в 16-разрядную систему счисления"},
                  [](Calculator& c) { c.Hex(); }},
};

struct OperationKey {
  const char* code;
  KeyText text;
};
constexpr std::array kOperationKeys = {
    OperationKey{"PLUS", {"cmdPlus", "+", "Плюс"}},
    OperationKey{"MINUS", {"cmdMinus", "-", "Минус"}},
    OperationKey{"MUCH", {"cmdMuch", "X", "Умножить"}},
    OperationKey{"DEV", {"cmdDev", "/", "Делить"}},
    OperationKey{"STEP", {"cmdStep", "^", "Возведение в степень"}},
    OperationKey{"RAD", {"cmdRadical", "√", "Извлечение математического корня"}},
    OperationKey{"MOD", {"cmdMod", "Mod", "Остаток от деления"}},
    OperationKey{"LOGARIFM", {"cmdLog", "Log", "Логарифм"}},
    OperationKey{"GIPERSTEP", {"cmdGiperStep", "Gp", "Гиперстерень"}},
    OperationKey{"CCONBIN", {"cmdCountCombination", "CCM", "Количество комбинаций"}},
    OperationKey{"PEREST", {"cmdPerest", "PRS", "Перестановка"}},
    OperationKey{"AP_RZ", {"cmdArifmeticProgrecyRZ", "Ad", "Расстояние арифметической прогрессии"}},
    OperationKey{"GP_RZ", {"cmdGeometricProgrecyRZ", "Гd", "Расстояние геометрической прогрессии"}},
    OperationKey{"LN", {"cmdLn", "Ln", "Истинный логарифм"}},
    OperationKey{"EXPONENTA", {"cmdExp", "Exp", "Экспонента числа"}},
    OperationKey{"FACTOR", {"cmdFactorial", "n!", "Факториал"}},
    OperationKey{"FACTORDBL", {"cmdFactorialDouble", "n!!", "Двойной факториал"}},
    OperationKey{"MID", {"cmdMid", "Mid", "Среднее число"}},
    OperationKey{"GMID", {"cmdGMid", "ГMid", "Среднее геометрическое"}},
    OperationKey{"MULTINOM", {"cmdMultinomial", "MLT", "Мультиномиал"}},
    OperationKey{"NOD", {"cmdNOD", "НОД", "Наибольший общий делитель"}},
    OperationKey{"NOC", {"cmdNOC", "НОК", "Наименьшее общее кратное целых чисел"}},
    OperationKey{"AP_NUM", {"cmdArifmeticProgressNum", "An", "Число арифметической прогрессии"}},
    OperationKey{"GP_NUM", {"cmdGeometricProgressNum", "Гn", "Число геометрической прогресии"}},
    OperationKey{"AP_SUM", {"cmdArifmeticProgrecySum", "AS", "Сумма арифметической прогрессии"}},
    OperationKey{"GP_SUM", {"cmdGeometricProgrecySum", "ГS", "Сумма геометрической прогрессии"}},
    OperationKey{"MIN", {"cmdMin", "Min", "Меньшее число"}},
    OperationKey{"MAX", {"cmdMax", "Max", "Большее число"}},
};

// Where each key sits; "" leaves a cell empty, a name repeated downwards makes one tall key.
using KeyRow = std::array<const char*, 10>;
constexpr std::array<KeyRow, 6> kKeypadGrid = {{
    // digits              | operations          | gap | functions
    {"cmdBack", "cmdNew", "cmdClear", "cmdStep", "cmdRadical", "", "cmdLn", "cmdExp", "cmdLog",
     "cmdGiperStep"},
    {"cmd7", "cmd8", "cmd9", "cmdDev", "cmdCircle", "", "cmdFactorial", "cmdFactorialDouble",
     "cmdCountCombination", "cmdPerest"},
    {"cmd4", "cmd5", "cmd6", "cmdMuch", "cmdRight", "", "cmdMod", "cmdNOD", "cmdNOC", "cmdMultinomial"},
    {"cmd1", "cmd2", "cmd3", "cmdMinus", "cmdRight", "", "cmdMid", "cmdGMid", "cmdMin", "cmdMax"},
    {"cmd0", "cmdP", "cmdAnS", "cmdPlus", "cmdRight", "", "cmdArifmeticProgrecyRZ", "cmdArifmeticProgressNum",
     "cmdArifmeticProgrecySum", "cmdUnits"},
    {"cmdMemClear", "cmdMemSee", "cmdMemPlus", "cmdMemMinus", "cmdMemList", "", "cmdGeometricProgrecyRZ",
     "cmdGeometricProgressNum", "cmdGeometricProgrecySum", "cmdHex"},
}};
constexpr int kGapColumn = 5;

// Keys a desktop calculator's user expects besides the typed characters, and the buttons they press.
struct EditingKey {
  Qt::Key key;
  const char* button;
};
constexpr std::array<EditingKey, 4> kEditingKeys = {{
    {Qt::Key_Return, "cmdRight"},
    {Qt::Key_Enter, "cmdRight"},  // the keypad's
    {Qt::Key_Backspace, "cmdBack"},
    {Qt::Key_Delete, "cmdClear"},
}};

// Digits and "=" stand out from the operation keys.
void Embolden(QWidget* key) {
  QFont bold = key->font();
  bold.setBold(true);
  key->setFont(bold);
}

}  // namespace

frmMain::frmMain(Settings& settings, QWidget* parent)
    : QMainWindow(parent),
      own_platform_(std::make_unique<QtPlatform>(this)),
      platform_(own_platform_->platform),
      settings_(settings),
      calculator_(settings, platform_) {
  BuildWindow();
}

frmMain::frmMain(Settings& settings, const Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform), settings_(settings), calculator_(settings, platform_) {
  BuildWindow();
}

void frmMain::BuildWindow() {
  setWindowTitle(QStringLiteral("Orvane Lite 0.1"));
  // One request file per running program, so that a conversion asked for in one window lands there.
  unit_request_file_ =
      WritableProgramFolder() / ("tunits." + std::to_string(QCoreApplication::applicationPid()) + ".ini");

  CreateButtons();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(10);
  layout->addWidget(CreateDisplay());
  // The keypad takes whatever room a larger or maximised window gives.
  layout->addWidget(CreateKeypad(), 1);
  setCentralWidget(central);
  CreateMenus();
  EnableComputableKeys();

  tmrMain = new QTimer(this);
  tmrMain->setObjectName(QStringLiteral("tmrMain"));
  tmrMain->setInterval(kTimerInterval);
  connect(tmrMain, &QTimer::timeout, this, &frmMain::tmrMain_Timer);
  tmrMain->start();

  busy_look_.setSingleShot(true);
  busy_look_.setInterval(kBusyLookDelay);
  connect(&busy_look_, &QTimer::timeout, this, [this] { SetCalculatorInputEnabled(false); });

  RefreshDisplay();
  adjustSize();
  move(screen()->availableGeometry().center() - rect().center());
  txtResult->setFocus();
}

QPushButton* frmMain::AddButton(const char* name, const char* caption, const char* tooltip) {
  auto* button = new QPushButton(QString::fromUtf8(caption), this);
  button->setObjectName(QString::fromUtf8(name));
  if (tooltip) button->setToolTip(QString::fromUtf8(tooltip));
  // Keys never take the focus, so typing keeps going to the display.
  button->setFocusPolicy(Qt::NoFocus);
  // One size for every key, whatever its caption; the grid stretches them (the tall "=").
  button->setMinimumSize(kKeyWidth, kKeyHeight);
  button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  return button;
}

void frmMain::CreateButtons() {
  for (char digit = '0'; digit <= '9'; ++digit) {
    const std::string name = std::string("cmd") + digit;
    const std::string caption(1, digit);
    QPushButton* button = AddButton(name.c_str(), caption.c_str(), kDigitTooltips[digit - '0']);
    Embolden(button);
    connect(button, &QPushButton::clicked, this, [this, digit] {
      RunKey([&] { calculator_.PressDigit(digit); });
      ShowEntryEnd();
    });
    key_buttons_.emplace(caption, button);
  }
  for (const ControllerKey& key : kControllerKeys) {
    QPushButton* button = AddButton(key.text.name, key.text.caption, key.text.tooltip);
    connect(button, &QPushButton::clicked, this,
            [this, press = key.press] { RunKey([&] { press(calculator_); }); });
  }
  for (const OperationKey& key : kOperationKeys) {
    QPushButton* button = AddButton(key.text.name, key.text.caption, key.text.tooltip);
    connect(button, &QPushButton::clicked, this,
            [this, code = key.code] { RunKey([&] { PressOperation(code); }); });
    key_buttons_.emplace(key.code, button);
  }
  connect(AddButton("cmdUnits", "Unit", "Перевод единиц исчисления"), &QPushButton::clicked, this,
          &frmMain::ShowUnits);
  connect(AddButton("cmdMemList", "ML", "Список чисел"), &QPushButton::clicked, this, &frmMain::ShowMemList);
  connect(AddButton("cmdOptions", "[?]", "Настройки"), &QPushButton::clicked, this, &frmMain::ShowOptions);

  QPushButton* equals = AddButton("cmdRight", "=", nullptr);
  Embolden(equals);
  connect(equals, &QPushButton::clicked, this, [this] { RunKey([this] { Evaluate(); }); });
  key_buttons_.emplace("EQUALS", equals);
  key_buttons_.emplace(".", Button("cmdP"));
  for (const char* typing : {"cmdP", "cmdBack"}) {
    connect(Button(typing), &QPushButton::clicked, this, &frmMain::ShowEntryEnd);
  }
  key_buttons_.emplace("CIRCLE", Button("cmdCircle"));

  QPushButton* off = AddButton("cmdOff", "OFF", "Закрыть программу, выключить");
  connect(off, &QPushButton::clicked, this, &QWidget::close);
}

void frmMain::EnableComputableKeys() {
  for (const OperationKey& key : kOperationKeys) {
    key_buttons_.find(key.code)->second->setEnabled(Computes(key.code, settings_.TypeNum));
  }
}

QWidget* frmMain::CreateDisplay() {
  auto* display = new QWidget(this);
  auto* layout = new QGridLayout(display);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(8);
  layout->setVerticalSpacing(4);

  txtResult = new QLineEdit(display);
  txtResult->setObjectName(QStringLiteral("txtResult"));
  // What a key would type there is replaced by the next refresh; keys act through the filter instead.
  txtResult->setReadOnly(true);
  txtResult->setAlignment(Qt::AlignRight);
  QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  mono.setPointSize(14);
  txtResult->setFont(mono);
  txtResult->setMinimumWidth(QFontMetrics(mono).horizontalAdvance(QString(kDisplayWidth, QLatin1Char('0'))) +
                             16);
  txtResult->setMinimumHeight(QFontMetrics(mono).height() + 14);
  txtResult->installEventFilter(this);
  // Its context menu holds the window's "Копировать" and "Вставить", which take the whole entry.
  txtResult->setContextMenuPolicy(Qt::ActionsContextMenu);

  hscResult = new QScrollBar(Qt::Horizontal, display);
  hscResult->setObjectName(QStringLiteral("hscResult"));
  hscResult->setFocusPolicy(Qt::NoFocus);
  hscResult->setMaximum(0);
  connect(hscResult, &QScrollBar::valueChanged, this, [this] {
    RefreshDisplay();
    txtResult->setFocus();
  });

  lblMem = new QLabel(display);
  lblMem->setObjectName(QStringLiteral("lblMem"));
  lblMem->setToolTip(QStringLiteral("Индикатор памяти чисел"));
  lblMem->setFont(QFont(QStringLiteral("Arial")));
  lblMem->setFrameShape(QFrame::Panel);
  lblMem->setFrameShadow(QFrame::Sunken);
  lblMem->setAlignment(Qt::AlignCenter);
  lblMem->setFixedSize(kKeyWidth, kKeyHeight);

  pbrMain = new QProgressBar(display);
  pbrMain->setObjectName(QStringLiteral("pbrMain"));
  pbrMain->setRange(0, kProgressMaximum);
  pbrMain->setTextVisible(false);
  pbrMain->setFixedHeight(12);

  QPushButton* options = Button("cmdOptions");
  QPushButton* off = Button("cmdOff");
  options->setFixedSize(kKeyWidth, kKeyHeight);
  off->setFixedSize(kKeyWidth, kKeyHeight);
  off->setParent(display);  // outside the keypad: it works during an evaluation too

  layout->addWidget(txtResult, 0, 0, 1, 4);
  layout->addWidget(hscResult, 1, 0, 1, 4);
  layout->addWidget(lblMem, 2, 0);
  layout->addWidget(pbrMain, 2, 1);
  layout->addWidget(options, 2, 2);
  layout->addWidget(off, 2, 3);
  return display;
}

QWidget* frmMain::CreateKeypad() {
  keypad_ = new QWidget(this);
  auto* grid = new QGridLayout(keypad_);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(4);
  grid->setColumnMinimumWidth(kGapColumn, 10);
  for (int row = 0; row < static_cast<int>(kKeypadGrid.size()); ++row) {
    for (int column = 0; column < static_cast<int>(kKeypadGrid[row].size()); ++column) {
      const char* name = kKeypadGrid[row][column];
      if (!*name || (row > 0 && std::string_view(kKeypadGrid[row - 1][column]) == name)) continue;
      int span = 1;
      while (row + span < static_cast<int>(kKeypadGrid.size()) &&
             std::string_view(kKeypadGrid[row + span][column]) == name) {
        ++span;
      }
      QPushButton* button = Button(name);
      button->setParent(keypad_);
      grid->addWidget(button, row, column, span, 1);
    }
  }
  return keypad_;
}

QAction* frmMain::AddItem(QMenu* menu, const char* name, const char* caption) {
  QAction* item = menu->addAction(QString::fromUtf8(caption));
  item->setObjectName(QString::fromUtf8(name));
  return item;
}

QAction* frmMain::AddCalculatorItem(QMenu* menu, const char* name, const char* caption,
                                    std::function<void()> action) {
  QAction* item = AddItem(menu, name, caption);
  connect(item, &QAction::triggered, this, [this, action = std::move(action)] { RunKey(action); });
  calculator_items_.push_back(item);
  return item;
}

void frmMain::CreateMenus() {
  const auto separator = [](QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); };
  // An item that cannot act while an evaluation runs is greyed like the keys.
  const auto idle_only = [this](QAction* item) {
    calculator_items_.push_back(item);
    return item;
  };

  QMenu* number = menuBar()->addMenu(QStringLiteral("&Число"));
  number->setObjectName(QStringLiteral("mnuNumber"));
  QAction* open = idle_only(AddItem(number, "mnuOpen", "&Открыть"));
  open->setShortcut(QKeySequence::Open);
  connect(open, &QAction::triggered, this, [this] { ShowOpenSave(true); });
  QAction* save = idle_only(AddItem(number, "mnuSave", "&Сохранить"));
  save->setShortcut(QKeySequence::Save);
  connect(save, &QAction::triggered, this, [this] { ShowOpenSave(false); });
  separator(number, "mnuR1");
  connect(idle_only(AddItem(number, "mnuMemList", "Список чисел")), &QAction::triggered, this,
          &frmMain::ShowMemList);
  separator(number, "mnuR3");
  QAction* exit = AddItem(number, "mnuExit", "Выход");
  exit->setShortcut(Qt::CTRL | Qt::Key_Q);  // the desktops' own binding, which not every Qt theme names
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("Пр&авка"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  // Cut copies and leaves the entry in place.
  QAction* cut = AddCalculatorItem(edit, "mnuCut", "&Вырезать", [this] { calculator_.Copy(); });
  cut->setShortcut(QKeySequence::Cut);
  mnuCopy = AddCalculatorItem(edit, "mnuCopy", "&Копировать", [this] { calculator_.Copy(); });
  mnuCopy->setShortcut(QKeySequence::Copy);
  mnuPaste = AddCalculatorItem(edit, "mnuPaste", "Вст&авить", [this] { calculator_.Paste(); });
  mnuPaste->setShortcut(QKeySequence::Paste);
  txtResult->addActions({mnuCopy, mnuPaste});

  QMenu* actions = menuBar()->addMenu(QStringLiteral("&Действия"));
  actions->setObjectName(QStringLiteral("mnuActions"));
  struct RepeatedKey {
    const char* name;
    const char* caption;
    const char* button;
    const char* typed;  // the character that presses the same button, shown as the item's shortcut
  };
  constexpr std::array<RepeatedKey, 7> kRepeatedKeys = {{
      {"mnuPlus", "П&люс", "cmdPlus", "+"},
      {"mnuMinus", "&Минус", "cmdMinus", "-"},
      {"mnuMax", "&Умножить", "cmdMuch", "*"},
      {"mnuDev", "Де&лить", "cmdDev", "/"},
      {"mnuStep", "Возвести в &степень...", "cmdStep", "^"},
      {"mnuRadical", "&Извлечь  из корня...", "cmdRadical", "\\"},
      {"mnuCircle", "Округление", "cmdCircle", "~"},
  }};
  for (const RepeatedKey& key : kRepeatedKeys) {
    QAction* item = idle_only(AddItem(actions, key.name, key.caption));
    // The display takes typed characters itself, so the shortcut acts only when the display lacks the focus.
    item->setShortcut(QKeySequence(QString::fromLatin1(key.typed)));
    connect(item, &QAction::triggered, Button(key.button), &QPushButton::click);
  }

  QMenu* service = menuBar()->addMenu(QStringLiteral("&Сервис"));
  service->setObjectName(QStringLiteral("mnuService"));
  connect(idle_only(AddItem(service, "mnuColor", "&Цвет")), &QAction::triggered, this, &frmMain::ShowColors);
  connect(idle_only(AddItem(service, "mnuOptions", "&Настройки")), &QAction::triggered, this,
          &frmMain::ShowOptions);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Помощь"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  QAction* help_page = AddItem(help, "mnuCHM", "Вы&зов справки");
  help_page->setShortcut(QKeySequence::HelpContents);
  connect(help_page, &QAction::triggered, this, &frmMain::ShowHelp);
  connect(AddItem(help, "mnuAbout", "&О программе..."), &QAction::triggered, this, &frmMain::ShowAbout);
}

QPushButton* frmMain::Button(const char* name) const {
  return findChild<QPushButton*>(QString::fromUtf8(name));
}

void frmMain::RunKey(const std::function<void()>& action) {
  if (evaluating_) return;
  action();
  RefreshDisplay();
  txtResult->setFocus();
}

void frmMain::PressOperation(std::string_view code) {
  if (calculator_.EvaluatesBeforeRecording(code)) Evaluate();
  calculator_.RecordOperation(code);
}

// The computation runs on a thread of its own while this one keeps the window alive in a local event loop:
// the timer still refreshes the display and the progress bar, Esc still cancels, OFF still ends the program.
void frmMain::Evaluate() {
  Evaluation evaluation = calculator_.BeginEvaluation();
  evaluating_ = true;
  busy_look_.start();
  QEventLoop waiting;
  std::thread worker([this, &evaluation, &waiting] {
    calculator_.Compute(evaluation);
    QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
  });
  waiting.exec();
  worker.join();
  evaluating_ = false;
  busy_look_.stop();
  SetCalculatorInputEnabled(true);
  pbrMain->setValue(pbrMain->minimum());
  calculator_.FinishEvaluation(evaluation);
}

void frmMain::ShowOptions() {
  if (evaluating_) return;  // the running evaluation reads the settings
  frmOptions options(settings_, this);
  options.exec();
  EnableComputableKeys();
  activateWindow();  // the desktop need not give the activation back by itself
  txtResult->setFocus();
}

void frmMain::ShowColors() {
  if (evaluating_) return;
  frmColors colours(settings_, this);
  colours.exec();
  ApplyColourScheme(*this, settings_);
  activateWindow();
  txtResult->setFocus();
}

void frmMain::ShowOpenSave(bool open_mode) {
  if (evaluating_) return;  // the running evaluation owns the entry
  if (!open_mode && calculator_.CurrentNumber.empty()) {
    platform_.messages.Show("Нечего сохранять !!!", "Ошибка сохранения !!!", MessageIcon::kCritical);
    return;
  }
  if (open_save_ == nullptr) open_save_ = new frmOpenSave(calculator_, settings_, platform_, {}, this);
  open_save_->ShowModal(open_mode);
  RefreshDisplay();
  txtResult->setFocus();
}

void frmMain::StartWithFile(const std::string& file) {
  if (open_save_ == nullptr) open_save_ = new frmOpenSave(calculator_, settings_, platform_, {}, this);
  open_save_->StartFromCommandLine(file);
}

void frmMain::ShowMemList() {
  if (evaluating_) return;
  if (mem_list_ == nullptr) mem_list_ = new frmMemList(calculator_, platform_, {}, this);
  mem_list_->exec();
  RefreshDisplay();
  txtResult->setFocus();
}

void frmMain::ShowUnits() {
  if (evaluating_) return;
  frmTransUnit units(unit_request_file_, platform_.messages, this);
  units.exec();
  txtResult->setFocus();
}

void frmMain::ShowHelp() {
  ProgramDocuments(platform_.messages).Open(kHelpPage);
}

void frmMain::ShowAbout() {
  ProgramDocuments documents(platform_.messages);
  frmAbout about(documents, this);
  about.exec();
  txtResult->setFocus();
}

void frmMain::SetCalculatorInputEnabled(bool enabled) {
  keypad_->setEnabled(enabled);
  Button("cmdOptions")->setEnabled(enabled);
  for (QAction* item : calculator_items_) item->setEnabled(enabled);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtResult && event->type() == QEvent::KeyPress) {
    return txtResult_KeyPress(static_cast<const QKeyEvent&>(*event));
  }
  return QMainWindow::eventFilter(watched, event);
}

// Typed characters press the buttons they stand for, "," the point of the Russian keyboard; Enter,
// Backspace and Delete press "=", "<-" and "CE"; Esc cancels a running evaluation. Copying takes the whole
// entry, not the 38 characters shown. Returns whether the key was used.
bool frmMain::txtResult_KeyPress(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Escape) {
    if (evaluating_) calculator_.RequestCancel();
    return true;
  }
  if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Cut)) {
    mnuCopy->trigger();
    return true;
  }
  if (key.matches(QKeySequence::Paste)) {
    mnuPaste->trigger();
    return true;
  }
  for (const EditingKey& editing : kEditingKeys) {
    if (key.key() == editing.key) {
      Button(editing.button)->click();
      return true;
    }
  }
  const QString typed = key.text();
  if (typed.size() != 1 || typed[0].unicode() > 0x7F) return false;
  const char character = static_cast<char>(typed[0].unicode());
  const auto found = key_buttons_.find(ButtonForKey(character == ',' ? '.' : character));
  if (found == key_buttons_.end()) return false;
  found->second->click();
  return true;
}

void frmMain::tmrMain_Timer() {
  RefreshDisplay();
  // While an evaluation runs the engine belongs to its thread; the request waits for the next tick.
  if (!evaluating_) calculator_.ProcessUnitRequest(unit_request_file_);
  if (calculator_.Calculating()) {
    const float done = calculator_.Progress();
    if (done != 0.0F) pbrMain->setValue(static_cast<int>(done));
  }
}

void frmMain::ShowEntryEnd() {
  if (evaluating_) return;
  RefreshDisplay();
  hscResult->setValue(hscResult->maximum());
}

void frmMain::RefreshDisplay() {
  const std::string number = ShownNumber(calculator_.CurrentNumber);
  const std::size_t width = kDisplayWidth;
  hscResult->setMaximum(number.size() > width ? static_cast<int>(number.size() - width) : 0);
  const QString shown =
      QString::fromStdString(number.substr(static_cast<std::size_t>(hscResult->value()), width));
  if (txtResult->text() != shown) txtResult->setText(shown);
  lblMem->setText(QString::fromStdString(calculator_.MemoryIndicator()));
}

void frmMain::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !colours_applied_) {
    colours_applied_ = true;
    ApplyColourScheme(*this, settings_);
  }
  QMainWindow::changeEvent(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
  // A computation thread cannot be stopped from outside; ending the process is what "at once" means then.
  if (evaluating_) std::quick_exit(0);
  std::error_code ignored;  // a request file left behind holds nothing another program reads
  std::filesystem::remove(unit_request_file_, ignored);
  event->accept();
  QCoreApplication::exit(0);
}

}  // namespace ovn
