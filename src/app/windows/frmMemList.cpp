#include "frmMemList.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

namespace ovn {
namespace {

constexpr int kTimerInterval = 50;  // ms between refreshes of the selected value
constexpr int kNameColumn = 0;
constexpr int kValueColumn = 1;

}  // namespace

frmMemList::frmMemList(Calculator& calculator, const Platform& platform, YesNoQuestion ask,
                       QWidget* main_window)
    : QDialog(main_window),
      calculator_(calculator),
      platform_(platform),
      ask_(ask ? std::move(ask) : MessageBoxQuestion(this)),
      file_(MemoryListPath(calculator.settings().MemListFile)) {
  BuildWindow();
  Form_Load();
}

void frmMemList::BuildWindow() {
  setObjectName(QStringLiteral("frmMemList"));
  setWindowTitle(QStringLiteral("Список чисел"));
  setModal(true);
  // Отмена and closing unload the window; the next opening reads the file again.
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QGridLayout(this);

  lvwMemList = new QTreeWidget(this);
  lvwMemList->setObjectName(QStringLiteral("lvwMemList"));
  lvwMemList->setHeaderLabels({QStringLiteral("Имя числа"), QStringLiteral("Значение")});
  lvwMemList->setRootIsDecorated(false);
  lvwMemList->setMinimumHeight(200);
  connect(lvwMemList, &QTreeWidget::currentItemChanged, this, &frmMemList::lvwMemList_Click);

  const ValueDisplay value_display = CreateValueDisplay(this, "txtResult", kValueWidth);
  txtResult = value_display.text;
  hscResult = value_display.scroll;

  struct ButtonText {
    const char* name;
    const char* caption;
    void (frmMemList::*click)();
    bool changes_file;
  };
  constexpr ButtonText kButtons[] = {
      {"cmdAdd", "Добавить", &frmMemList::cmdAdd_Click, true},
      {"cmdEdit", "Правка", &frmMemList::cmdEdit_Click, true},
      {"cmdDel", "Удалить", &frmMemList::cmdDel_Click, true},
      {"cmdClear", "Очистить", &frmMemList::cmdClear_Click, true},
      {"cmdOK", "Вставить", &frmMemList::cmdOK_Click, false},
      {"cmdCancel", "Отмена", nullptr, false},
  };
  auto* buttons = new QVBoxLayout;
  for (const ButtonText& text : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(text.caption), this);
    button->setObjectName(QString::fromUtf8(text.name));
    if (text.click) {
      connect(button, &QPushButton::clicked, this, text.click);
    } else {
      connect(button, &QPushButton::clicked, this, &QWidget::close);
    }
    if (text.changes_file) changing_buttons_.push_back(button);
    buttons->addWidget(button);
  }
  buttons->addStretch();

  layout->addWidget(lvwMemList, 0, 0);
  layout->addLayout(buttons, 0, 1);
  layout->addWidget(txtResult, 1, 0, 1, 2);
  layout->addWidget(hscResult, 2, 0, 1, 2);

  tmrMain = new QTimer(this);
  tmrMain->setObjectName(QStringLiteral("tmrMain"));
  tmrMain->setInterval(kTimerInterval);
  connect(tmrMain, &QTimer::timeout, this, &frmMemList::tmrMain_Timer);
  tmrMain->start();
  adjustSize();
}

void frmMemList::Form_Load() {
  if (const std::string problem = CreateIfMissing(file_); !problem.empty()) {
    Report(problem);
    return;
  }
  const NumberListContent content = ReadNumberList(file_, ValueForm::kVerbatim);
  if (!content.error.empty()) {
    // Changing a list that was not read would rewrite the file without its numbers.
    platform_.messages.Show(content.error, "Ошибка!", MessageIcon::kWarning);
    for (QPushButton* button : changing_buttons_) button->setEnabled(false);
    return;
  }
  for (const NumberRecord& record : content.records) AddItem(record);
}

void frmMemList::AddItem(const NumberRecord& record) {
  entries_.push_back(record);
  lvwMemList->addTopLevelItem(new QTreeWidgetItem(
      QStringList{QString::fromStdString(record.name), QString::fromStdString(record.value)}));
}

void frmMemList::lvwMemList_Click() {
  const QTreeWidgetItem* item = lvwMemList->currentItem();
  if (item == nullptr) return;
  // Of entries sharing a name, the first one's value is shown and inserted.
  const std::string name = item->text(kNameColumn).toStdString();
  const auto first = std::find_if(entries_.begin(), entries_.end(),
                                  [&name](const NumberRecord& entry) { return entry.name == name; });
  if (first != entries_.end()) SelectedValue = first->value;
}

void frmMemList::tmrMain_Timer() {
  ShowValueWindow(SelectedValue, kValueWidth, *txtResult, *hscResult);
}

void frmMemList::cmdAdd_Click() {
  const std::optional<std::string> name =
      AskRecordName(platform_.input, "Введите имя числа", "Добавить число", "Num");
  if (!name) return;
  const NumberRecord record{*name, ShownNumber(calculator_.CurrentNumber)};
  AddItem(record);
  Report(AppendNumberRecord(file_, record));
}

void frmMemList::cmdEdit_Click() {
  const int row = lvwMemList->indexOfTopLevelItem(lvwMemList->currentItem());
  if (row < 0) return;
  NumberRecord& entry = entries_[static_cast<std::size_t>(row)];
  const std::optional<std::string> value =
      platform_.input.Ask("Введите новое значение числа", "Новое значение", entry.value);
  if (value && !value->empty()) entry.value = *value;
  if (ask_(QStringLiteral("Хотите изменить имя числа?"), QStringLiteral("Вопрос"), QMessageBox::Question)) {
    if (std::optional<std::string> name =
            AskRecordName(platform_.input, "Введите новое имя числа", "Новое имя", "")) {
      entry.name = *name;
    }
  }
  QTreeWidgetItem* item = lvwMemList->topLevelItem(row);
  item->setText(kNameColumn, QString::fromStdString(entry.name));
  item->setText(kValueColumn, QString::fromStdString(entry.value));
  WriteList();
}

void frmMemList::cmdDel_Click() {
  const int row = lvwMemList->indexOfTopLevelItem(lvwMemList->currentItem());
  if (row < 0) return;
  if (!ask_(QStringLiteral("Вы действительно хотите удалить этот элемент списка чисел ?"),
            QStringLiteral("Удаление элемента списка чисел"), QMessageBox::NoIcon)) {
    return;
  }
  entries_.erase(entries_.begin() + row);
  delete lvwMemList->takeTopLevelItem(row);
  WriteList();
}

void frmMemList::cmdClear_Click() {
  if (!ask_(QStringLiteral("Вы действительно хотите очистить список чисел?"),
            QStringLiteral("Удаление списка чисел"), QMessageBox::Warning)) {
    return;
  }
  entries_.clear();
  lvwMemList->clear();
  SelectedValue.clear();
  std::error_code error;
  std::filesystem::remove(file_, error);
  if (error) Report("Не удалось удалить файл «" + file_.string() + "»: " + error.message() + ".");
}

void frmMemList::cmdOK_Click() {
  calculator_.CurrentNumber = SelectedValue;
  // Hidden, not closed: the next opening shows the list as it is now.
  hide();
}

void frmMemList::WriteList() {
  Report(WriteNumberList(file_, entries_));
}

void frmMemList::Report(const std::string& problem) {
  if (!problem.empty()) platform_.messages.Show(problem, "Ошибка сохранения !!!", MessageIcon::kCritical);
}

}  // namespace ovn
