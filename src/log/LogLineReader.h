// Reads a log file line by line the way the game's logs have always been read: a line is what
// ends at a line feed (kept at the end of the line text) or at the end of the file; a line
// longer than 1022 characters arrives as several pieces of at most 1022; a carriage return
// directly before a line feed is dropped, so logs written on either platform read alike.
//
// Lines are handed out as views into the reader's own buffer: a view stays valid until the next
// call of Next(). No allocation per line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace vexor {

// The longest line handed out, and the bytes that decide where a line ends (a line of 1022
// characters may be followed by a carriage return and its line feed).
inline constexpr size_t kMaxLogLine = 1022;
inline constexpr size_t kLineWindow = kMaxLogLine + 1;

// A read limit that reads a log to its end.
inline constexpr uint64_t kWholeLog = UINT64_MAX;

// Where the line at the start of some bytes ends: its length as handed out (line feed included)
// and the bytes it takes up. Only the first kLineWindow bytes decide, so available must reach
// that far unless the data ends sooner. A carriage return before the line feed is rewritten into
// the line feed in place.
struct LineCut {
  size_t length = 0;
  size_t consumed = 0;
};
LineCut CutLine(char* start, size_t available);
// The same for a line whose first line feed is known to be at `feed`: false, with nothing
// rewritten, when the line is too long to end there (CutLine then decides). Inline: a batch's
// every line is cut here.
inline bool CutLineAtFeed(char* start, char* feed, LineCut* cut) {
  size_t rawLength = static_cast<size_t>(feed - start) + 1;
  bool crlf = rawLength >= 2 && feed[-1] == '\r';
  size_t length = crlf ? rawLength - 1 : rawLength;
  if (length > kMaxLogLine) return false;
  if (crlf) feed[-1] = '\n';
  *cut = {length, rawLength};
  return true;
}

class LogLineReader {
 public:
  static constexpr size_t kMaxLine = kMaxLogLine;

  LogLineReader() = default;
  ~LogLineReader();
  LogLineReader(const LogLineReader&) = delete;
  LogLineReader& operator=(const LogLineReader&) = delete;

  // Opens a file for reading from its start; false when it cannot be opened. Only its first
  // limit bytes are read: a log that is still being written is read up to where it stood.
  bool Open(const std::string& path, uint64_t limit = kWholeLog);
  // Reads from memory instead of a file (tests, fuzzing). The bytes must outlive the reader.
  void OpenBytes(std::string_view bytes);
  void Close();

  // The next line, or false at the end of the data (or on a read error, see Failed()).
  bool Next(std::string_view* line);

  // Raw bytes consumed so far and the size of the file when it was opened (for progress).
  uint64_t BytesRead() const { return m_consumed; }
  uint64_t Size() const { return m_size; }
  // True when reading stopped because of an error rather than at the end of the file.
  bool Failed() const { return m_failed; }

 private:
  // Makes at least want bytes available after m_pos, unless the data ends first.
  void Fill(size_t want);

  std::FILE* m_file = nullptr;
  std::vector<char> m_buffer;
  size_t m_pos = 0;
  size_t m_end = 0;
  bool m_atEnd = true;
  bool m_failed = false;
  uint64_t m_consumed = 0;
  uint64_t m_size = 0;
  uint64_t m_left = 0;  // bytes of the file still to be read
};

}  // namespace vexor
