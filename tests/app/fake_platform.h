// Scripted stand-ins for the desktop services, so that every controller and window path runs headless and
// its messages, questions and clipboard traffic can be checked.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace ovn {

struct ShownMessage {
  std::string text;
  std::string title;
  MessageIcon icon;
};

class RecordingMessages : public MessageService {
 public:
  void Show(const std::string& text, const std::string& title, MessageIcon icon) override {
    shown.push_back({text, title, icon});
  }
  std::string LastText() const { return shown.empty() ? "" : shown.back().text; }

  std::vector<ShownMessage> shown;
};

struct AskedQuestion {
  std::string prompt;
  std::string title;
  std::string default_text;
};

// Answers from a script, in order, and cancels once the script has run out; records every question.
class ScriptedInput : public InputService {
 public:
  std::optional<std::string> Ask(const std::string& prompt, const std::string& title,
                                 const std::string& default_text) override {
    asked.push_back({prompt, title, default_text});
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::vector<std::string> Prompts() const {
    std::vector<std::string> prompts;
    for (const AskedQuestion& question : asked) prompts.push_back(question.prompt);
    return prompts;
  }

  std::deque<std::optional<std::string>> answers;
  std::vector<AskedQuestion> asked;
};

class MemoryClipboard : public ClipboardService {
 public:
  void SetText(const std::string& value) override { text = value; }
  std::string Text() override { return text; }

  std::string text;
};

// The three services together, ready to hand to a calculator or a window.
struct FakePlatform {
  RecordingMessages messages;
  ScriptedInput input;
  MemoryClipboard clipboard;
  Platform platform{messages, input, clipboard};
};

}  // namespace ovn
