#include "platform/ScriptedPrompter.h"

namespace vexor {

MessageAnswer ScriptedPrompter::ShowMessage(std::string_view text, std::string_view caption,
                                            MessageButtons buttons) {
  m_messages.push_back({std::string(text), std::string(caption), buttons});
  if (m_answers.empty()) return DefaultAnswer(buttons);
  MessageAnswer answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

}  // namespace vexor
