#include "log/LogLineReader.h"

#include <algorithm>
#include <cstring>

#include "base/FileSystem.h"

namespace vexor {
namespace {

constexpr size_t kBufferSize = 1 << 20;
constexpr size_t kWindow = kLineWindow;

}  // namespace

LineCut CutLine(char* start, size_t available) {
  size_t window = available < kWindow ? available : kWindow;
  auto* feed = static_cast<char*>(std::memchr(start, '\n', window));
  LineCut cut;
  if (feed != nullptr && CutLineAtFeed(start, feed, &cut)) return cut;
  size_t length = window < kMaxLogLine ? window : kMaxLogLine;
  return {length, length};
}

LogLineReader::~LogLineReader() {
  Close();
}

bool LogLineReader::Open(const std::string& path, uint64_t limit) {
  Close();
  // Only a regular file: a directory, a device without end or a FIFO is no log.
  m_file = OpenRegularFile(path, &m_size);
  if (m_file == nullptr) return false;
  m_size = std::min(m_size, limit);
  m_left = limit;
  // A small log gets a buffer of its own size (a file that grows meanwhile is still read to
  // its end, a window at a time).
  m_buffer.resize(static_cast<size_t>(std::clamp<uint64_t>(m_size + 1, 2 * kWindow, kBufferSize)));
  m_atEnd = false;
  return true;
}

void LogLineReader::OpenBytes(std::string_view bytes) {
  Close();
  m_buffer.assign(bytes.begin(), bytes.end());
  m_end = m_buffer.size();
  m_size = bytes.size();
  m_atEnd = true;
}

void LogLineReader::Close() {
  if (m_file != nullptr) std::fclose(m_file);
  m_file = nullptr;
  m_buffer.clear();
  m_pos = m_end = 0;
  m_atEnd = true;
  m_failed = false;
  m_consumed = 0;
  m_size = 0;
  m_left = 0;
}

void LogLineReader::Fill(size_t want) {
  if (m_end - m_pos >= want || m_atEnd) return;
  std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
  m_end -= m_pos;
  m_pos = 0;
  while (m_end - m_pos < want && !m_atEnd) {
    size_t room = static_cast<size_t>(std::min<uint64_t>(m_buffer.size() - m_end, m_left));
    size_t got = room == 0 ? 0 : std::fread(m_buffer.data() + m_end, 1, room, m_file);
    m_end += got;
    m_left -= got;
    if (got == 0) {
      m_atEnd = true;
      m_failed = std::ferror(m_file) != 0;
    }
  }
}

bool LogLineReader::Next(std::string_view* line) {
  Fill(kWindow);
  size_t available = m_end - m_pos;
  if (available == 0) return false;
  char* start = m_buffer.data() + m_pos;
  LineCut cut = CutLine(start, available);
  *line = std::string_view(start, cut.length);
  m_pos += cut.consumed;
  m_consumed += cut.consumed;
  return true;
}

}  // namespace vexor
