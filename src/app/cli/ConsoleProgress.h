// The progress of a load on a terminal: one line on standard error, rewritten in place and
// erased when the load is over.
#pragma once

#include <cstdio>
#include <string>

#include "stats/LoadProgress.h"

namespace vexor {

class ConsoleProgress : public LoadProgress {
 public:
  explicit ConsoleProgress(std::FILE* out = stderr) : m_out(out) {}
  void FileStarted(LoadPass pass, int fileIndex, int fileCount) override;
  void BytesRead(uint64_t done, uint64_t size) override;
  void Close() override;

 private:
  void Show(const std::string& text);

  std::FILE* m_out;
  std::string m_prefix;
  size_t m_shownLength = 0;
  int m_lastPercent = -1;
};

}  // namespace vexor
