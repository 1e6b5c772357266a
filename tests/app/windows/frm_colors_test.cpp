// The colour window driven offscreen, with the real colour dialog scripted: it opens with the settings'
// colours, "Обновить" and Отмена touch no setting, OK saves the five colours (and tells a failed save), a
// colour button takes what the shared colour dialog leaves; and the main window paints its scheme at its
// first activation and after the colour window, never at a later activation.
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "CommonDialogExtention.h"
#include "colour_scheme.h"
#include "fake_platform.h"
#include "modal_window.h"
#include "frmColors.h"
#include "frmMain.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

QColor Desktop(QPalette::ColorRole role) {
  return QGuiApplication::palette().color(role);
}

QColor Fill(const QWidget* widget, QPalette::ColorRole role) {
  return widget->palette().color(role);
}

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kNavy = 0x800000;

}  // namespace

class FrmColorsTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void ColourValuesReadAsTheDesktopDrawsThem();
  void OpensWithTheSettingsColoursAndCaptions();
  void OkWithoutChangesSavesTheSameColours();
  void ResetThenCancelChangesNothing();
  void ColourDialogStartsAtTheButtonAndCancelKeepsIt();
  void FailedSaveIsTold();
  void ResetThenOkGivesTheDesktopLookOnTheMainWindow();
  void SchemeIsPaintedAtFirstActivationAndAfterTheColourWindowOnly();
  void KeyCaptionsStayReadableAndGreyWhenDisabled();

 private:
  QPushButton* Find(const char* name) const {
    auto* found = window_->findChild<QPushButton*>(name);
    if (!found) qFatal("no %s", name);
    return found;
  }
  void Open() { window_ = std::make_unique<frmColors>(settings_); }
  void SetColours(std::uint32_t main, std::uint32_t buttons, std::uint32_t text_back, std::uint32_t text,
                  std::uint32_t memory) {
    settings_.Main = main;
    settings_.BGButton = buttons;
    settings_.BGText = text_back;
    settings_.LBText = text;
    settings_.Memory = memory;
  }
  // The main window, shown and active, so its scheme is painted.
  std::unique_ptr<frmMain> ActiveMainWindow() {
    auto main_window = std::make_unique<frmMain>(settings_, services_.platform);
    main_window->show();
    main_window->activateWindow();
    if (!QTest::qWaitForWindowActive(main_window.get())) qFatal("the main window is not activated");
    return main_window;
  }

  std::unique_ptr<QTemporaryDir> store_;
  Settings settings_;
  FakePlatform services_;
  std::unique_ptr<frmColors> window_;
};

void FrmColorsTest::init() {
  store_ = std::make_unique<QTemporaryDir>();
  QVERIFY(store_->isValid());
  qputenv("ORVANEL_CONFIG_DIR", store_->path().toLocal8Bit());
  settings_ = Settings{};
  SharedDialogs().RGBResult(0);
}

void FrmColorsTest::cleanup() {
  window_.reset();
  qunsetenv("ORVANEL_CONFIG_DIR");
  store_.reset();
}

void FrmColorsTest::ColourValuesReadAsTheDesktopDrawsThem() {
  QPalette desktop;
  desktop.setColor(QPalette::Button, QColor(1, 2, 3));
  desktop.setColor(QPalette::Base, QColor(4, 5, 6));
  desktop.setColor(QPalette::Text, QColor(7, 8, 9));
  desktop.setColor(QPalette::ButtonText, QColor(10, 11, 12));
  const struct {
    std::uint32_t value;
    QColor drawn;
  } cases[] = {
      {0x0000FF, QColor(255, 0, 0)},         // 00BBGGRR: red in the low byte
      {0xFF0000, QColor(0, 0, 255)},         // blue in the high byte
      {0x123456, QColor(0x56, 0x34, 0x12)},  // bytes in reverse order
      {0x8000000F, QColor(1, 2, 3)},         // button face
      {0x80000005, QColor(4, 5, 6)},         // window
      {0x80000008, QColor(7, 8, 9)},         // window text
      {0x80000012, QColor(10, 11, 12)},      // button text
      {0x80000001, QColor(1, 2, 3)},         // no role of its own: the button face
  };
  for (const auto& c : cases) {
    QVERIFY2(ToQColor(c.value, desktop) == c.drawn, qPrintable(QString::number(c.value, 16)));
  }
}

void FrmColorsTest::OpensWithTheSettingsColoursAndCaptions() {
  SetColours(kButtonFaceColour, kRed, kGreen, kNavy, 0x123456);
  Open();
  QCOMPARE(window_->windowTitle(), QString("Изменение цвета"));
  const struct {
    const char* name;
    const char* caption;
  } frames[] = {
      {"fraFMain", "Изменение цвета окна"},
      {"fraButtons", "Изменение цвета кпопок"},
      {"fraText", "Изменение цвета тектового табло"},
      {"fraMemory", "Изменение цвета индикатора памяти"},
  };
  for (const auto& frame : frames) {
    QCOMPARE(window_->findChild<QGroupBox*>(frame.name)->title(), QString(frame.caption));
  }
  const struct {
    const char* label;
    const char* caption;
    const char* frame;
    const char* button;
    QColor shown;
  } rows[] = {
      {"lblMainIn", "Цвет фона окна:", "fraFMain", "cmdMainIn", Desktop(QPalette::Button)},
      {"lblBackgroundButtons", "Цвет фона:", "fraButtons", "cmdBackgroundButtons", Qt::red},
      {"lblBackgroundText", "Цвет фона:", "fraText", "cmdBackgroundText", Qt::green},
      {"lblLabelText", "Цвет текста:", "fraText", "cmdLabelText", QColor(0, 0, 0x80)},
      {"lblMemory", "Цвет индикатора памяти:", "fraMemory", "cmdMemory", QColor(0x56, 0x34, 0x12)},
  };
  for (const auto& row : rows) {
    const auto* label = window_->findChild<QLabel*>(row.label);
    QCOMPARE(label->text(), QString(row.caption));
    QCOMPARE(label->parent()->objectName(), QString(row.frame));
    QCOMPARE(Find(row.button)->parent()->objectName(), QString(row.frame));
    QCOMPARE(Fill(Find(row.button), QPalette::Button), row.shown);
  }
  QCOMPARE(Find("cmdOK")->text(), QString("OK"));
  QCOMPARE(Find("cmdCancel")->text(), QString("Отмена"));
  QCOMPARE(Find("cmdNull")->text(), QString("Обновить"));
}

void FrmColorsTest::OkWithoutChangesSavesTheSameColours() {
  SetColours(kButtonFaceColour, kRed, kGreen, kNavy, 0x80000005);  // system colours stay system colours
  const Settings before = settings_;
  Open();
  QTest::mouseClick(Find("cmdOK"), Qt::LeftButton);
  QCOMPARE(window_->result(), int(QDialog::Accepted));

  Settings reloaded;
  QCOMPARE(LoadSettings(reloaded), std::string());
  for (const Settings* s : {&settings_, &reloaded}) {
    QCOMPARE(s->Main, before.Main);
    QCOMPARE(s->BGButton, before.BGButton);
    QCOMPARE(s->BGText, before.BGText);
    QCOMPARE(s->LBText, before.LBText);
    QCOMPARE(s->Memory, before.Memory);
  }
}

void FrmColorsTest::ResetThenCancelChangesNothing() {
  SetColours(kRed, kRed, kNavy, kGreen, kRed);
  Open();
  QTest::mouseClick(Find("cmdNull"), Qt::LeftButton);
  QCOMPARE(Fill(Find("cmdBackgroundText"), QPalette::Button), QColor(Qt::white));  // shown at once
  QTest::mouseClick(Find("cmdCancel"), Qt::LeftButton);
  QCOMPARE(window_->result(), int(QDialog::Rejected));
  QCOMPARE(settings_.Main, kRed);
  QCOMPARE(settings_.BGButton, kRed);
  QCOMPARE(settings_.BGText, kNavy);
  QCOMPARE(settings_.LBText, kGreen);
  QCOMPARE(settings_.Memory, kRed);
  QVERIFY(QDir(store_->path()).isEmpty());  // nothing saved
}

void FrmColorsTest::ColourDialogStartsAtTheButtonAndCancelKeepsIt() {
  settings_.BGText = kGreen;
  settings_.Memory = kRed;
  SharedDialogs().RGBResult(kNavy);  // the last colour chosen anywhere in the program
  Open();
  QColor offered;
  WhenModalOpens([&](QWidget* dialog) {
    auto* colours = qobject_cast<QColorDialog*>(dialog);
    QVERIFY(colours);
    offered = colours->currentColor();
    colours->setCurrentColor(QColor(10, 20, 30));
    colours->accept();
  });
  QTest::mouseClick(Find("cmdBackgroundText"), Qt::LeftButton);
  QCOMPARE(offered, ToQColor(kGreen, QPalette()));  // the button's colour, not the last one chosen
  QCOMPARE(Fill(Find("cmdBackgroundText"), QPalette::Button), QColor(10, 20, 30));

  // Cancelled, the dialog changes nothing.
  WhenModalOpens([&](QWidget* dialog) {
    offered = qobject_cast<QColorDialog*>(dialog)->currentColor();
    qobject_cast<QColorDialog*>(dialog)->reject();
  });
  QTest::mouseClick(Find("cmdMemory"), Qt::LeftButton);
  QCOMPARE(offered, QColor(Qt::red));
  QCOMPARE(Fill(Find("cmdMemory"), QPalette::Button), QColor(Qt::red));

  QCOMPARE(settings_.BGText, kGreen);  // a working copy until OK
  QTest::mouseClick(Find("cmdOK"), Qt::LeftButton);
  QCOMPARE(settings_.BGText, std::uint32_t{0x1E140A});
  QCOMPARE(settings_.Memory, kRed);
  QCOMPARE(settings_.Main, kButtonFaceColour);
}

void FrmColorsTest::FailedSaveIsTold() {
  // The store's folder cannot be made: its parent is a file.
  const QString blocker = store_->filePath("file");
  QFile(blocker).open(QIODevice::WriteOnly);
  qputenv("ORVANEL_CONFIG_DIR", (blocker + "/orvanel").toLocal8Bit());
  Open();
  QTest::mouseClick(Find("cmdNull"), Qt::LeftButton);
  settings_.BGText = kNavy;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString told;
  WhenModalOpens([&](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    QVERIFY(box);
    icon = box->icon();
    told = box->text();
    box->accept();
  });
  QTest::mouseClick(Find("cmdOK"), Qt::LeftButton);
  QCOMPARE(icon, QMessageBox::Critical);
  QVERIFY(told.startsWith("Не удалось записать файл настроек"));
  QCOMPARE(settings_.BGText, std::uint32_t{0xFFFFFF});  // in force until the program ends
  QCOMPARE(window_->result(), int(QDialog::Accepted));
}

void FrmColorsTest::ResetThenOkGivesTheDesktopLookOnTheMainWindow() {
  SetColours(kRed, kRed, kNavy, kGreen, kRed);
  const std::unique_ptr<frmMain> main_window = ActiveMainWindow();
  auto* display = main_window->findChild<QLineEdit*>("txtResult");
  QCOMPARE(Fill(display, QPalette::Base), QColor(0, 0, 0x80));

  bool owned_and_modal = false;
  WhenModalOpens([&](QWidget* dialog) {
    owned_and_modal =
        qobject_cast<frmColors*>(dialog) && dialog->parentWidget() == main_window.get() && dialog->isModal();
    dialog->findChild<QPushButton*>("cmdNull")->click();
    dialog->findChild<QPushButton*>("cmdOK")->click();
  });
  main_window->findChild<QAction*>("mnuColor")->trigger();
  QVERIFY(owned_and_modal);
  QVERIFY(main_window->findChildren<frmColors*>().isEmpty());

  Settings reloaded;
  QCOMPARE(LoadSettings(reloaded), std::string());
  for (const Settings* s : {&settings_, &reloaded}) {
    QCOMPARE(s->Main, kButtonFaceColour);
    QCOMPARE(s->BGButton, kButtonFaceColour);
    QCOMPARE(s->BGText, std::uint32_t{0xFFFFFF});
    QCOMPARE(s->LBText, std::uint32_t{0});
    QCOMPARE(s->Memory, kButtonFaceColour);
  }
  QCOMPARE(Fill(display, QPalette::Base), QColor(Qt::white));
  QCOMPARE(Fill(display, QPalette::Text), QColor(Qt::black));
  QCOMPARE(Fill(main_window->findChild<QPushButton*>("cmdPlus"), QPalette::Button),
           Desktop(QPalette::Button));
  QCOMPARE(Fill(main_window->findChild<QLabel*>("lblMem"), QPalette::Window), Desktop(QPalette::Button));
  QCOMPARE(Fill(main_window->centralWidget(), QPalette::Window), Desktop(QPalette::Button));
}

void FrmColorsTest::SchemeIsPaintedAtFirstActivationAndAfterTheColourWindowOnly() {
  SetColours(kNavy, kRed, kGreen, kNavy, kRed);
  const std::unique_ptr<frmMain> main_window = ActiveMainWindow();
  auto* display = main_window->findChild<QLineEdit*>("txtResult");
  auto* key = main_window->findChild<QPushButton*>("cmd5");
  auto* memory = main_window->findChild<QLabel*>("lblMem");
  const auto scheme_is = [&](QColor client, QColor keys, QColor text_back, QColor text, QColor indicator) {
    QCOMPARE(Fill(main_window->centralWidget(), QPalette::Window), client);
    QCOMPARE(Fill(key, QPalette::Button), keys);
    QCOMPARE(Fill(main_window->findChild<QPushButton*>("cmdOff"), QPalette::Button), keys);
    QCOMPARE(Fill(display, QPalette::Base), text_back);
    QCOMPARE(Fill(display, QPalette::Text), text);
    QCOMPARE(Fill(memory, QPalette::Window), indicator);
  };
  const QColor navy(0, 0, 0x80);
  scheme_is(navy, Qt::red, Qt::green, navy, Qt::red);

  // A later activation keeps the scheme painted first.
  SetColours(kGreen, kGreen, kRed, kGreen, kGreen);
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  main_window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(main_window.get()));
  scheme_is(navy, Qt::red, Qt::green, navy, Qt::red);

  // The colour window closing, even by Отмена, paints the settings in force; a window the main window
  // keeps (as the memory list) is not part of its scheme, whatever its buttons are called.
  auto* kept_key = new QPushButton(new QDialog(main_window.get()));
  kept_key->setObjectName("cmdOK");
  WhenModalOpens([](QWidget* dialog) { dialog->findChild<QPushButton*>("cmdCancel")->click(); });
  main_window->findChild<QAction*>("mnuColor")->trigger();
  scheme_is(Qt::green, Qt::green, Qt::red, Qt::green, Qt::green);
  QCOMPARE(Fill(kept_key, QPalette::Button), Desktop(QPalette::Button));
}

void FrmColorsTest::KeyCaptionsStayReadableAndGreyWhenDisabled() {
  const struct {
    std::uint32_t fill;
    QColor caption;
  } cases[] = {{0x000000, Qt::white}, {0x800000, Qt::white}, {0xFFFFFF, Qt::black}, {0x00FFFF, Qt::black}};
  for (const auto& c : cases) {
    QPushButton key;
    PaintButton(key, ToQColor(c.fill, QGuiApplication::palette()));
    QCOMPARE(key.palette().color(QPalette::Active, QPalette::ButtonText), c.caption);
    QCOMPARE(key.palette().color(QPalette::Inactive, QPalette::ButtonText), c.caption);
    QCOMPARE(key.palette().color(QPalette::Disabled, QPalette::ButtonText),
             QGuiApplication::palette().color(QPalette::Disabled, QPalette::ButtonText));
  }
}

}  // namespace ovn

QTEST_MAIN(ovn::FrmColorsTest)
#include "frm_colors_test.moc"
