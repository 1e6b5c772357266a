// The main window driven offscreen: clicks, typed keys, the display window, a cancelled evaluation, the
// memory indicator, the menus and the timer's duties. The services are scripted fakes, so no dialog opens.
#include <QAction>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "frmMain.h"
#include "modal_window.h"
#include "qt_platform.h"

namespace ovn {

class FrmMainTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void EveryOperationButtonRecordsItsCode();
  void CaptionsShowTheRadicalSignAndTheTitle();
  void MenusHoldEveryItemEnabledWithItsShortcut();
  void ClickedChainAddsUp();
  void TypedKeysPressTheirButtons();
  void DisplayShowsA38CharacterWindowChosenByTheScrollBar();
  void EscCancelsALongEvaluationWhileTheWindowStaysLive();
  void MemoryIndicatorFollowsTheRegister();
  void ClipboardItemsAndHexGoThroughTheServices();
  void CopyKeysTakeTheWholeEntry();
  void RoundingKeyAsksForThePlaces();
  void TimerCarriesOutAUnitRequestOnce();
  void MachineDoublesGreyOutTheKeysTheyDoNotCompute();
  void KeypadGrowsWithTheWindow();
  void MessageBoxShowsItsWholeTitle();
  void QtOwnTextsAreRussian();  // last: the translation stays installed

 private:
  QPushButton* Button(const char* name) const;
  void Click(const char* name);
  void Type(const char* keys);
  QString Shown() const { return window_->findChild<QLineEdit*>("txtResult")->text(); }
  Calculator& calculator() const { return window_->calculator(); }

  RecordingMessages messages_;
  ScriptedInput input_;
  MemoryClipboard clipboard_;
  Platform platform_{messages_, input_, clipboard_};
  Settings settings_;
  std::unique_ptr<frmMain> window_;
};

void FrmMainTest::init() {
  messages_.shown.clear();
  input_ = ScriptedInput();
  clipboard_.text.clear();
  settings_ = Settings{};
  window_ = std::make_unique<frmMain>(settings_, platform_);
  window_->show();
  QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void FrmMainTest::cleanup() {
  window_.reset();
}

QPushButton* FrmMainTest::Button(const char* name) const {
  auto* button = window_->findChild<QPushButton*>(name);
  if (!button) qFatal("no button %s", name);
  return button;
}

void FrmMainTest::Click(const char* name) {
  QTest::mouseClick(Button(name), Qt::LeftButton);
}

void FrmMainTest::Type(const char* keys) {
  QTest::keyClicks(window_->findChild<QLineEdit*>("txtResult"), QString::fromUtf8(keys));
}

void FrmMainTest::EveryOperationButtonRecordsItsCode() {
  const struct {
    const char* button;
    const char* code;
  } cases[] = {
      // clang-format off
      {"cmdPlus", "PLUS"}, {"cmdMinus", "MINUS"}, {"cmdMuch", "MUCH"},
      {"cmdDev", "DEV"}, {"cmdStep", "STEP"}, {"cmdRadical", "RAD"},
      {"cmdMod", "MOD"}, {"cmdLog", "LOGARIFM"}, {"cmdGiperStep", "GIPERSTEP"},
      {"cmdCountCombination", "CCONBIN"}, {"cmdPerest", "PEREST"}, {"cmdArifmeticProgrecyRZ", "AP_RZ"},
      {"cmdGeometricProgrecyRZ", "GP_RZ"}, {"cmdLn", "LN"}, {"cmdExp", "EXPONENTA"},
      {"cmdFactorial", "FACTOR"}, {"cmdFactorialDouble", "FACTORDBL"}, {"cmdMid", "MID"},
      {"cmdGMid", "GMID"}, {"cmdMultinomial", "MULTINOM"}, {"cmdNOD", "NOD"},
      {"cmdNOC", "NOC"}, {"cmdArifmeticProgressNum", "AP_NUM"}, {"cmdGeometricProgressNum", "GP_NUM"},
      {"cmdArifmeticProgrecySum", "AP_SUM"}, {"cmdGeometricProgrecySum", "GP_SUM"}, {"cmdMin", "MIN"},
      {"cmdMax", "MAX"},
      // clang-format on
  };
  QCOMPARE(std::size(cases), Operations().size());
  for (const auto& c : cases) {
    Click("cmdClear");  // nothing pending, so no chained button evaluates
    Click(c.button);
    QCOMPARE(calculator().OperationCode, std::string(c.code));
    QVERIFY2(!Button(c.button)->toolTip().isEmpty(), c.button);
  }
}

void FrmMainTest::CaptionsShowTheRadicalSignAndTheTitle() {
  QCOMPARE(window_->windowTitle(), QString("Orvane Lite 0.1"));
  QCOMPARE(Button("cmdRadical")->text(), QString("√"));
  QCOMPARE(Button("cmdRadical")->toolTip(), QString("Извлечение математического корня"));
  QCOMPARE(Button("cmdMuch")->text(), QString("X"));
  QCOMPARE(Button("cmdGMid")->text(), QString("ГMid"));
  QCOMPARE(Button("cmdOff")->toolTip(), QString("Закрыть программу, выключить"));
}

void FrmMainTest::MenusHoldEveryItemEnabledWithItsShortcut() {
  const struct {
    const char* name;
    const char* caption;
    const char* shortcut;
  } items[] = {
      // clang-format off
      {"mnuOpen", "&Открыть", "Ctrl+O"}, {"mnuSave", "&Сохранить", "Ctrl+S"},
      {"mnuMemList", "Список чисел", ""}, {"mnuExit", "Выход", "Ctrl+Q"},
      {"mnuCut", "&Вырезать", "Ctrl+X"}, {"mnuCopy", "&Копировать", "Ctrl+C"},
      {"mnuPaste", "Вст&авить", "Ctrl+V"}, {"mnuPlus", "П&люс", "+"},
      {"mnuMinus", "&Минус", "-"}, {"mnuMax", "&Умножить", "*"},
      {"mnuDev", "Де&лить", "/"}, {"mnuStep", "Возвести в &степень...", "^"},
      {"mnuRadical", "&Извлечь  из корня...", "\\"}, {"mnuCircle", "Округление", "~"},
      {"mnuColor", "&Цвет", ""}, {"mnuOptions", "&Настройки", ""},
      {"mnuCHM", "Вы&зов справки", "F1"}, {"mnuAbout", "&О программе...", ""},
      // clang-format on
  };
  for (const auto& item : items) {
    auto* action = window_->findChild<QAction*>(item.name);
    QVERIFY2(action, item.name);
    QCOMPARE(action->text(), QString::fromUtf8(item.caption));
    QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), QString::fromUtf8(item.shortcut));
    QVERIFY(action->isEnabled());
  }
  for (const char* separator : {"mnuR1", "mnuR3"})
    QVERIFY(window_->findChild<QAction*>(separator)->isSeparator());

  // An item of "Действия" does what its button does.
  Type("6");
  window_->findChild<QAction*>("mnuMax")->trigger();
  Type("7=");
  QCOMPARE(Shown(), QString("42"));
}

void FrmMainTest::ClickedChainAddsUp() {
  for (const char* key : {"cmd2", "cmdPlus", "cmd3", "cmdPlus", "cmd4", "cmdRight"}) Click(key);
  QCOMPARE(Shown(), QString("9"));
  Click("cmd5");  // digits after "=" extend the result
  QCOMPARE(Shown(), QString("95"));
}

void FrmMainTest::TypedKeysPressTheirButtons() {
  const struct {
    const char* keys;
    const char* shown;
  } cases[] = {
      // clang-format off
      {"6x7=", "42"},  // "x", "X" and "*" multiply
      {"6X7=", "42"},
      {"6*7=", "42"},
      {"3,5", "3.5"},  // the comma is the point of the Russian keyboard
      {"2+3\r", "5"},  // Enter is "="
      {"12\b3", "13"},  // Backspace is "<-"
      {"1a+b2=", "3"},  // letters do nothing
      {"9-2.5=/2=", "3.25"},
      {"2^10=", "1024"},
      {"81\\2=", "9.0000000000000"},  // a backslash takes a root
      {"5-5=", "0"},  // the engines' empty zero is shown as 0
      {".2+.3=", "0.5"},
      // clang-format on
  };
  for (const auto& c : cases) {
    Click("cmdClear");
    Type(c.keys);
    QCOMPARE(Shown(), QString(c.shown));
  }
  auto* display = window_->findChild<QLineEdit*>("txtResult");
  Click("cmdClear");
  Type("4+5");
  QTest::keyClick(display, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(Shown(), QString("9"));
  Type("+");
  QTest::keyClick(display, Qt::Key_Delete);  // "CE": the pending addition goes too
  Type("7=");
  QCOMPARE(Shown(), QString("7"));
}

void FrmMainTest::DisplayShowsA38CharacterWindowChosenByTheScrollBar() {
  const std::string fifty = "12345678901234567890123456789012345678901234567890";
  Type(fifty.c_str());
  auto* scroll = window_->findChild<QScrollBar*>("hscResult");
  QCOMPARE(scroll->maximum(), 12);
  // Typing keeps the last character typed in view, the scroll bar with it.
  QCOMPARE(scroll->value(), 12);
  QCOMPARE(Shown(), QString::fromStdString(fifty.substr(12)));

  scroll->setValue(0);
  QTRY_COMPARE(Shown(), QString::fromStdString(fifty.substr(0, 38)));
  QCOMPARE(calculator().CurrentNumber, fifty);  // the display is a view only
  Type("\b");
  QCOMPARE(Shown(), QString::fromStdString(fifty.substr(11, 38)));

  // The timer keeps the display in step with changes it was not told about.
  calculator().CurrentNumber = "77";
  QTRY_COMPARE(Shown(), QString("77"));
  QCOMPARE(scroll->maximum(), 0);
}

// The logarithm to 32,000 places runs for about a second: long enough to see the window keep working.
void FrmMainTest::EscCancelsALongEvaluationWhileTheWindowStaysLive() {
  // Arguments with long fractions: no constant's fast series serves them, so the evaluation lasts.
  settings_.LogCount = 32000;
  auto* progress = window_->findChild<QProgressBar*>("pbrMain");
  Type("3.98765432198765");
  Click("cmdLog");
  Type("7.12345678912345");

  bool progress_seen = false;
  QTimer watcher;
  const auto busy_greyed = [this] {
    return !Button("cmd5")->isEnabled() && !Button("cmdOptions")->isEnabled() &&
           !window_->findChild<QAction*>("mnuOptions")->isEnabled() &&
           !window_->findChild<QAction*>("mnuOpen")->isEnabled();
  };
  connect(&watcher, &QTimer::timeout, this, [&] {
    if (!calculator().Calculating() || progress->value() <= 0 || !busy_greyed()) return;
    progress_seen = true;
    watcher.stop();
    Button("cmd5")->click();  // input is refused while the evaluation runs
    QTest::keyClick(window_->findChild<QLineEdit*>("txtResult"), Qt::Key_Escape);
  });
  watcher.start(5);
  Type("=");  // returns when the evaluation has ended

  QVERIFY(progress_seen);
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].text, std::string("Вычисление прервано!"));
  QCOMPARE(messages_.shown[0].title, std::string("Ошибка вычисления!"));
  QVERIFY(messages_.shown[0].icon == MessageIcon::kCritical);
  QCOMPARE(calculator().OperationCode, std::string("LOGARIFM"));
  QCOMPARE(Shown(), QString("7.12345678912345"));
  QCOMPARE(progress->value(), progress->minimum());
  QVERIFY(Button("cmd5")->isEnabled());
  QVERIFY(Button("cmdOptions")->isEnabled());
  QVERIFY(window_->findChild<QAction*>("mnuOpen")->isEnabled());

  // The pending operation is still there for a quicker second try.
  settings_.LogCount = 3;
  Type("=");
  QCOMPARE(Shown(), QString("0.704"));
}

void FrmMainTest::MemoryIndicatorFollowsTheRegister() {
  auto* indicator = window_->findChild<QLabel*>("lblMem");
  Click("cmdMemPlus");  // an empty entry changes nothing
  QCOMPARE(indicator->text(), QString());
  for (const char* key : {"cmd5", "cmdMemPlus"}) Click(key);
  QCOMPARE(indicator->text(), QString("M+"));
  for (const char* key : {"cmdNew", "cmd3", "cmdMemMinus"}) Click(key);
  QCOMPARE(indicator->text(), QString("M-"));
  for (const char* key : {"cmdNew", "cmdMemSee"}) Click(key);
  QCOMPARE(Shown(), QString("2"));
  Click("cmdMemClear");
  QCOMPARE(indicator->text(), QString());
  Click("cmd7");
  QCOMPARE(Shown(), QString("7"));
}

void FrmMainTest::ClipboardItemsAndHexGoThroughTheServices() {
  Type("255");
  window_->findChild<QAction*>("mnuCut")->trigger();
  QCOMPARE(QString::fromStdString(clipboard_.text), QString("255"));
  QCOMPARE(Shown(), QString("255"));  // cut leaves the entry

  clipboard_.text = "12.5";
  window_->findChild<QAction*>("mnuPaste")->trigger();
  QCOMPARE(Shown(), QString("12.5"));
  clipboard_.text = "twelve";
  window_->findChild<QAction*>("mnuPaste")->trigger();
  QCOMPARE(Shown(), QString("12.5"));
  QCOMPARE(messages_.LastText(), std::string("В буфере обмена нет числа."));
  messages_.shown.clear();

  Click("cmdClear");
  Type("255");
  Click("cmdHex");
  QCOMPARE(QString::fromStdString(clipboard_.text), QString("FF"));
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QVERIFY(messages_.shown[0].icon == MessageIcon::kInformation);
  QCOMPARE(Shown(), QString("255"));
}

// 1000! has 2,568 digits, of which the display shows 38.
void FrmMainTest::CopyKeysTakeTheWholeEntry() {
  auto* display = window_->findChild<QLineEdit*>("txtResult");
  Type("1000");
  Click("cmdFactorial");
  Type("=");
  const std::string factorial = calculator().CurrentNumber;
  QCOMPARE(factorial.size(), std::size_t{2568});
  QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clipboard_.text, factorial);

  clipboard_.text.clear();
  QTest::keyClick(display, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(display, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clipboard_.text, factorial);
  // The display's context menu is the window's copy and paste.
  QCOMPARE(display->contextMenuPolicy(), Qt::ActionsContextMenu);
  QCOMPARE(display->actions().size(), 2);
  QCOMPARE(display->actions()[0]->objectName(), QString("mnuCopy"));

  clipboard_.text = "12.5";
  QTest::keyClick(display, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(Shown(), QString("12.5"));
}

void FrmMainTest::RoundingKeyAsksForThePlaces() {
  input_.answers = {"2"};
  Type("3.14159~");
  QCOMPARE(Shown(), QString("3.14"));
  Type("7");  // rounding starts a new number
  QCOMPARE(Shown(), QString("7"));
}

void FrmMainTest::TimerCarriesOutAUnitRequestOnce() {
  const std::filesystem::path request = window_->UnitRequestFile();
  // Each running program has its own request file.
  QVERIFY(request.filename().string().find(std::to_string(QCoreApplication::applicationPid())) !=
          std::string::npos);
  Type("5");
  std::ofstream(request) << "1\n0\nMASS\n";  // kilograms to grams
  QTRY_COMPARE(Shown(), QString("5000"));
  QCOMPARE(std::filesystem::file_size(request), std::uintmax_t{0});
  QTest::qWait(150);  // later ticks find the request emptied
  QCOMPARE(Shown(), QString("5000"));
  std::filesystem::remove(request);
}

void FrmMainTest::MachineDoublesGreyOutTheKeysTheyDoNotCompute() {
  QVERIFY(Button("cmdMod")->isEnabled());
  settings_.TypeNum = 0;
  window_ = std::make_unique<frmMain>(settings_, platform_);
  QVERIFY(!Button("cmdMod")->isEnabled());
  QVERIFY(!Button("cmdMid")->isEnabled());
  QVERIFY(Button("cmdRadical")->isEnabled());
  QVERIFY(Button("cmdPlus")->isEnabled());
}

void FrmMainTest::KeypadGrowsWithTheWindow() {
  const QSize key = Button("cmd5")->size();
  window_->resize(window_->size() * 2);
  QTRY_VERIFY(Button("cmd5")->width() > key.width() * 3 / 2);
  QVERIFY(Button("cmd5")->height() > key.height() * 3 / 2);
}

void FrmMainTest::MessageBoxShowsItsWholeTitle() {
  const QString title = QString::fromUtf8(kCalculationErrorTitle.data(), kCalculationErrorTitle.size());
  int width = 0;
  int title_width = 0;
  WhenModalOpens([&](QWidget* box) {
    width = box->width();
    title_width = QFontMetrics(box->font()).horizontalAdvance(title);
    qobject_cast<QMessageBox*>(box)->accept();
  });
  ShowMessageBox(window_.get(), QMessageBox::Critical, title, QStringLiteral("Деление на ноль!"));
  QVERIFY2(width > title_width + 100, qPrintable(QString("%1 %2").arg(width).arg(title_width)));
}

// The tests run in the C locale: the Russian comes from the translations alone.
void FrmMainTest::QtOwnTextsAreRussian() {
  QVERIFY2(InstallQtTranslations(*QCoreApplication::instance()),
           "Qt's qtbase_ru is missing: scripts/setup.sh test installs qt6-translations-l10n");
  QMessageBox question(QMessageBox::Question, "?", "?", QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(question.button(QMessageBox::Yes)->text(), QString("&Да"));
  QCOMPARE(question.button(QMessageBox::No)->text(), QString("&Нет"));
  QColorDialog colours;
  QCOMPARE(colours.windowTitle(), QString("Выбор цвета"));
}

}  // namespace ovn

QTEST_MAIN(ovn::FrmMainTest)
#include "frm_main_test.moc"
