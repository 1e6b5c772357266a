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

#include "files/whole_file.h"

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
  const NumberListContent content = ReadNumberList(file_, ListKind::kMemoryList);
  std::string refused = content.error;
  if (refused.empty()) {
    ShowEntries(content.records);
    if (!IsWritable(file_))
      refused = "Файл «" + file_.string() + "» только для чтения: список чисел нельзя изменить.";
  }
  if (refused.empty()) return;
  // Changing a list that was not read, or cannot be written, would lose the numbers of its file.
  platform_.messages.Show(refused, "Ошибка!", MessageIcon::kWarning);
  for (QPushButton* button : changing_buttons_) button->setEnabled(false);
}

void frmMemList::ShowEntries(std::vector<NumberRecord> records) {
  const int row = lvwMemList->indexOfTopLevelItem(lvwMemList->currentItem());
  entries_ = std::move(records);
  lvwMemList->clear();
  SelectedValue.clear();
  for (const NumberRecord& record : entries_) {
    lvwMemList->addTopLevelItem(new QTreeWidgetItem(
        QStringList{QString::fromStdString(record.name), QString::fromStdString(record.value)}));
  }
  // The row that was selected stays selected, so the value box and Вставить give its value as it is now.
  if (row >= 0 && row < lvwMemList->topLevelItemCount())
    lvwMemList->setCurrentItem(lvwMemList->topLevelItem(row));
}

void frmMemList::Change(const std::function<std::string(std::vector<NumberRecord>&)>& change) {
  // The file is read afresh under the lock, so that what another window of the program wrote since is
  // changed too, never overwritten.
  const FileLock lock(file_);
  if (!lock.error().empty())
    return Report("Не удалось записать файл «" + file_.string() + "»: " + lock.error() + ".");
  NumberListContent content = ReadNumberList(file_, ListKind::kMemoryList);
  if (!content.error.empty()) return Report(content.error);
  Report(change(content.records));
  ShowEntries(std::move(content.records));
}

void frmMemList::lvwMemList_Click() {
  QTreeWidgetItem* item = lvwMemList->currentItem();
  if (item == nullptr) return;
  // Of entries sharing a name, the first one's value is shown and inserted.
  const std::string& name = entries_[static_cast<std::size_t>(lvwMemList->indexOfTopLevelItem(item))].name;
  const auto first = std::find_if(entries_.begin(), entries_.end(),
                                  [&name](const NumberRecord& entry) { return entry.name == name; });
  SelectedValue = first->value;
}

void frmMemList::tmrMain_Timer() {
  ShowValueWindow(SelectedValue, kValueWidth, *txtResult, *hscResult);
}

void frmMemList::cmdAdd_Click() {
  const std::optional<std::string> name =
      AskRecordName(platform_.input, "Введите имя числа", "Добавить число", "Num");
  if (!name) return;
  const NumberRecord record{*name, ShownNumber(calculator_.CurrentNumber)};
  Change([&](std::vector<NumberRecord>& records) {
    records.push_back(record);
    return AppendNumberRecord(file_, record);
  });
}

void frmMemList::cmdEdit_Click() {
  const int row = lvwMemList->indexOfTopLevelItem(lvwMemList->currentItem());
  if (row < 0) return;
  const NumberRecord old = entries_[static_cast<std::size_t>(row)];
  NumberRecord entry = old;
  const std::optional<std::string> value =
      platform_.input.Ask("Введите новое значение числа", "Новое значение", entry.value);
  // The default answer comes back as UTF-8: taken unchanged, it leaves a value that is not UTF-8 as it was.
  const bool changed = value && *value != QString::fromStdString(entry.value).toStdString();
  if (changed && !value->empty()) entry.value = *value;
  if (ask_(QStringLiteral("Хотите изменить имя числа?"), QStringLiteral("Вопрос"), QMessageBox::Question)) {
    if (std::optional<std::string> name =
            AskRecordName(platform_.input, "Введите новое имя числа", "Новое имя", "")) {
      entry.name = *name;
    }
  }
  Change([&](std::vector<NumberRecord>& records) {
    const auto found = FindEntry(records, old, row);
    if (found == records.end()) return Gone(old);
    *found = entry;
    return WriteNumberList(file_, records, ListKind::kMemoryList);
  });
}

void frmMemList::cmdDel_Click() {
  const int row = lvwMemList->indexOfTopLevelItem(lvwMemList->currentItem());
  if (row < 0) return;
  if (!ask_(QStringLiteral("Вы действительно хотите удалить этот элемент списка чисел ?"),
            QStringLiteral("Удаление элемента списка чисел"), QMessageBox::NoIcon)) {
    return;
  }
  const NumberRecord old = entries_[static_cast<std::size_t>(row)];
  Change([&](std::vector<NumberRecord>& records) {
    const auto found = FindEntry(records, old, row);
    if (found == records.end()) return Gone(old);
    records.erase(found);
    return WriteNumberList(file_, records, ListKind::kMemoryList);
  });
}

void frmMemList::cmdClear_Click() {
  if (!ask_(QStringLiteral("Вы действительно хотите очистить список чисел?"),
            QStringLiteral("Удаление списка чисел"), QMessageBox::Warning)) {
    return;
  }
  Change([&](std::vector<NumberRecord>& records) -> std::string {
    records.clear();
    std::error_code error;
    std::filesystem::remove(file_, error);
    if (error) return "Не удалось удалить файл «" + file_.string() + "»: " + error.message() + ".";
    return "";
  });
}

void frmMemList::cmdOK_Click() {
  // With nothing selected the entry is left as it is.
  if (lvwMemList->currentItem() != nullptr) calculator_.CurrentNumber = SelectedValue;
  // Hidden, not closed: the next opening shows the list as it is now.
  hide();
}

std::vector<NumberRecord>::iterator frmMemList::FindEntry(std::vector<NumberRecord>& records,
                                                          const NumberRecord& entry, int row) {
  // The same row when the file still has the entry there, else the first equal one.
  const auto at = static_cast<std::size_t>(row);
  if (at < records.size() && records[at] == entry) return records.begin() + row;
  return std::find(records.begin(), records.end(), entry);
}

std::string frmMemList::Gone(const NumberRecord& entry) const {
  return "Числа «" + entry.name + "» со значением " + entry.value + " в файле «" + file_.string() +
         "» уже нет: его изменили в другом окне программы.";
}

void frmMemList::Report(const std::string& problem) {
  if (!problem.empty()) platform_.messages.Show(problem, "Ошибка сохранения !!!", MessageIcon::kCritical);
}

}  // namespace ovn
