#include "platform/ConsolePrompter.h"

namespace vexor {

MessageAnswer ConsolePrompter::ShowMessage(std::string_view text, std::string_view caption,
                                           MessageButtons buttons) {
  if (!m_noticesShown && buttons == MessageButtons::kOk && caption == "Info") {
    return DefaultAnswer(buttons);
  }
  std::fwrite(caption.data(), 1, caption.size(), m_out);
  std::fputs(": ", m_out);
  // A text with line breaks stays several lines; a final break adds no empty line.
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  std::fwrite(text.data(), 1, text.size(), m_out);
  std::fputc('\n', m_out);
  std::fflush(m_out);
  return DefaultAnswer(buttons);
}

}  // namespace vexor
