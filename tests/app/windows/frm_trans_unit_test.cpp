// The unit window, offscreen: the kinds and their units, and the request it hands to the main window.
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "frmTransUnit.h"
#include "fake_platform.h"

namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

class FrmTransUnitTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::filesystem::temp_directory_path() / "orvanel_trans_unit_test";
    std::filesystem::create_directories(folder_);
    request_ = folder_ / "tunits.ini";
    std::filesystem::remove(request_);
  }
  void cleanup() { std::filesystem::remove_all(folder_); }

  void OpensWithTheFirstKindAndItsUnits() {
    ovn::RecordingMessages messages;
    ovn::frmTransUnit window(request_, messages);
    QCOMPARE(window.windowTitle(), QStringLiteral("Перевод едениц исчисления"));
    QCOMPARE(window.cboTypeUnits->count(), 8);
    QCOMPARE(window.cboTypeUnits->currentText(), QStringLiteral("Еденицы веса"));
    QCOMPARE(window.SelectedUnitType(), std::string("MASS"));
    QCOMPARE(window.cboUnitsFrom->count(), 6);
    QCOMPARE(window.cboUnitsTo->itemText(5), QStringLiteral("Пуд"));
    QCOMPARE(window.findChild<QGroupBox*>("fraUnits")->title(),
             QStringLiteral("Выберете исходную и конечную еденицу"));
  }

  void ChoosingAKindRefillsBothUnitLists() {
    ovn::RecordingMessages messages;
    ovn::frmTransUnit window(request_, messages);
    window.cboTypeUnits->setCurrentIndex(7);
    QCOMPARE(window.SelectedUnitType(), std::string("MAGNET"));
    QCOMPARE(window.cboUnitsFrom->count(), 2);
    QCOMPARE(window.cboUnitsTo->currentText(), QStringLiteral("Тесла"));
    window.cboTypeUnits->setCurrentIndex(3);
    QCOMPARE(window.cboUnitsFrom->itemText(8), QStringLiteral("БТЕ (Британская тепловая единица)"));
  }

  void OkWritesTheThreeLineRequest() {
    ovn::RecordingMessages messages;
    ovn::frmTransUnit window(request_, messages);
    window.cboUnitsFrom->setCurrentIndex(2);  // Слаг
    window.cboUnitsTo->setCurrentIndex(5);    // Пуд
    QTest::mouseClick(window.cmdOK, Qt::LeftButton);
    QCOMPARE(ReadAll(request_), std::string("2\n5\nMASS\n"));
    QCOMPARE(window.result(), int(QDialog::Accepted));
  }

  void CancelWritesNothing() {
    ovn::RecordingMessages messages;
    ovn::frmTransUnit window(request_, messages);
    QTest::mouseClick(window.cmdCancel, Qt::LeftButton);
    QVERIFY(!std::filesystem::exists(request_));
  }

  void AFailedWriteIsToldAndTheWindowStays() {
    ovn::RecordingMessages messages;
    ovn::frmTransUnit window(folder_ / "no such folder" / "tunits.ini", messages);
    QTest::mouseClick(window.cmdOK, Qt::LeftButton);
    QCOMPARE(messages.shown.size(), std::size_t{1});
    QCOMPARE(messages.shown[0].title, std::string("Ошибка сохранения !!!"));
    QCOMPARE(messages.shown[0].icon, ovn::MessageIcon::kCritical);
    QVERIFY(messages.shown[0].text.find("tunits.ini") != std::string::npos);
    QVERIFY(window.result() != QDialog::Accepted);
  }

 private:
  std::filesystem::path folder_;
  std::filesystem::path request_;
};

QTEST_MAIN(FrmTransUnitTest)
#include "frm_trans_unit_test.moc"
