// The about window driven offscreen, its documents in a temporary program folder and its opener a
// recorder, so no browser starts: the texts of the version record, the links' look under the pointer, a
// click opening the link's document with the window left open, a missing document told, and the main
// window's menu item opening the window modally.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "platform/program_documents.h"

namespace ovn {

class FrmAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void ShowsTheVersionRecordAndWhereTheDocumentsAre();
  void LinkUnderThePointerIsUnderlinedInBlue();
  void ClickOpensTheLinksDocumentAndTheWindowStaysOpen();
  void MissingDocumentReadsItsNameAndIsToldOnClick();
  void OkCloses();
  void MainWindowMenuOpensTheWindowModally();

 private:
  std::filesystem::path Bin() const { return std::filesystem::path(folder_->path().toStdString()) / "bin"; }
  std::filesystem::path Share() const {
    return std::filesystem::path(folder_->path().toStdString()) / "share" / "orvanel";
  }
  void MakeWindow();
  QLabel* Label(const char* name) const { return window_->findChild<QLabel*>(name); }

  std::unique_ptr<QTemporaryDir> folder_;
  RecordingMessages messages_;
  std::vector<std::string> opened_;
  std::unique_ptr<ProgramDocuments> documents_;
  std::unique_ptr<frmAbout> window_;
};

namespace {

void Touch(const std::filesystem::path& file) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "document\n";
}

// Whether the label reads as a link under the pointer (underlined, blue) or as plain text (black).
void VerifyLook(const QLabel* label, bool under_pointer) {
  QVERIFY(label);
  QCOMPARE(label->font().underline(), under_pointer);
  QCOMPARE(label->palette().color(QPalette::WindowText),
           under_pointer ? QColor(Qt::blue) : QColor(Qt::black));
}

void Enter(QWidget* widget) {
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(widget, &enter);
}

}  // namespace

void FrmAboutTest::init() {
  folder_ = std::make_unique<QTemporaryDir>();
  QVERIFY(folder_->isValid());
  Touch(Bin() / "orvanel.html");
  Touch(Share() / "README.md");
  messages_.shown.clear();
  opened_.clear();
  documents_ = std::make_unique<ProgramDocuments>(
      messages_,
      [this](const std::string& file) {
        opened_.push_back(file);
        return true;
      },
      Bin());
  MakeWindow();
}

void FrmAboutTest::MakeWindow() {
  window_ = std::make_unique<frmAbout>(*documents_);
}

void FrmAboutTest::cleanup() {
  window_.reset();
  documents_.reset();
  folder_.reset();
}

void FrmAboutTest::ShowsTheVersionRecordAndWhereTheDocumentsAre() {
  QCOMPARE(window_->windowTitle(), QStringLiteral("О программе Orvane Lite 0.1"));
  QCOMPARE(Label("lblTitle")->text(), QStringLiteral("Orvane Lite 0.1"));
  QCOMPARE(Label("lblVersion")->text(), QStringLiteral("Version 0.1.1"));
  // The picture is drawn, wherever the program lies and whatever image plugins there are.
  const QImage picture = Label("imgApp")->pixmap().toImage();
  QCOMPARE(picture.size(), Label("imgApp")->size());
  QVERIFY(picture.pixelColor(picture.rect().center()).alpha() > 0);
  QCOMPARE(window_->findChild<QPlainTextEdit*>("txtDescription")->toPlainText(),
           QStringLiteral("Orvane Lite 0.1 - программа для вычисления математических операций, или просто "
                          "говоря калькулятор, тем не менее имеющий отличия: максимальное количество цифр "
                          "более 32 000  и др. Версия 0.1 вычисляет быстрее, чем версия 0.0"));
  QCOMPARE(Label("lblEmail")->text(), QStringLiteral("EMail:"));
  QCOMPARE(Label("lblMail")->text(), QStringLiteral("нет"));
  QCOMPARE(Label("lblWWW")->text(), QStringLiteral("WWW"));
  QCOMPARE(Label("lblURL")->text(), QString::fromStdString((Bin() / "orvanel.html").string()));
  QCOMPARE(Label("lblURL")->toolTip(), QStringLiteral("Главная страничка!!!"));
  QCOMPARE(Label("lblURLProg")->text(), QString::fromStdString((Share() / "README.md").string()));
  QCOMPARE(Label("lblURLProg")->toolTip(),
           QStringLiteral("Страница, посвященная этой программе (как подверсии Lite, так и подверсии Pro)."));
  QCOMPARE(window_->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
  QCOMPARE(window_->findChildren<QFrame*>("Line1").size(), 2);
}

void FrmAboutTest::LinkUnderThePointerIsUnderlinedInBlue() {
  QLabel* url = Label("lblURL");
  QLabel* program_page = Label("lblURLProg");
  VerifyLook(url, false);
  VerifyLook(program_page, false);
  QCOMPARE(url->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(program_page->cursor().shape(), Qt::PointingHandCursor);
  QCOMPARE(window_->cursor().shape(), Qt::ArrowCursor);

  Enter(url);
  VerifyLook(url, true);
  VerifyLook(program_page, false);
  Enter(program_page);
  VerifyLook(url, false);
  VerifyLook(program_page, true);

  // Over the window itself, outside the links, both read plain again.
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(window_.get(), &move);
  VerifyLook(url, false);
  VerifyLook(program_page, false);
}

void FrmAboutTest::ClickOpensTheLinksDocumentAndTheWindowStaysOpen() {
  window_->show();
  QTest::mouseClick(Label("lblURL"), Qt::LeftButton);
  QTest::mouseClick(Label("lblURLProg"), Qt::LeftButton);
  QTest::mouseClick(Label("lblURLProg"), Qt::RightButton);
  const std::vector<std::string> expected = {(Bin() / "orvanel.html").string(),
                                             (Share() / "README.md").string()};
  QCOMPARE(opened_, expected);
  QVERIFY(window_->isVisible());
  QVERIFY(messages_.shown.empty());
}

void FrmAboutTest::MissingDocumentReadsItsNameAndIsToldOnClick() {
  std::filesystem::remove(Bin() / "orvanel.html");
  MakeWindow();
  QCOMPARE(Label("lblURL")->text(), QStringLiteral("orvanel.html"));
  window_->show();
  QTest::mouseClick(Label("lblURL"), Qt::LeftButton);
  QVERIFY(opened_.empty());
  QCOMPARE(messages_.shown.size(), std::size_t{1});
  QCOMPARE(messages_.shown[0].icon, MessageIcon::kWarning);
  QVERIFY(messages_.shown[0].text.find("«orvanel.html»") != std::string::npos);
  QVERIFY(window_->isVisible());
}

void FrmAboutTest::OkCloses() {
  window_->show();
  QTest::mouseClick(window_->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  QVERIFY(!window_->isVisible());
  QCOMPARE(window_->result(), int{QDialog::Accepted});
}

void FrmAboutTest::MainWindowMenuOpensTheWindowModally() {
  FakePlatform platform;
  Settings settings;
  frmMain main_window(settings, platform.platform);
  QString opened_title;
  QTimer::singleShot(0, [&] {
    QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
    QWidget* about = QApplication::activeModalWidget();
    opened_title = about->windowTitle();
    QCOMPARE(about->parentWidget(), &main_window);
    about->findChild<QPushButton*>("cmdOK")->click();
  });
  main_window.findChild<QAction*>("mnuAbout")->trigger();
  QCOMPARE(opened_title, QStringLiteral("О программе Orvane Lite 0.1"));
}

}  // namespace ovn

QTEST_MAIN(ovn::FrmAboutTest)
#include "frm_about_test.moc"
