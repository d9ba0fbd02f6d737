// One page of the report: raw bytes collected in large blocks and handed to a PageQueue, whose
// thread writes them to a file that appears under the page's name only when it is complete.
#pragma once

#include <string>
#include <string_view>

#include "report/PageQueue.h"

namespace vexor {

class HtmlFile {
 public:
  // The queue's page number file (0 to PageQueue::kFiles - 1), which no other HtmlFile of the
  // queue may use while this one is open.
  HtmlFile(PageQueue& queue, int file) : m_queue(queue), m_file(file) {}
  HtmlFile(const HtmlFile&) = delete;
  HtmlFile& operator=(const HtmlFile&) = delete;
  // A page still open here is abandoned (when its page number opens again, or when the queue
  // ends): its name keeps the previous contents (if any).
  ~HtmlFile() = default;

  // Starts the page at path. Whether it could be created, the queue's Finish tells.
  void Open(const std::string& path);

  // Writes the bytes exactly as given (line ends are the "\r\n" the caller writes). Ignored
  // while the page is closed.
  void Write(std::string_view bytes) {
    if (!m_open) return;
    m_pending.append(bytes);
    if (m_pending.size() >= kBlockSize) HandOver();
  }
  // Writes the number in decimal, as "%i" does.
  void WriteNumber(long long value);

  // Ends the page: the queue completes it under its name, or (see its Finish) leaves the file
  // of that name as it was. Nothing happens while the page is closed.
  void Close();

 private:
  // A game page is made of thousands of small pieces: they reach the disk in blocks this large.
  static constexpr size_t kBlockSize = 256 * 1024;
  void HandOver();

  PageQueue& m_queue;
  int m_file;
  bool m_open = false;
  std::string m_pending;
};

}  // namespace vexor
