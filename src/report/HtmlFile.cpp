#include "report/HtmlFile.h"

#include "base/StringPrintf.h"

namespace vexor {

bool HtmlFile::Open(const std::string& path) {
  m_pending.clear();
  return m_file.Open(path);
}

void HtmlFile::WriteNumber(long long value) {
  if (!m_file.IsOpen()) return;
  AppendDecimal(&m_pending, value);
  if (m_pending.size() >= kFlushSize) Flush();
}

void HtmlFile::Flush() {
  m_file.Write(m_pending);
  m_pending.clear();
}

bool HtmlFile::Close() {
  Flush();
  return m_file.Commit();
}

}  // namespace vexor
