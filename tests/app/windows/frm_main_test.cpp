// The main window driven offscreen: clicks, typed keys, the display window, a cancelled evaluation, the
// memory indicator, the menus and the timer's duties. The services are scripted fakes, so no dialog opens.
#include <QAction>
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

namespace ovn {

class FrmMainTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void EveryOperationButtonRecordsItsCode();
  void CaptionsShowTheRadicalSignAndTheTitle();
  void MenusHoldEveryItemEnabled();
  void ClickedChainAddsUp();
  void TypedKeysPressTheirButtons();
  void DisplayShowsA38CharacterWindowChosenByTheScrollBar();
  void EscCancelsALongEvaluationWhileTheWindowStaysLive();
  void MemoryIndicatorFollowsTheRegister();
  void ClipboardItemsAndHexGoThroughTheServices();
  void RoundingKeyAsksForThePlaces();
  void TimerCarriesOutAUnitRequestOnce();
  void MachineDoublesGreyOutTheKeysTheyDoNotCompute();

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

void FrmMainTest::MenusHoldEveryItemEnabled() {
  const struct {
    const char* name;
    const char* caption;
    bool enabled;
  } items[] = {
      // clang-format off
      {"mnuOpen", "&Открыть", true}, {"mnuSave", "&Сохранить", true},
      {"mnuMemList", "Список чисел", true}, {"mnuExit", "Выход", true},
      {"mnuCut", "&Вырезать", true}, {"mnuCopy", "&Копировать", true},
      {"mnuPaste", "Вст&авить", true}, {"mnuPlus", "П&люс", true},
      {"mnuMinus", "&Минус", true}, {"mnuMax", "&Умножить", true},
      {"mnuDev", "Де&лить", true}, {"mnuStep", "Возвести в &степень...", true},
      {"mnuRadical", "&Извлечь  из корня...", true}, {"mnuCircle", "Округление", true},
      {"mnuColor", "&Цвет", true}, {"mnuOptions", "&Настройки", true},
      {"mnuCHM", "Вы&зов справки", true}, {"mnuAbout", "&О программе...", true},
      // clang-format on
  };
  for (const auto& item : items) {
    auto* action = window_->findChild<QAction*>(item.name);
    QVERIFY2(action, item.name);
    QCOMPARE(action->text(), QString::fromUtf8(item.caption));
    QCOMPARE(action->isEnabled(), item.enabled);
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
      {"1,5", "15"},  // the comma is not a point
      {"1\r5", "15"},  // nor is Enter "="
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
}

void FrmMainTest::DisplayShowsA38CharacterWindowChosenByTheScrollBar() {
  const std::string fifty = "12345678901234567890123456789012345678901234567890";
  Type(fifty.c_str());
  auto* scroll = window_->findChild<QScrollBar*>("hscResult");
  QCOMPARE(scroll->maximum(), 12);
  QCOMPARE(Shown(), QString::fromStdString(fifty.substr(0, 38)));

  scroll->setValue(scroll->maximum());
  QTRY_COMPARE(Shown(), QString::fromStdString(fifty.substr(12)));
  QCOMPARE(calculator().CurrentNumber, fifty);  // the display is a view only

  // The timer keeps the display in step with changes it was not told about.
  calculator().CurrentNumber = "77";
  QTRY_COMPARE(Shown(), QString("77"));
  QCOMPARE(scroll->maximum(), 0);
}

// The logarithm to 32,000 places runs for about a second: long enough to see the window keep working.
void FrmMainTest::EscCancelsALongEvaluationWhileTheWindowStaysLive() {
  settings_.LogCount = 32000;
  auto* progress = window_->findChild<QProgressBar*>("pbrMain");
  Type("3");
  Click("cmdLog");
  Type("7");

  bool progress_seen = false;
  QTimer watcher;
  connect(&watcher, &QTimer::timeout, this, [&] {
    if (!calculator().Calculating() || progress->value() <= 0) return;
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
  QCOMPARE(Shown(), QString("7"));
  QCOMPARE(progress->value(), progress->minimum());
  QVERIFY(Button("cmd5")->isEnabled());

  // The pending operation is still there for a quicker second try.
  settings_.LogCount = 3;
  Type("=");
  QCOMPARE(Shown(), QString("0.564"));
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

  Click("cmdClear");
  Type("255");
  Click("cmdHex");
  QCOMPARE(QString::fromStdString(clipboard_.text), QString("FF"));
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QVERIFY(messages_.shown[0].icon == MessageIcon::kInformation);
  QCOMPARE(Shown(), QString("255"));
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

}  // namespace ovn

QTEST_MAIN(ovn::FrmMainTest)
#include "frm_main_test.moc"
