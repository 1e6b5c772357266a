#include "colour_scheme.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

#include "dialog_rules.h"

namespace ovn {
namespace {

constexpr std::uint32_t kSystemColourBit = 0x80000000;

// The desktop's system colour indexes that have a palette role.
constexpr std::uint32_t kSystemWindow = 5;
constexpr std::uint32_t kSystemWindowText = 8;
constexpr std::uint32_t kSystemButtonText = 18;

QPalette::ColorRole SystemColourRole(std::uint32_t index) {
  switch (index) {
    case kSystemWindow:
      return QPalette::Base;
    case kSystemWindowText:
      return QPalette::Text;
    case kSystemButtonText:
      return QPalette::ButtonText;
    default:  // the button face, and every index without a role of its own
      return QPalette::Button;
  }
}

// Black on light colours, white on dark ones.
QColor ReadableOn(const QColor& background) {
  constexpr int kMidGrey = 128;
  return qGray(background.rgb()) >= kMidGrey ? QColor(Qt::black) : QColor(Qt::white);
}

// Only the roles set here become the widget's own; the others still follow its parent, so a later change
// of the window's background reaches every control that does not paint its own.
void PaintBackgroundAndText(QWidget& widget, QPalette::ColorRole background, const QColor& fill,
                            QPalette::ColorRole text, const QColor& ink) {
  QPalette palette;
  palette.setColor(background, fill);
  // The disabled group keeps its greyed text, so the busy keypad still looks disabled.
  palette.setColor(QPalette::Active, text, ink);
  palette.setColor(QPalette::Inactive, text, ink);
  widget.setPalette(palette);
}

}  // namespace

QColor ToQColor(std::uint32_t colour, const QPalette& desktop) {
  if ((colour & kSystemColourBit) != 0) return desktop.color(SystemColourRole(colour & ~kSystemColourBit));
  const RgbParts parts = SplitColour(colour);
  return QColor(parts.red, parts.green, parts.blue);
}

void PaintButton(QPushButton& button, const QColor& colour) {
  PaintBackgroundAndText(button, QPalette::Button, colour, QPalette::ButtonText, ReadableOn(colour));
}

void ApplyColourScheme(QMainWindow& window, const Settings& settings) {
  const QPalette desktop = QGuiApplication::palette();
  QWidget* client = window.centralWidget();
  const QColor buttons = ToQColor(settings.BGButton, desktop);
  for (QPushButton* button : client->findChildren<QPushButton*>()) {
    if (button->objectName().startsWith(QLatin1String("cmd"))) PaintButton(*button, buttons);
  }

  if (auto* display = client->findChild<QLineEdit*>(QStringLiteral("txtResult"))) {
    QPalette palette;
    palette.setColor(QPalette::Base, ToQColor(settings.BGText, desktop));
    palette.setColor(QPalette::Text, ToQColor(settings.LBText, desktop));
    display->setPalette(palette);
  }

  if (auto* memory = client->findChild<QLabel*>(QStringLiteral("lblMem"))) {
    const QColor fill = ToQColor(settings.Memory, desktop);
    memory->setAutoFillBackground(true);
    PaintBackgroundAndText(*memory, QPalette::Window, fill, QPalette::WindowText, ReadableOn(fill));
  }

  QPalette background;
  background.setColor(QPalette::Window, ToQColor(settings.Main, desktop));
  client->setAutoFillBackground(true);
  client->setPalette(background);
}

}  // namespace ovn
