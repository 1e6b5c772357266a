#include "frmColors.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "CommonDialogExtention.h"
#include "colour_scheme.h"
#include "qt_platform.h"
#include "registry/settings_store.h"

namespace ovn {
namespace {

constexpr int kSwatchWidth = 64;
constexpr int kSwatchHeight = 24;

struct ColourFrame {
  const char* name;
  const char* caption;
};
constexpr std::array<ColourFrame, 4> kFrames = {{
    {"fraFMain", "Изменение цвета окна"},
    {"fraButtons", "Изменение цвета кпопок"},
    {"fraText", "Изменение цвета тектового табло"},
    {"fraMemory", "Изменение цвета индикатора памяти"},
}};

// One colour of the scheme: the setting it edits, the frame it sits in (an index into kFrames), its button
// and its label.
struct ColourRow {
  std::uint32_t Settings::*setting;
  std::size_t frame;
  const char* button;
  const char* label;
  const char* caption;
};
constexpr std::array<ColourRow, frmColors::kColourCount> kRows = {{
    {&Settings::Main, 0, "cmdMainIn", "lblMainIn", "Цвет фона окна:"},
    {&Settings::BGButton, 1, "cmdBackgroundButtons", "lblBackgroundButtons", "Цвет фона:"},
    {&Settings::BGText, 2, "cmdBackgroundText", "lblBackgroundText", "Цвет фона:"},
    {&Settings::LBText, 2, "cmdLabelText", "lblLabelText", "Цвет текста:"},
    {&Settings::Memory, 3, "cmdMemory", "lblMemory", "Цвет индикатора памяти:"},
}};

QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  return button;
}

}  // namespace

frmColors::frmColors(Settings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("frmColors"));
  setWindowTitle(QStringLiteral("Изменение цвета"));

  QPushButton* ok = NamedButton("cmdOK", QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &frmColors::cmdOK_Click);
  QPushButton* cancel = NamedButton("cmdCancel", QStringLiteral("Отмена"), this);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  QPushButton* reset = NamedButton("cmdNull", QStringLiteral("Обновить"), this);
  connect(reset, &QPushButton::clicked, this, &frmColors::cmdNull_Click);

  auto* commands = new QHBoxLayout;
  commands->addWidget(reset);
  commands->addStretch();
  commands->addWidget(ok);
  commands->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateFrames());
  layout->addLayout(commands);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Form_Load();
}

QWidget* frmColors::CreateFrames() {
  auto* frames = new QWidget(this);
  auto* column = new QVBoxLayout(frames);
  column->setContentsMargins(0, 0, 0, 0);
  std::array<QGridLayout*, kFrames.size()> grids{};
  for (std::size_t i = 0; i < kFrames.size(); ++i) {
    auto* frame = new QGroupBox(QString::fromUtf8(kFrames[i].caption), frames);
    frame->setObjectName(QString::fromUtf8(kFrames[i].name));
    grids[i] = new QGridLayout(frame);
    grids[i]->setColumnStretch(0, 1);
    column->addWidget(frame);
  }
  for (std::size_t row = 0; row < kRows.size(); ++row) {
    QGridLayout* grid = grids[kRows[row].frame];
    auto* frame = grid->parentWidget();
    auto* label = new QLabel(QString::fromUtf8(kRows[row].caption), frame);
    label->setObjectName(QString::fromUtf8(kRows[row].label));
    buttons_[row] = NamedButton(kRows[row].button, QString(), frame);
    buttons_[row]->setFixedSize(kSwatchWidth, kSwatchHeight);
    label->setBuddy(buttons_[row]);
    connect(buttons_[row], &QPushButton::clicked, this, [this, row] { ColourButton_Click(row); });
    const int line = grid->rowCount();
    grid->addWidget(label, line, 0);
    grid->addWidget(buttons_[row], line, 1);
  }
  return frames;
}

void frmColors::Form_Load() {
  for (std::size_t row = 0; row < kRows.size(); ++row) SetColour(row, settings_.*kRows[row].setting);
}

void frmColors::SetColour(std::size_t row, std::uint32_t colour) {
  colours_[row] = colour;
  PaintButton(*buttons_[row], ToQColor(colour, QGuiApplication::palette()));
}

// The dialog starts at the button's colour (a system colour as the desktop draws it), and a cancelled
// dialog leaves the button as it was: black text on a black display must not come from a Cancel.
void frmColors::ColourButton_Click(std::size_t row) {
  CommonDialogExtention& dialogs = SharedDialogs();
  dialogs.hOwner(this);
  const QColor shown = ToQColor(colours_[row], QGuiApplication::palette());
  dialogs.RGBResult(JoinColour({shown.red(), shown.green(), shown.blue()}));
  dialogs.ShowColor();
  if (dialogs.LastResult() != 0) SetColour(row, dialogs.RGBResult());
}

// The desktop's look is the first-run scheme; the settings change only with OK.
void frmColors::cmdNull_Click() {
  const Settings first_run;
  for (std::size_t row = 0; row < kRows.size(); ++row) SetColour(row, first_run.*kRows[row].setting);
}

void frmColors::cmdOK_Click() {
  const Settings before = settings_;
  for (std::size_t row = 0; row < kRows.size(); ++row) settings_.*kRows[row].setting = colours_[row];
  const std::string problem = SaveSettings(settings_, before);
  if (!problem.empty()) {
    ShowMessageBox(this, QMessageBox::Critical, QStringLiteral("Orvane Lite 0.1"),
                   QString::fromStdString(problem));
  }
  accept();
}

}  // namespace ovn
