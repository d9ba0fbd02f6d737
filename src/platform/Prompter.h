// How core code shows a message box and asks the user a question. The desktop program shows real
// dialogs, the command line writes "CAPTION: TEXT" to standard error, and tests use a scripted
// prompter that records every message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexor {

enum class MessageButtons { kOk, kYesNo, kOkCancel };

enum class MessageAnswer { kOk, kCancel, kYes, kNo };

// What a file dialog shows: the filter in the program's own form ("Log Files (*.log)|*.log||"),
// the folder it starts in (empty: the platform's choice), and whether several files may be
// chosen (open dialogs only).
struct FileDialogRequest {
  std::string filter;
  std::string initialFolder;
  bool multiple = false;
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows text with caption and the given buttons; returns the button pressed.
  virtual MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                                    MessageButtons buttons) = 0;

  // The open-file dialog: the chosen paths in the dialog's order; none when cancelled. Without a
  // person to ask, nothing is chosen.
  virtual std::vector<std::string> ChooseFilesToOpen(const FileDialogRequest& request);
  // The save-file dialog: the chosen path; empty when cancelled.
  virtual std::string ChooseFileToSave(const FileDialogRequest& request);
  // The folder browser, starting at initialFolder: the chosen folder; empty when cancelled.
  virtual std::string ChooseFolder(std::string_view title, const std::string& initialFolder);

  // Shorthand for a message with an OK button only.
  void Inform(std::string_view text, std::string_view caption) {
    ShowMessage(text, caption, MessageButtons::kOk);
  }
};

// The answer a box gives when nobody is there to press a button: OK, Yes or OK.
MessageAnswer DefaultAnswer(MessageButtons buttons);

}  // namespace vexor
