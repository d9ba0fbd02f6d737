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

}  // namespace vexor
