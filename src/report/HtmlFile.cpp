#include "report/HtmlFile.h"

namespace vexor {

bool HtmlFile::Open(const std::string& path) { return m_file.Open(path); }

bool HtmlFile::Close() { return m_file.Commit(); }

}  // namespace vexor
