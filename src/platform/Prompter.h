// How core code shows a message box and asks the user a question. The desktop program shows real
// dialogs, the command line writes "CAPTION: TEXT" to standard error, and tests use a scripted
// prompter that records every message.
#pragma once

#include <string>
#include <string_view>

namespace vexor {

enum class MessageButtons { kOk, kYesNo, kOkCancel };

enum class MessageAnswer { kOk, kCancel, kYes, kNo };

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows text with caption and the given buttons; returns the button pressed.
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                    MessageButtons buttons) = 0;

  // Shorthand for a message with an OK button only.
  void Inform(std::string_view text, std::string_view caption) {
    ShowMessage(text, caption, MessageButtons::kOk);
  }
};

// The answer a box gives when nobody is there to press a button: OK, Yes or OK.
MessageAnswer DefaultAnswer(MessageButtons buttons);

}  // namespace vexor
