#include "platform/Prompter.h"

namespace vexor {

MessageAnswer DefaultAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kYesNo:
      return MessageAnswer::kYes;
    case MessageButtons::kOk:
    case MessageButtons::kOkCancel:
      break;
  }
  return MessageAnswer::kOk;
}

std::vector<std::string> Prompter::ChooseFilesToOpen(const FileDialogRequest&) { return {}; }

std::string Prompter::ChooseFileToSave(const FileDialogRequest&) { return {}; }

std::string Prompter::ChooseFolder(std::string_view, const std::string&) { return {}; }

}  // namespace vexor
