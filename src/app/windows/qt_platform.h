// The desktop services of the controller, implemented with Qt: message boxes, input boxes and the
// clipboard. Each dialog is owned by the window given at construction. Also Qt's own texts in Russian and
// the one way every window shows a message box.
#pragma once

#include <QMessageBox>
#include <optional>
#include <string>

#include "platform/platform.h"

class QCoreApplication;
class QWidget;

namespace ovn {

// Loads Qt's own Russian texts (the file and colour dialogs, Yes/No/Cancel, the context menus) into
// `application`, whatever the system's locale: the interface is Russian throughout. False when Qt's
// translations are not installed (Debian package qt6-translations-l10n); the texts then stay English.
bool InstallQtTranslations(QCoreApplication& application);

// Shows a modal message box owned by `owner` and returns the button pressed. The box is made wide enough
// for the desktop's title bar to show its whole title.
QMessageBox::StandardButton ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& title,
                                           const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok);

class QtMessageService final : public MessageService {
 public:
  explicit QtMessageService(QWidget* owner) : owner_(owner) {}
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override;

 private:
  QWidget* owner_;
};

class QtInputService final : public InputService {
 public:
  explicit QtInputService(QWidget* owner) : owner_(owner) {}
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& default_text) override;

 private:
  QWidget* owner_;
};

class QtClipboardService final : public ClipboardService {
 public:
  void SetText(const std::string& text) override;
  std::string Text() override;
};

// The three services of one window, and the Platform that refers to them.
struct QtPlatform {
  explicit QtPlatform(QWidget* owner) : messages(owner), input(owner) {}
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  QtMessageService messages;
  QtInputService input;
  QtClipboardService clipboard;
  Platform platform{messages, input, clipboard};
};

}  // namespace ovn
