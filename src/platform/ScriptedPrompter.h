// A Prompter for tests and headless runs: records every message and answers from a queue
// (the default answer of the box when the queue is empty).
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/Prompter.h"

namespace vexor {

struct RecordedMessage {
  std::string text;
  std::string caption;
  MessageButtons buttons;
};

class ScriptedPrompter : public Prompter {
 public:
  MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                            MessageButtons buttons) override;

  std::vector<std::string> ChooseFilesToOpen(const FileDialogRequest& request) override;
  std::string ChooseFileToSave(const FileDialogRequest& request) override;
  std::string ChooseFolder(std::string_view title, const std::string& initialFolder) override;

  // Queues the answer for the next question.
  void Answer(MessageAnswer answer) { m_answers.push_back(answer); }
  // Queues what the next file dialog or folder browser returns (no paths: cancelled). A dialog
  // with nothing queued is cancelled.
  void Choose(std::vector<std::string> paths) { m_choices.push_back(std::move(paths)); }

  // The requests of the file dialogs shown so far, in order.
  const std::vector<FileDialogRequest>& FileDialogs() const { return m_fileDialogs; }

  const std::vector<RecordedMessage>& Messages() const { return m_messages; }
  void Clear() { m_messages.clear(); }

 private:
  std::vector<std::string> NextChoice();

  std::deque<MessageAnswer> m_answers;
  std::deque<std::vector<std::string>> m_choices;
  std::vector<FileDialogRequest> m_fileDialogs;
  std::vector<RecordedMessage> m_messages;
};

}  // namespace vexor
