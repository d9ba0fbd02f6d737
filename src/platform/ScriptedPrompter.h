// A Prompter for tests and headless runs: records every message and answers from a queue
// (the default answer of the box when the queue is empty).
#pragma once

#include <deque>
#include <string>
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

  // Queues the answer for the next question.
  void Answer(MessageAnswer answer) { m_answers.push_back(answer); }

  const std::vector<RecordedMessage>& Messages() const { return m_messages; }
  void Clear() { m_messages.clear(); }

 private:
  std::deque<MessageAnswer> m_answers;
  std::vector<RecordedMessage> m_messages;
};

}  // namespace vexor
