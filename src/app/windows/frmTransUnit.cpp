#include "frmTransUnit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <span>
#include <string_view>
#include <utility>

#include "files/whole_file.h"
#include "platform/platform.h"

namespace ovn {
namespace {

struct UnitKind {
  std::string_view code;
  std::string_view caption;
  std::span<const std::string_view> units;  // in the order of the engine's factor tables
};

constexpr std::array<std::string_view, 6> kMass = {"Грамм",      "Килограмм",        "Слаг",
                                                   "Фунт массы", "Английская унция", "Пуд"};
constexpr std::array<std::string_view, 7> kLength = {"Метр", "Уставная миля", "Морская миля", "Дюйм",
                                                     "Фут",  "Ярд",           "Пика"};
constexpr std::array<std::string_view, 9> kVolume = {
    "Литр",  "Чайная ложка",       "Столовая ложка",   "Унция жидкая",
    "Чашка", "Американская пинта", "Британская пинта", "Кварта",
    "Галлон"};
constexpr std::array<std::string_view, 9> kEnergy = {"Джоуль",
                                                     "Эрг",
                                                     "Термодинамическая калория",
                                                     "IT калория",
                                                     "Электрон-вольт",
                                                     "Лошадиная сила-час",
                                                     "Ватт-час",
                                                     "Фунт-фут",
                                                     "БТЕ (Британская тепловая единица)"};
constexpr std::array<std::string_view, 3> kPressure = {"Паскаль", "Атмосфера", "Миллиметр ртутного столба"};
constexpr std::array<std::string_view, 3> kForce = {"Ньютон", "Дина", "Фунт силы"};
constexpr std::array<std::string_view, 2> kPower = {"Ватт", "Лошадиная сила"};
constexpr std::array<std::string_view, 2> kMagnetism = {"Тесла", "Гаусс"};

const std::array<UnitKind, 8> kKinds = {{
    {"MASS", "Еденицы веса", kMass},
    {"LONG", "Еденицы расстояния", kLength},
    {"VOLUME", "Еденицы меры жидкостей", kVolume},
    {"ENERGY", "Еденицы энергии", kEnergy},
    {"PRESSURE", "Еденицы давления", kPressure},
    {"STRONG", "Еденицы силы", kForce},
    {"CAPACITY", "Еденицы мощности", kPower},
    {"MAGNET", "Еденицы магнетизма", kMagnetism},
}};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

frmTransUnit::frmTransUnit(std::filesystem::path request_file, MessageService& messages, QWidget* parent)
    : QDialog(parent), request_file_(std::move(request_file)), messages_(messages) {
  setObjectName("frmTransUnit");
  setWindowTitle(QStringLiteral("Перевод едениц исчисления"));

  auto* fraTypeUnits = new QGroupBox(QStringLiteral("Выберите тип еденицы исчесления"), this);
  fraTypeUnits->setObjectName("fraTypeUnits");
  cboTypeUnits = new QComboBox(fraTypeUnits);
  cboTypeUnits->setObjectName("cboTypeUnits");
  for (const UnitKind& kind : kKinds) cboTypeUnits->addItem(ToQString(kind.caption));
  (new QVBoxLayout(fraTypeUnits))->addWidget(cboTypeUnits);

  auto* fraUnits = new QGroupBox(QStringLiteral("Выберете исходную и конечную еденицу"), this);
  fraUnits->setObjectName("fraUnits");
  cboUnitsFrom = new QComboBox(fraUnits);
  cboUnitsFrom->setObjectName("cboUnitsFrom");
  cboUnitsTo = new QComboBox(fraUnits);
  cboUnitsTo->setObjectName("cboUnitsTo");
  auto* units = new QVBoxLayout(fraUnits);
  units->addWidget(cboUnitsFrom);
  units->addWidget(cboUnitsTo);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Отмена"), this);
  cmdCancel->setObjectName("cmdCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraTypeUnits);
  layout->addWidget(fraUnits);
  layout->addLayout(buttons);

  connect(cboTypeUnits, &QComboBox::currentIndexChanged, this, &frmTransUnit::cboTypeUnits_Click);
  connect(cmdOK, &QPushButton::clicked, this, &frmTransUnit::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  cboTypeUnits_Click(0);
}

void frmTransUnit::cboTypeUnits_Click(int index) {
  if (index < 0 || index >= static_cast<int>(kKinds.size())) return;
  const UnitKind& kind = kKinds[static_cast<std::size_t>(index)];
  selected_unit_type_ = std::string(kind.code);
  for (QComboBox* list : {cboUnitsFrom, cboUnitsTo}) {
    list->clear();
    for (std::string_view unit : kind.units) list->addItem(ToQString(unit));
    list->setCurrentIndex(0);
  }
}

void frmTransUnit::cmdOK_Click() {
  const std::string request = std::to_string(cboUnitsFrom->currentIndex()) + "\n" +
                              std::to_string(cboUnitsTo->currentIndex()) + "\n" + selected_unit_type_ + "\n";
  // Written whole or not at all: the main window's timer never reads half a request.
  if (const std::string problem = ReplaceFileAtomically(request_file_, request); !problem.empty()) {
    messages_.Show("Не удалось записать запрос " + request_file_.string() + ": " + problem,
                   "Ошибка сохранения !!!", MessageIcon::kCritical);
    return;
  }
  accept();
}

}  // namespace ovn
