#include "qt_platform.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QSpacerItem>
#include <QTranslator>

namespace ovn {
namespace {

// Room the window manager's title bar takes besides the title: the window icon and the minimise, maximise
// and close buttons, about 32 pixels each on the common desktops.
constexpr int kTitleBarDecoration = 4 * 32;

// The box's own layout sizes it by its text alone, and a short text leaves the title cut ("Оши…ения!").
// A spacer as wide as the title bar needs is what that layout respects.
void FitTitle(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  QFont title_font = box.font();
  title_font.setBold(true);  // most title bars draw the title bold
  const int width = QFontMetrics(title_font).horizontalAdvance(box.windowTitle()) + kTitleBarDecoration;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                grid->columnCount());
}

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

bool InstallQtTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

QMessageBox::StandardButton ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, title, text, buttons, owner);
  FitTitle(box);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void QtMessageService::Show(const std::string& text, const std::string& title, MessageIcon icon) {
  ShowMessageBox(owner_, ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text));
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
