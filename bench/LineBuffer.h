// Builds log lines in a large block and hands the block to a byte sink when it is nearly full,
// so that writing several hundred megabytes costs a few hundred large writes. Numbers and game
// clocks are formatted by hand: a printf call per field would dominate the time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "base/Archive.h"

namespace vexor::bench {

class LineBuffer {
 public:
  // crlf: end lines with "\r\n" as Windows servers do, otherwise "\n".
  LineBuffer(ByteSink& sink, bool crlf, size_t capacity = size_t{4} << 20);
  ~LineBuffer() { Flush(); }
  LineBuffer(const LineBuffer&) = delete;
  LineBuffer& operator=(const LineBuffer&) = delete;

  void Append(std::string_view text);
  void Append(char c);
  void AppendInt(int64_t value);
  // A number right-aligned in width characters (wider numbers are written whole).
  void AppendPadded(int64_t value, int width);
  // The game clock of a server log line: minutes right-aligned in three characters, a colon and
  // two digits of seconds ("  0:07", " 12:34", "1234:56").
  void AppendClock(int64_t seconds);
  // Ends the line; passes the block on when it is nearly full.
  void EndLine();
  void Flush();

  uint64_t Lines() const { return m_lines; }
  uint64_t Bytes() const { return m_flushed + m_used; }

 private:
  // Makes room for at least size more bytes.
  char* Reserve(size_t size);

  ByteSink& m_sink;
  bool m_crlf;
  size_t m_capacity;
  std::unique_ptr<char[]> m_data;
  size_t m_used = 0;
  uint64_t m_flushed = 0;
  uint64_t m_lines = 0;
};

}  // namespace vexor::bench
