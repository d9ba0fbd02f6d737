// The progress of a load on a terminal: one line on standard error, rewritten in place and
// erased when the load is over. Cancelling is not offered (Ctrl+C ends the program).
#pragma once

#include <cstdio>
#include <string>

#include "platform/Progress.h"

namespace vexor {

class ConsoleProgress : public Progress {
 public:
  explicit ConsoleProgress(std::FILE* out = stderr) : m_out(out) {}
  void StepStarted(WorkStep step, int fileIndex, int fileCount) override;
  void BytesDone(uint64_t done, uint64_t total) override;
  void Close() override;

 private:
  void Show(const std::string& text);

  std::FILE* m_out;
  std::string m_prefix;
  size_t m_shownLength = 0;
  int m_lastPercent = -1;
};

}  // namespace vexor
