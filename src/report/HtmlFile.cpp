#include "report/HtmlFile.h"

#include <utility>

#include "base/StringPrintf.h"

namespace vexor {

void HtmlFile::Open(const std::string& path) {
  m_pending.clear();
  m_queue.Open(m_file, path);
  m_open = true;
}

void HtmlFile::WriteNumber(long long value) {
  if (!m_open) return;
  AppendDecimal(&m_pending, value);
  if (m_pending.size() >= kBlockSize) HandOver();
}

void HtmlFile::HandOver() {
  if (m_pending.empty()) return;
  m_queue.Write(m_file, std::move(m_pending));
  m_pending = m_queue.SpareBlock();
}

void HtmlFile::Close() {
  if (!m_open) return;
  HandOver();
  m_queue.Close(m_file);
  m_open = false;
}

}  // namespace vexor
