// Message boxes on a console: "CAPTION: TEXT" on standard error; questions get their default
// answer (the command line's flags decide everything up front).
#pragma once

#include <cstdio>

#include "platform/Prompter.h"

namespace vexor {

class ConsolePrompter : public Prompter {
 public:
  explicit ConsolePrompter(std::FILE* out = stderr) : m_out(out) {}
  MessageAnswer ShowMessage(std::string_view text, std::string_view caption,
                            MessageButtons buttons) override;
  // With false, notices (caption "Info", OK button only) are not written: --quiet keeps only
  // what went wrong.
  void SetNoticesShown(bool shown) { m_noticesShown = shown; }

 private:
  std::FILE* m_out;
  bool m_noticesShown = true;
};

}  // namespace vexor
