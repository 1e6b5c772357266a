#include "qt_platform.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace ovn {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kCritical:
      return QMessageBox::Critical;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

void QtMessageService::Show(const std::string& text, const std::string& title, MessageIcon icon) {
  QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok, owner_);
  box.exec();
}

std::optional<std::string> QtInputService::Ask(const std::string& prompt, const std::string& title,
                                               const std::string& default_text) {
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(owner_, QString::fromStdString(title), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(default_text), &accepted);
  if (!accepted) return std::nullopt;
  return answer.toStdString();
}

void QtClipboardService::SetText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(QString::fromStdString(text));
}

std::string QtClipboardService::Text() {
  return QGuiApplication::clipboard()->text().toStdString();
}

}  // namespace ovn
