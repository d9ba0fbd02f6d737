#include "app/cli/ConsoleProgress.h"

#include "base/StringPrintf.h"

namespace vexor {
namespace {

const char* StepName(WorkStep step) {
  return NamesOf(step).console;
}

}  // namespace

void ConsoleProgress::StepStarted(WorkStep step, int fileIndex, int fileCount) {
  m_lastPercent = -1;
  if (!ReadsFiles(step)) {
    // The web site counts its files: its percentage is shown too.
    if (step == WorkStep::kSite) {
      m_prefix = StepName(step);
    } else {
      m_prefix.clear();
    }
    Show(StepName(step));
    return;
  }
  m_prefix = StringPrintf("%s: file %d of %d", StepName(step), fileIndex + 1, fileCount);
  Show(m_prefix);
}

void ConsoleProgress::BytesDone(uint64_t done, uint64_t total) {
  if (m_prefix.empty()) return;
  int percent = total == 0 ? 100 : static_cast<int>(done * 100 / total);
  if (percent == m_lastPercent) return;
  m_lastPercent = percent;
  Show(StringPrintf("%s, %3d%%", m_prefix.c_str(), percent));
}

void ConsoleProgress::Show(const std::string& text) {
  std::string line = "\r" + text;
  if (text.size() < m_shownLength) line.append(m_shownLength - text.size(), ' ');
  m_shownLength = text.size();
  std::fputs(line.c_str(), m_out);
  std::fflush(m_out);
}

void ConsoleProgress::Close() {
  if (m_shownLength == 0) return;
  std::string blank = "\r" + std::string(m_shownLength, ' ') + "\r";
  std::fputs(blank.c_str(), m_out);
  std::fflush(m_out);
  m_shownLength = 0;
}

}  // namespace vexor
