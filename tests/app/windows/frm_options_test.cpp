// The options window driven offscreen: it opens with the settings in force, its boxes read what is typed
// leniently and within range, the pi and e values are cut from the reference texts, Отмена changes
// nothing, OK stores and saves everything, "Обзор" fills the file box only when a file was chosen, and
// the main window opens it modally from "[?]" and "&Настройки".
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "fake_platform.h"
#include "frmMain.h"
#include "frmOptions.h"
#include "modal_window.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

}  // namespace

class FrmOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void OpensWithTheSettingsInForce();
  void PiAndEAreCutNotRounded();
  void TypedCountsAreReadLenientlyWithinTheirRanges();
  void CancelChangesNothing();
  void OkStoresEveryValueAndTheyOutliveARestart();
  void OkKeepsAMemoryListPathThatIsNotUtf8();
  void BrowseFillsTheFileBoxOnlyWhenAFileIsChosen();
  void MainWindowOpensTheOptionsModallyAndTakesTheFocusBack();

 private:
  template <typename T>
  T* Find(const char* name) const {
    auto* found = window_->findChild<T*>(name);
    if (!found) qFatal("no %s", name);
    return found;
  }
  void Open() { window_ = std::make_unique<frmOptions>(settings_); }
  void TypeInto(const char* text_box, const char* text) {
    QLineEdit* box = Find<QLineEdit>(text_box);
    box->selectAll();
    QTest::keyClicks(box, QString::fromUtf8(text));
  }

  std::unique_ptr<QTemporaryDir> store_;
  Settings settings_;
  std::unique_ptr<frmOptions> window_;
};

void FrmOptionsTest::init() {
  store_ = std::make_unique<QTemporaryDir>();
  QVERIFY(store_->isValid());
  qputenv("ORVANEL_CONFIG_DIR", store_->path().toLocal8Bit());
  settings_ = Settings{};
}

void FrmOptionsTest::cleanup() {
  window_.reset();
  qunsetenv("ORVANEL_CONFIG_DIR");
  store_.reset();
}

void FrmOptionsTest::OpensWithTheSettingsInForce() {
  settings_.TypeNum = 0;
  settings_.DevCount = 100;
  settings_.RadCount = 200;
  settings_.MaxDevConv = 300;
  settings_.LogCount = 40;
  settings_.PiCount = 5;
  settings_.ExpCount = 2;
  settings_.MemListFile = "/home/user/список.num";
  Open();
  QCOMPARE(window_->windowTitle(), QString("Настройки"));
  const auto* tabs = Find<QTabWidget>("sstMain");
  QCOMPARE(tabs->currentIndex(), 0);
  QCOMPARE(tabs->tabText(0), QString(" Обычные "));
  QCOMPARE(tabs->tabText(1), QString(" Точность "));
  QCOMPARE(tabs->tabText(2), QString(" Значения "));
  QCOMPARE(Find<QComboBox>("cboNumType")->currentIndex(), 0);
  QCOMPARE(Find<QComboBox>("cboNumType")->itemText(2), QString("Экстремальный двоичный!"));
  QCOMPARE(Find<QLineEdit>("txtMemList")->text(), QString("/home/user/список.num"));
  const struct {
    const char* box;
    const char* text_box;
    int value;
    CountRange range;
  } counts[] = {
      {"udDev", "txtDev", 100, kPrecisionRange},
      {"udRadical", "txtRadical", 200, kPrecisionRange},
      {"udDevBinConvert", "txtDevBinConvert", 300, kPrecisionRange},
      {"udLog", "txtLog", 40, kLogRange},
      {"udPi", "txtPi", 5, kPiRange},
      {"udExpn", "txtExpn", 2, kExpRange},
  };
  for (const auto& count : counts) {
    const auto* box = Find<QSpinBox>(count.box);
    QCOMPARE(box->value(), count.value);
    QCOMPARE(Find<QLineEdit>(count.text_box)->text(), QString::number(count.value));
    QCOMPARE(box->minimum(), count.range.low);
    QCOMPARE(box->maximum(), count.range.high);
  }
  QCOMPARE(Find<QLabel>("lblPiNum")->text(), QString("3.14159"));
  QCOMPARE(Find<QLabel>("lblNumExpn")->text(), QString("2.71"));
}

void FrmOptionsTest::PiAndEAreCutNotRounded() {
  Open();
  const struct {
    const char* box;
    const char* label;
    int places;
    const char* shown;
  } cases[] = {
      {"udPi", "lblPiNum", 2, "3.14"},
      {"udPi", "lblPiNum", 4, "3.1415"},                              // 3.14159 rounds to 3.1416
      {"udPi", "lblPiNum", 32, "3.1415926535897932384626433832795"},  // the reference has 31 digits
      {"udExpn", "lblNumExpn", 3, "2.718"},
      {"udExpn", "lblNumExpn", 5, "2.71828"},  // 2.718281 rounds to 2.71829
      {"udExpn", "lblNumExpn", 14, "2.71828182845904"},
  };
  for (const auto& c : cases) {
    Find<QSpinBox>(c.box)->setValue(c.places);
    QCOMPARE(Find<QLabel>(c.label)->text(), QString(c.shown));
  }
}

void FrmOptionsTest::TypedCountsAreReadLenientlyWithinTheirRanges() {
  Open();
  const struct {
    const char* text_box;
    const char* box;
    const char* typed;
    int value;
  } cases[] = {
      {"txtExpn", "udExpn", "1", 2},
      {"txtExpn", "udExpn", "20", 14},
      {"txtPi", "udPi", "7", 7},
      {"txtPi", "udPi", "99", 32},
      {"txtDev", "udDev", "12abc", 12},
      {"txtDev", "udDev", "40000", 20000},
      {"txtDev", "udDev", "1e999", 20000},
      {"txtDev", "udDev", "2.5", 2},  // half to even
      {"txtRadical", "udRadical", "3.5", 4},
      {"txtLog", "udLog", "abc", 0},
      {"txtLog", "udLog", "5000", 2000},
      {"txtDevBinConvert", "udDevBinConvert", " 77", 77},
  };
  for (const auto& c : cases) {
    TypeInto(c.text_box, c.typed);
    QVERIFY2(Find<QSpinBox>(c.box)->value() == c.value, c.typed);
  }
  QCOMPARE(Find<QLabel>("lblNumExpn")->text(), QString("2.71828182845904"));
  QCOMPARE(Find<QLabel>("lblPiNum")->text(), QString("3.1415926535897932384626433832795"));
}

void FrmOptionsTest::CancelChangesNothing() {
  Open();
  Find<QComboBox>("cboNumType")->setCurrentIndex(2);
  TypeInto("txtDev", "500");
  Find<QSpinBox>("udPi")->setValue(3);
  QTest::mouseClick(Find<QPushButton>("cmdCancel"), Qt::LeftButton);
  QCOMPARE(window_->result(), int(QDialog::Rejected));
  QCOMPARE(settings_.TypeNum, 1);
  QCOMPARE(settings_.DevCount, std::int16_t{12});
  QCOMPARE(settings_.PiCount, std::int16_t{31});
  QVERIFY(QDir(store_->path()).isEmpty());  // nothing saved
}

void FrmOptionsTest::OkKeepsAMemoryListPathThatIsNotUtf8() {
  const std::string path = "/tmp/\xEF\xE0\xEC\xFF\xF2\xFC.num";  // in the old single-byte code page
  settings_.MemListFile = path;
  Open();
  QTest::mouseClick(Find<QPushButton>("cmdOK"), Qt::LeftButton);
  QCOMPARE(settings_.MemListFile, path);
  Settings reloaded;
  QCOMPARE(LoadSettings(reloaded), std::string());
  QCOMPARE(reloaded.MemListFile, path);
}

void FrmOptionsTest::OkStoresEveryValueAndTheyOutliveARestart() {
  Open();
  Find<QComboBox>("cboNumType")->setCurrentText("Экстремальный двоичный!");
  TypeInto("txtDev", "30");
  TypeInto("txtRadical", "31");
  TypeInto("txtDevBinConvert", "32");
  TypeInto("txtLog", "33");
  TypeInto("txtPi", "6");
  TypeInto("txtExpn", "4");
  Find<QLineEdit>("txtMemList")->setText("/tmp/memory.num");
  QTest::mouseClick(Find<QPushButton>("cmdOK"), Qt::LeftButton);
  QCOMPARE(window_->result(), int(QDialog::Accepted));

  Settings reloaded;  // as the program starts
  QCOMPARE(LoadSettings(reloaded), std::string());
  QCOMPARE(LoadPrecisionOverrides(reloaded), std::string());
  for (const Settings* s : {&settings_, &reloaded}) {
    QCOMPARE(s->TypeNum, 2);
    QCOMPARE(s->DevCount, std::int16_t{30});
    QCOMPARE(s->RadCount, std::int16_t{31});
    QCOMPARE(s->MaxDevConv, std::int16_t{32});
    QCOMPARE(s->LogCount, std::int16_t{33});
    QCOMPARE(s->PiCount, std::int16_t{6});
    QCOMPARE(s->ExpCount, std::int16_t{4});
    QCOMPARE(s->PiValue, std::string("3.141592"));
    QCOMPARE(s->ExpValue, std::string("2.7182"));
    QCOMPARE(s->MemListFile, std::string("/tmp/memory.num"));
  }
}

void FrmOptionsTest::BrowseFillsTheFileBoxOnlyWhenAFileIsChosen() {
  settings_.MemListFile = "kept.num";
  Open();
  QLineEdit* file_box = Find<QLineEdit>("txtMemList");
  QString title;
  WhenModalOpens([&](QWidget* dialog) {
    title = dialog->windowTitle();
    static_cast<QDialog*>(dialog)->reject();
  });
  QTest::mouseClick(Find<QPushButton>("cmdMemList"), Qt::LeftButton);
  QCOMPARE(title, QString("Выберите файл для списка чисел"));
  QCOMPARE(file_box->text(), QString("kept.num"));

  const QString chosen = store_->filePath("list");  // no extension typed: the filter's is added
  WhenModalOpens([&](QWidget* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files);
    files->selectFile(chosen);
    static_cast<QDialog*>(files)->accept();  // QFileDialog hides it, QDialog does not
  });
  QTest::mouseClick(Find<QPushButton>("cmdMemList"), Qt::LeftButton);
  QCOMPARE(file_box->text(), chosen + ".num");
  QCOMPARE(file_box->toolTip(), chosen + ".num");
}

void FrmOptionsTest::MainWindowOpensTheOptionsModallyAndTakesTheFocusBack() {
  FakePlatform services;
  frmMain main_window(settings_, services.platform);
  main_window.show();
  main_window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&main_window));
  auto* options_item = main_window.findChild<QAction*>("mnuOptions");
  QVERIFY(options_item->isEnabled());
  QVERIFY(main_window.findChild<QPushButton*>("cmdOptions")->isEnabled());

  // "[?]" and confirming "Экстремальный двоичный!": the calculator's next "=" takes the extreme engine.
  WhenModalOpens([&](QWidget* dialog) {
    QVERIFY(qobject_cast<frmOptions*>(dialog));
    QCOMPARE(dialog->parentWidget(), &main_window);
    QVERIFY(dialog->isModal());
    dialog->findChild<QComboBox*>("cboNumType")->setCurrentIndex(2);
    dialog->findChild<QPushButton*>("cmdOK")->click();
  });
  QTest::mouseClick(main_window.findChild<QPushButton*>("cmdOptions"), Qt::LeftButton);
  QCOMPARE(main_window.calculator().settings().TypeNum, 2);
  QTRY_COMPARE(QApplication::focusWidget(), main_window.findChild<QLineEdit*>("txtResult"));

  // "&Настройки" opens it too; Отмена keeps the type.
  bool opened = false;
  WhenModalOpens([&](QWidget* dialog) {
    opened = qobject_cast<frmOptions*>(dialog) != nullptr;
    dialog->findChild<QPushButton*>("cmdCancel")->click();
  });
  options_item->trigger();
  QVERIFY(opened);
  QCOMPARE(main_window.calculator().settings().TypeNum, 2);
  QVERIFY(main_window.findChildren<frmOptions*>().isEmpty());  // unloaded by both buttons
}

}  // namespace ovn

QTEST_MAIN(ovn::FrmOptionsTest)
#include "frm_options_test.moc"
