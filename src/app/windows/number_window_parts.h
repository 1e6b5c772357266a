// Parts the number windows (open/save, memory list) share: their questions, Yes or No and the name of a
// record, and the display of a long value through a window of characters. The windows take the Yes/No
// question as a function and the input box as a service, so that the tests answer both without a dialog.
#pragma once

#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "qt_platform.h"

namespace ovn {

// True when the user answered Yes.
using YesNoQuestion = std::function<bool(const QString& text, const QString& title, QMessageBox::Icon icon)>;

// The question asked with a message box owned by `owner`.
inline YesNoQuestion MessageBoxQuestion(QWidget* owner) {
  return [owner](const QString& text, const QString& title, QMessageBox::Icon icon) {
    return ShowMessageBox(owner, icon, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
}

// Asks for a record name until it holds no space, since a name ends at its first space in the file.
// Nothing when the user cancels or gives an empty name.
inline std::optional<std::string> AskRecordName(InputService& input, const std::string& prompt,
                                                const std::string& title, std::string default_text) {
  std::string asked = prompt;
  for (;;) {
    std::optional<std::string> name = input.Ask(asked, title, default_text);
    if (!name || name->empty()) return std::nullopt;
    if (name->find(' ') == std::string::npos) return name;
    asked = "Имя числа не может содержать пробелов.\n" + prompt;
    default_text = *name;
  }
}

struct ValueDisplay {
  QLineEdit* text;
  QScrollBar* scroll;
};

// A read-only text box named `name`, wide enough for `width` digits, with the scroll bar "hscResult"
// that moves its window along a longer value.
inline ValueDisplay CreateValueDisplay(QWidget* owner, const char* name, std::size_t width) {
  auto* text = new QLineEdit(owner);
  text->setObjectName(QString::fromUtf8(name));
  text->setReadOnly(true);
  const QString digits(static_cast<qsizetype>(width), QLatin1Char('0'));
  text->setMinimumWidth(text->fontMetrics().horizontalAdvance(digits) + 16);
  auto* scroll = new QScrollBar(Qt::Horizontal, owner);
  scroll->setObjectName(QStringLiteral("hscResult"));
  scroll->setMaximum(0);
  return {text, scroll};
}

// Shows `value` in `display`: whole when it has at most `width` characters, else the `width` characters
// from the scroll bar's position on, the scroll bar reaching the last of them.
inline void ShowValueWindow(const std::string& value, std::size_t width, QLineEdit& display,
                            QScrollBar& scroll) {
  scroll.setMaximum(value.size() > width ? static_cast<int>(value.size() - width) : 0);
  const QString shown = QString::fromStdString(value.substr(static_cast<std::size_t>(scroll.value()), width));
  if (display.text() != shown) display.setText(shown);
}

}  // namespace ovn
