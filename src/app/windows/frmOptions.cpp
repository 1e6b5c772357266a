#include "frmOptions.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "CommonDialogExtention.h"
#include "decimal/double_text.h"
#include "ovnliblt/runtime_error.h"
#include "qt_platform.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

// A count's box: whatever is typed is read leniently as a number (its leading number, letters after it
// ignored), rounded to a whole number and held inside the box's range, so typing 1 where 2 is the least
// gives 2.
class CountBox final : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QValidator::State validate(QString& /*input*/, int& /*pos*/) const override {
    return QValidator::Acceptable;
  }

  int valueFromText(const QString& text) const override {
    double typed = 0;
    try {
      typed = std::nearbyint(TextToDouble(text.toStdString()));
    } catch (const RuntimeError&) {
      typed = maximum();  // too large for a double: past every range
    }
    return static_cast<int>(std::clamp<double>(typed, minimum(), maximum()));
  }
};

QLabel* Caption(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setWordWrap(true);
  return label;
}

}  // namespace

frmOptions::frmOptions(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("frmOptions"));
  setWindowTitle(QStringLiteral("Настройки"));

  sstMain = new QTabWidget(this);
  sstMain->setObjectName(QStringLiteral("sstMain"));
  sstMain->addTab(CreateGeneralTab(), QStringLiteral(" Обычные "));
  sstMain->addTab(CreatePrecisionTab(), QStringLiteral(" Точность "));
  sstMain->addTab(CreateValuesTab(), QStringLiteral(" Значения "));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
  auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
  cancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sstMain);
  layout->addLayout(buttons);

  Form_Load();
}

QWidget* frmOptions::CreateGeneralTab() {
  auto* tab = new QWidget(this);
  auto* number_type = new QGroupBox(QStringLiteral("Тип числа"), tab);
  number_type->setObjectName(QStringLiteral("fraNumType"));
  cboNumType = new QComboBox(number_type);
  cboNumType->setObjectName(QStringLiteral("cboNumType"));
  // The item index is the number type.
  cboNumType->addItems({QStringLiteral("Обычный"), QStringLiteral("Экстремальный - 10-ричный"),
                        QStringLiteral("Экстремальный двоичный!")});
  (new QVBoxLayout(number_type))->addWidget(cboNumType);

  auto* memory_list =
      new QGroupBox(QStringLiteral("Числа,  содержащиеся в списке чисел, содержится в файле"), tab);
  memory_list->setObjectName(QStringLiteral("fraMemList"));
  txtMemList = new QLineEdit(memory_list);
  txtMemList->setObjectName(QStringLiteral("txtMemList"));
  auto* browse = new QPushButton(QStringLiteral("Обзор"), memory_list);
  browse->setObjectName(QStringLiteral("cmdMemList"));
  connect(browse, &QPushButton::clicked, this, &frmOptions::cmdMemList_Click);
  auto* row = new QHBoxLayout(memory_list);
  row->addWidget(txtMemList);
  row->addWidget(browse);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(number_type);
  layout->addWidget(memory_list);
  layout->addStretch();
  return tab;
}

QWidget* frmOptions::CreatePrecisionTab() {
  auto* tab = new QWidget(this);
  auto* grid = new QGridLayout(tab);
  udRadical = AddCount(grid, "udRadical", "txtRadical",
                       "Количество цифр, в дробной части, после извлечения корня :", kPrecisionRange);
  udDev =
      AddCount(grid, "udDev", "txtDev", " Количество цифр, в дробной части после деления :", kPrecisionRange);
  udDevBinConvert = AddCount(grid, "udDevBinConvert", "txtDevBinConvert",
                             "Преобразовывать десятичную дробь в 256-разрядную до символа:", kPrecisionRange);
  udLog = AddCount(grid, "udLog", "txtLog",
                   "Количество цифр в дробной части после логарифмирования (обычного и истинного "
                   "логарифма):",
                   kLogRange);
  grid->setRowStretch(grid->rowCount(), 1);
  return tab;
}

QWidget* frmOptions::CreateValuesTab() {
  auto* tab = new QWidget(this);
  auto* layout = new QVBoxLayout(tab);
  const auto add_value = [&](const char* frame_caption, const char* frame_name, const char* label_name) {
    auto* frame = new QGroupBox(QString::fromUtf8(frame_caption), tab);
    frame->setObjectName(QString::fromUtf8(frame_name));
    auto* value = new QLabel(frame);
    value->setObjectName(QString::fromUtf8(label_name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(frame))->addWidget(value);
    layout->addWidget(frame);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    return std::pair{value, grid};
  };

  auto [pi, pi_grid] = add_value("Значение числа pi:", "fraPi", "lblPiNum");
  lblPiNum = pi;
  udPi = AddCount(pi_grid, "udPi", "txtPi", "Количество символов, после запятой в числе pi:", kPiRange);
  connect(udPi, &QSpinBox::valueChanged, this, &frmOptions::udPi_Change);

  auto [e, e_grid] = add_value("Значение основания истинного логарифма:", "fraExpn", "lblNumExpn");
  lblNumExpn = e;
  udExpn = AddCount(e_grid, "udExpn", "txtExpn",
                    "Количество символов, после запятой в основании истинного логарифма:", kExpRange);
  connect(udExpn, &QSpinBox::valueChanged, this, &frmOptions::udExpn_Change);
  layout->addStretch();
  return tab;
}

QSpinBox* frmOptions::AddCount(QGridLayout* grid, const char* name, const char* text_name,
                               const char* caption, CountRange range) {
  const int row = grid->rowCount();
  auto* box = new CountBox(this);
  box->setObjectName(QString::fromUtf8(name));
  box->findChild<QLineEdit*>()->setObjectName(QString::fromUtf8(text_name));
  box->setRange(range.low, range.high);
  grid->addWidget(Caption(caption, this), row, 0);
  grid->addWidget(box, row, 1);
  return box;
}

void frmOptions::Form_Load() {
  SharedDialogs().hOwner(this);
  udExpn->setValue(settings_.ExpCount);
  udPi->setValue(settings_.PiCount);
  udExpn_Change();  // the labels follow later changes by themselves
  udPi_Change();
  udLog->setValue(settings_.LogCount);
  mem_list_file_ = settings_.MemListFile;
  txtMemList->setText(QString::fromStdString(mem_list_file_));
  adjustSize();
  move(screen()->availableGeometry().center() - rect().center());
  cboNumType->setCurrentIndex(settings_.TypeNum);
  udDevBinConvert->setValue(settings_.MaxDevConv);
  udDev->setValue(settings_.DevCount);
  udRadical->setValue(settings_.RadCount);
  sstMain->setCurrentIndex(0);
}

// Cut, not rounded, so every digit shown is a true digit of pi or e.
void frmOptions::udPi_Change() {
  lblPiNum->setText(QString::fromStdString(CutReference(kReferencePi, udPi->value())));
}

void frmOptions::udExpn_Change() {
  lblNumExpn->setText(QString::fromStdString(CutReference(kReferenceE, udExpn->value())));
}

void frmOptions::cmdMemList_Click() {
  CommonDialogExtention& dialogs = SharedDialogs();
  dialogs.DialogTitle("Выберите файл для списка чисел");
  dialogs.Filter("Файлы чисел Orvane'а (*.num)|*.num");
  dialogs.InitDir(QCoreApplication::applicationDirPath().toStdString());
  dialogs.FileName("");
  dialogs.ShowSave();
  if (dialogs.FileName().empty()) return;
  mem_list_file_ = dialogs.FileName();
  const QString chosen = QString::fromStdString(mem_list_file_);
  txtMemList->setText(chosen);
  txtMemList->setToolTip(chosen);
}

void frmOptions::cmdOK_Click() {
  const Settings before = settings_;
  settings_.DevCount = static_cast<std::int16_t>(udDev->value());
  settings_.RadCount = static_cast<std::int16_t>(udRadical->value());
  settings_.TypeNum = cboNumType->currentIndex();
  settings_.MaxDevConv = static_cast<std::int16_t>(udDevBinConvert->value());
  const bool path_edited = txtMemList->text() != QString::fromStdString(mem_list_file_);
  settings_.MemListFile = path_edited ? txtMemList->text().toStdString() : mem_list_file_;
  settings_.ExpValue = lblNumExpn->text().toStdString();
  settings_.PiValue = lblPiNum->text().toStdString();
  settings_.ExpCount = static_cast<std::int16_t>(udExpn->value());
  settings_.PiCount = static_cast<std::int16_t>(udPi->value());
  settings_.LogCount = static_cast<std::int16_t>(udLog->value());
  const std::string problem = SaveSettings(settings_, before);
  if (!problem.empty()) {
    ShowMessageBox(this, QMessageBox::Warning, QStringLiteral("Orvane Lite 0.1"),
                   QString::fromStdString(problem));
  }
  accept();
}

}  // namespace ovn
