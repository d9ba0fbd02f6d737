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

std::vector<std::string> ScriptedPrompter::NextChoice() {
  if (m_choices.empty()) return {};
  std::vector<std::string> paths = std::move(m_choices.front());
  m_choices.pop_front();
  return paths;
}

std::vector<std::string> ScriptedPrompter::ChooseFilesToOpen(const FileDialogRequest& request) {
  m_fileDialogs.push_back(request);
  return NextChoice();
}

std::string ScriptedPrompter::ChooseFileToSave(const FileDialogRequest& request) {
  m_fileDialogs.push_back(request);
  std::vector<std::string> paths = NextChoice();
  return paths.empty() ? std::string() : paths.front();
}

std::string ScriptedPrompter::ChooseFolder(std::string_view, const std::string& initialFolder) {
  m_fileDialogs.push_back({std::string(), initialFolder, false});
  std::vector<std::string> paths = NextChoice();
  return paths.empty() ? std::string() : paths.front();
}

}  // namespace vexor
