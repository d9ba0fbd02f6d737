#include "LineBuffer.h"

#include <charconv>
#include <cstring>

namespace vexor::bench {
namespace {

// Room left at the end of the block for one number, so that numbers need no check of their own.
constexpr size_t kNumberRoom = 32;

int DigitCount(uint64_t value) {
  int digits = 1;
  while (value >= 10) {
    value /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace

LineBuffer::LineBuffer(ByteSink& sink, bool crlf, size_t capacity)
    : m_sink(sink), m_crlf(crlf), m_capacity(capacity), m_data(new char[capacity]) {}

char* LineBuffer::Reserve(size_t size) {
  if (m_used + size > m_capacity) Flush();
  if (size > m_capacity) {
    // A single piece larger than the block (never a real log line): grow the block.
    m_capacity = size;
    m_data.reset(new char[m_capacity]);
  }
  return m_data.get() + m_used;
}

void LineBuffer::Append(std::string_view text) {
  char* at = Reserve(text.size());
  std::memcpy(at, text.data(), text.size());
  m_used += text.size();
}

void LineBuffer::Append(char c) {
  *Reserve(1) = c;
  ++m_used;
}

void LineBuffer::AppendInt(int64_t value) {
  char* at = Reserve(kNumberRoom);
  std::to_chars_result result = std::to_chars(at, at + kNumberRoom, value);
  m_used += static_cast<size_t>(result.ptr - at);
}

void LineBuffer::AppendPadded(int64_t value, int width) {
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  int size = DigitCount(magnitude) + (value < 0 ? 1 : 0);
  char* at = Reserve(kNumberRoom + static_cast<size_t>(width > 0 ? width : 0));
  int pad = width - size;
  for (int i = 0; i < pad; ++i)
    at[i] = ' ';
  if (pad < 0) pad = 0;
  std::to_chars_result result = std::to_chars(at + pad, at + pad + kNumberRoom, value);
  m_used += static_cast<size_t>(result.ptr - at);
}

void LineBuffer::AppendClock(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  AppendPadded(seconds / 60, 3);
  char* at = Reserve(3);
  int64_t rest = seconds % 60;
  at[0] = ':';
  at[1] = static_cast<char>('0' + rest / 10);
  at[2] = static_cast<char>('0' + rest % 10);
  m_used += 3;
}

void LineBuffer::EndLine() {
  if (m_crlf) Append('\r');
  Append('\n');
  ++m_lines;
  if (m_used + 4096 > m_capacity) Flush();
}

void LineBuffer::Flush() {
  if (m_used == 0) return;
  m_sink.Write(m_data.get(), m_used);
  m_flushed += m_used;
  m_used = 0;
}

}  // namespace vexor::bench
