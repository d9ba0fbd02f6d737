// One page of the report: raw bytes written through a buffered file that appears under its
// name only when the page is complete.
#pragma once

#include <string>
#include <string_view>

#include "base/AtomicFile.h"

namespace vexor {

class HtmlFile {
 public:
  HtmlFile() : m_file(false) {}  // pages are rebuilt from the data: no flush to the disk
  HtmlFile(const HtmlFile&) = delete;
  HtmlFile& operator=(const HtmlFile&) = delete;
  // A page still open here is abandoned: its name keeps the previous contents (if any).
  ~HtmlFile() = default;

  // Starts the page at path (a temporary file beside it). False, with Error(), when it cannot
  // be created; the page then stays closed.
  bool Open(const std::string& path);
  bool IsOpen() const { return m_file.IsOpen(); }

  // Writes the bytes exactly as given (line ends are the "\r\n" the caller writes). Ignored
  // while the page is closed.
  void Write(std::string_view bytes) {
    if (!m_file.IsOpen()) return;
    m_pending.append(bytes);
    if (m_pending.size() >= kFlushSize) Flush();
  }
  // Writes the number in decimal, as "%i" does.
  void WriteNumber(long long value);

  // Completes the page under its name. False, with Error(), when the page was not open or could
  // not be written; a failed page never replaces the file of that name.
  bool Close();

  // A message naming the page's file, set when Open or Close failed.
  const std::string& Error() const { return m_file.Error(); }

 private:
  // A game page is made of thousands of small pieces: they are collected here and handed to
  // the file in large blocks.
  static constexpr size_t kFlushSize = 64 * 1024;
  void Flush();

  AtomicFile m_file;
  std::string m_pending;
};

}  // namespace vexor
