// The desktop services of the controller, implemented with Qt: message boxes, input boxes and the
// clipboard. Each dialog is owned by the window given at construction.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

class QWidget;

namespace ovn {

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
