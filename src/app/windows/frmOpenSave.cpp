#include "frmOpenSave.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "CommonDialogExtention.h"
#include "registry/registry.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

constexpr int kTimerInterval = 100;  // ms between refreshes of the selected value
constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;

// The item shows the record as text and keeps its bytes, so that a name or value that is not UTF-8 is
// written back exactly as it was read.
QTreeWidgetItem* RecordItem(const NumberRecord& record) {
  auto* item = new QTreeWidgetItem(
      QStringList{QString::fromStdString(record.name), QString::fromStdString(record.value)});
  item->setData(kNameColumn, Qt::UserRole, QByteArray::fromStdString(record.name));
  item->setData(kValueColumn, Qt::UserRole, QByteArray::fromStdString(record.value));
  return item;
}

std::string Bytes(const QTreeWidgetItem& item, int column) {
  return item.data(column, Qt::UserRole).toByteArray().toStdString();
}

}  // namespace

frmOpenSave::frmOpenSave(Calculator& calculator, Settings& settings, const Platform& platform,
                         YesNoQuestion ask, QWidget* main_window)
    : QDialog(main_window),
      calculator_(calculator),
      settings_(settings),
      platform_(platform),
      ask_(ask ? std::move(ask) : MessageBoxQuestion(this)),
      main_window_(main_window) {
  BuildWindow();
}

void frmOpenSave::BuildWindow() {
  setObjectName(QStringLiteral("frmOpenSave"));
  auto* layout = new QGridLayout(this);

  txtFileName = new QLineEdit(this);
  txtFileName->setObjectName(QStringLiteral("txtFileName"));
  txtFileName->setReadOnly(true);
  auto* cmdBrowse = new QPushButton(QStringLiteral("Обзор"), this);
  cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
  connect(cmdBrowse, &QPushButton::clicked, this, &frmOpenSave::cmdBrowse_Click);

  lvwNumbers = new QTreeWidget(this);
  lvwNumbers->setObjectName(QStringLiteral("lvwNumbers"));
  lvwNumbers->setHeaderLabels({QStringLiteral("Имя число"), QStringLiteral("Число")});
  lvwNumbers->setRootIsDecorated(false);
  lvwNumbers->setMinimumHeight(180);
  connect(lvwNumbers, &QTreeWidget::currentItemChanged, this, &frmOpenSave::lvwNumbers_Click);

  auto* lblFile = new QLabel(QStringLiteral("Содержиться в файле:"), this);
  lblFile->setObjectName(QStringLiteral("lblFile"));
  auto* lblInfo = new QLabel(QStringLiteral("Символов в числе:"), this);
  lblInfo->setObjectName(QStringLiteral("lblInfo"));
  lblSize = new QLabel(QStringLiteral("0"), this);
  lblSize->setObjectName(QStringLiteral("lblSize"));

  const ValueDisplay value_display = CreateValueDisplay(this, "txtValue", kValueWidth);
  txtValue = value_display.text;
  hscResult = value_display.scroll;

  auto* cmdAddNum = new QPushButton(QStringLiteral("+"), this);
  cmdAddNum->setObjectName(QStringLiteral("cmdAddNum"));
  cmdAddNum->setToolTip(QStringLiteral("Добавить новое число"));
  connect(cmdAddNum, &QPushButton::clicked, this, &frmOpenSave::cmdAddNum_Click);
  auto* cmdDeleteNum = new QPushButton(QStringLiteral("-"), this);
  cmdDeleteNum->setObjectName(QStringLiteral("cmdDeleteNum"));
  cmdDeleteNum->setToolTip(QStringLiteral("Удалить число"));
  connect(cmdDeleteNum, &QPushButton::clicked, this, &frmOpenSave::cmdDeleteNum_Click);
  auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  connect(cmdOK, &QPushButton::clicked, this, &frmOpenSave::cmdOK_Click);
  auto* cmdCancel = new QPushButton(QStringLiteral("Отмена"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdCancel, &QPushButton::clicked, this, &frmOpenSave::reject);

  layout->addWidget(txtFileName, 0, 0, 1, 3);
  layout->addWidget(cmdBrowse, 0, 3);
  layout->addWidget(lblFile, 1, 0, 1, 4);
  layout->addWidget(lvwNumbers, 2, 0, 1, 4);
  layout->addWidget(cmdAddNum, 3, 0);
  layout->addWidget(cmdDeleteNum, 3, 1);
  layout->addWidget(lblInfo, 3, 2);
  layout->addWidget(lblSize, 3, 3);
  layout->addWidget(txtValue, 4, 0, 1, 4);
  layout->addWidget(hscResult, 5, 0, 1, 4);
  layout->addWidget(cmdOK, 6, 2);
  layout->addWidget(cmdCancel, 6, 3);

  tmrMain = new QTimer(this);
  tmrMain->setObjectName(QStringLiteral("tmrMain"));
  tmrMain->setInterval(kTimerInterval);
  connect(tmrMain, &QTimer::timeout, this, &frmOpenSave::tmrMain_Timer);
  tmrMain->start();

  adjustSize();
  move(screen()->availableGeometry().center() - rect().center());
}

void frmOpenSave::ShowModal(bool open_mode) {
  OpenSaveMode = open_mode;
  setWindowTitle(OpenSaveMode ? QStringLiteral("Открыть число") : QStringLiteral("Сохранить число"));
  exec();
}

void frmOpenSave::StartFromCommandLine(const std::string& file) {
  OpenFromCommandLine = true;
  CommandLineFile = file;
  OpenSaveMode = true;
  setWindowTitle(QStringLiteral("Открыть число"));
  show();
  cmdBrowse_Click();
}

void frmOpenSave::cmdBrowse_Click() {
  if (OpenFromCommandLine) {
    main_window_->hide();
    // A refused file leaves the window open with an empty list: it is all there is on screen.
    if (!LoadFile(CommandLineFile)) lvwNumbers->clear();
    return;
  }
  if (const std::string chosen = ChooseFile(); !chosen.empty()) OpenChosenFile(chosen);
}

std::string frmOpenSave::ChooseFile() {
  CommonDialogExtention& dialogs = SharedDialogs();
  dialogs.hOwner(this);
  dialogs.DialogTitle("Выберите файл");
  dialogs.InitDir(settings_.PastPath);
  // The first pattern gives a typed name its ".num"; opening also offers every file, so that a list
  // saved under another name can be found.
  dialogs.Filter(OpenSaveMode ? "Числа Orvane'а (*.num)|*.num|Все файлы (*)|*"
                              : "Числа Orvane'а (*.num)|*.num");
  dialogs.FilterIndex(0);
  dialogs.FileName("");
  if (OpenSaveMode) {
    dialogs.ShowOpen();
  } else {
    dialogs.ShowSave();
  }
  return dialogs.FileName();
}

bool frmOpenSave::OpenChosenFile(const std::string& path) {
  settings_.PastPath = std::filesystem::path(path).parent_path().string();
  const std::string problem =
      WriteRegistryString(RegistryRoot::kLocalMachine, kSettingsKey, "PastPath", settings_.PastPath);
  if (!problem.empty()) platform_.messages.Show(problem, "Ошибка!", MessageIcon::kWarning);
  // A refused file ends the Browse: the user is back in the main window, the list as it was.
  if (LoadFile(path)) return true;
  hide();
  return false;
}

bool frmOpenSave::LoadFile(const std::string& path) {
  if (const std::string problem = CreateIfMissing(path); !problem.empty()) {
    platform_.messages.Show(problem, "Ошибка!", MessageIcon::kWarning);
    return false;
  }
  const NumberListContent content = ReadNumberList(path);
  if (!content.error.empty()) {
    platform_.messages.Show(content.error, "Ошибка!", MessageIcon::kWarning);
    return false;
  }
  if (!content.warning.empty()) platform_.messages.Show(content.warning, "Ошибка!", MessageIcon::kWarning);
  // Only a file that was listed is named: a refused one is never written over.
  file_ = path;
  txtFileName->setText(QString::fromStdString(path));
  lvwNumbers->clear();
  SelectedValue.clear();
  // Each record goes on top, so the list shows the file from its end.
  for (const NumberRecord& record : content.records) lvwNumbers->insertTopLevelItem(0, RecordItem(record));
  return true;
}

void frmOpenSave::lvwNumbers_Click() {
  const QTreeWidgetItem* item = lvwNumbers->currentItem();
  if (item == nullptr) return;
  SelectedValue = Bytes(*item, kValueColumn);
  lblSize->setText(QString::number(SelectedValue.size()));
}

void frmOpenSave::tmrMain_Timer() {
  ShowValueWindow(SelectedValue, kValueWidth, *txtValue, *hscResult);
}

void frmOpenSave::cmdAddNum_Click() {
  const std::optional<std::string> name =
      AskRecordName(platform_.input, "Введите новое имя числа:", "Новое имя числа", "Num");
  if (name) lvwNumbers->addTopLevelItem(RecordItem({*name, ShownNumber(calculator_.CurrentNumber)}));
}

void frmOpenSave::cmdDeleteNum_Click() {
  if (!ask_(QStringLiteral("Вы действительно хотите удалить это число"), QStringLiteral("Вопрос"),
            QMessageBox::Question)) {
    return;
  }
  // With nothing selected there is nothing to remove.
  delete lvwNumbers->currentItem();
}

void frmOpenSave::cmdOK_Click() {
  if (OpenSaveMode) {
    // With nothing selected the entry is left as it is.
    if (lvwNumbers->currentItem() != nullptr) calculator_.CurrentNumber = SelectedValue;
    ReturnToMainWindow();
    accept();
    return;
  }
  if (file_.empty()) {
    // The numbers added so far go into the file chosen now, after its own.
    const std::vector<NumberRecord> added = Records();
    const std::string chosen = ChooseFile();
    if (chosen.empty() || !OpenChosenFile(chosen)) return;
    for (const NumberRecord& record : added) lvwNumbers->addTopLevelItem(RecordItem(record));
  }
  // A failed write keeps the window and its list, so the numbers can still be saved elsewhere.
  if (const std::string problem = WriteNumberList(file_, Records()); !problem.empty()) {
    platform_.messages.Show(problem, "Ошибка сохранения !!!", MessageIcon::kCritical);
    return;
  }
  accept();
}

void frmOpenSave::reject() {
  // The main window is shown first, so that the program never finds itself without a visible window.
  ReturnToMainWindow();
  QDialog::reject();
}

void frmOpenSave::ReturnToMainWindow() {
  if (!OpenFromCommandLine) return;
  main_window_->show();
  OpenFromCommandLine = false;
}

std::vector<NumberRecord> frmOpenSave::Records() const {
  std::vector<NumberRecord> records;
  for (int row = 0; row < lvwNumbers->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = lvwNumbers->topLevelItem(row);
    records.push_back({Bytes(*item, kNameColumn), Bytes(*item, kValueColumn)});
  }
  return records;
}

}  // namespace ovn
