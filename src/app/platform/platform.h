// What the controller needs from the desktop, as small interfaces: the window layer implements them with
// Qt, the console front end with standard streams, the tests with scripted fakes.
#pragma once

#include <optional>
#include <string>

namespace ovn {

enum class MessageIcon { kCritical, kWarning, kQuestion, kInformation };

class MessageService {
 public:
  virtual ~MessageService() = default;
  virtual void Show(const std::string& text, const std::string& title, MessageIcon icon) = 0;
};

class InputService {
 public:
  virtual ~InputService() = default;
  // The text the user typed, or nothing when the user cancelled.
  virtual std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                         const std::string& default_text) = 0;
};

class ClipboardService {
 public:
  virtual ~ClipboardService() = default;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() = 0;
};

// The services one controller talks back through.
struct Platform {
  MessageService& messages;
  InputService& input;
  ClipboardService& clipboard;
};

}  // namespace ovn
