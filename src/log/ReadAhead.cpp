#include "log/ReadAhead.h"

#include <cstring>
#include <system_error>
#include <utility>

#include "base/FileSystem.h"
#include "log/LogLineReader.h"

namespace vexor {
namespace {

// A batch holds about this many bytes of lines: thousands of lines, so that handing a batch over
// costs nothing next to its lines, and few enough to stay in the caches.
constexpr size_t kBatchBytes = 256 * 1024;
// Batches read ahead at most: the reading thread waits for the pass beyond that.
constexpr size_t kQueuedBatches = 4;

}  // namespace

ReadAhead::~ReadAhead() {
  Close();
}

bool ReadAhead::Open(const std::string& path, const LineParser* parser) {
  Close();
  // Only a regular file: a directory, a device without end or a FIFO is no log.
  m_file = OpenRegularFile(path, &m_size);
  if (m_file == nullptr) return false;
  m_parser = parser;
  m_tail.clear();
  m_fileEnded = m_readFailed = false;
  m_consumed = 0;
  m_ended = false;
  m_readerDone = m_readerFailed = m_stop = false;
  try {
    m_thread = std::thread([this] { ReadBatches(); });
    m_threaded = true;
  } catch (const std::system_error&) {
    m_threaded = false;  // no thread to be had: Next() reads the batches itself
  }
  return true;
}

void ReadAhead::Close() {
  if (m_threaded) {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
    m_threaded = false;
  }
  if (m_file != nullptr) std::fclose(m_file);
  m_file = nullptr;
  m_full.clear();
  m_current.reset();
  m_previous.reset();
  m_index = 0;
  m_bytesRead = 0;
  m_size = 0;
  m_failed = false;
  m_ended = true;
  m_parser = nullptr;
}

bool ReadAhead::Fill(LineBatch* batch) {
  batch->Clear();
  std::vector<char>& text = batch->text;
  size_t size = m_tail.size();
  if (text.size() < size + kBatchBytes) text.resize(size + kBatchBytes);
  std::memcpy(text.data(), m_tail.data(), size);
  while (!m_fileEnded && size < text.size()) {
    size_t got = std::fread(text.data() + size, 1, text.size() - size, m_file);
    size += got;
    if (got == 0) {
      m_fileEnded = true;
      m_readFailed = std::ferror(m_file) != 0;
    }
  }
  // A line is cut once the bytes that decide its end are there (or the file has ended).
  size_t at = 0;
  while (at < size && (size - at >= kLineWindow || m_fileEnded)) {
    LineCut cut = CutLine(text.data() + at, size - at);
    LineFacts& facts = batch->lines.emplace_back();
    facts.line = {static_cast<uint32_t>(at), static_cast<uint32_t>(cut.length)};
    m_consumed += cut.consumed;
    facts.bytesRead = m_consumed;
    m_parser->Parse(batch->Line(facts), batch, &facts);
    at += cut.consumed;
  }
  m_tail.assign(text.data() + at, size - at);
  return !m_fileEnded || !m_tail.empty();
}

std::unique_ptr<LineBatch> ReadAhead::TakeFreeBatch() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_free.empty()) return std::make_unique<LineBatch>();
  std::unique_ptr<LineBatch> batch = std::move(m_free.back());
  m_free.pop_back();
  return batch;
}

void ReadAhead::ReadBatches() {
  for (;;) {
    std::unique_ptr<LineBatch> batch = TakeFreeBatch();
    bool more = Fill(batch.get());
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || m_full.size() < kQueuedBatches; });
    if (m_stop) return;
    m_full.push_back(std::move(batch));
    if (!more) {
      m_readerDone = true;
      m_readerFailed = m_readFailed;
    }
    lock.unlock();
    m_changed.notify_all();
    if (!more) return;
  }
}

bool ReadAhead::Next(std::string_view* line, const LineFacts** facts, const LineBatch** batch) {
  while (m_current == nullptr || m_index >= m_current->lines.size()) {
    if (m_ended) return false;
    std::unique_ptr<LineBatch> next;
    if (m_threaded) {
      std::unique_lock<std::mutex> lock(m_mutex);
      m_changed.wait(lock, [this] { return !m_full.empty() || m_readerDone; });
      if (m_full.empty()) {
        m_ended = true;
        m_failed = m_readerFailed;
        return false;
      }
      next = std::move(m_full.front());
      m_full.pop_front();
      // The batch before the current one is no longer read: it goes back to the thread.
      if (m_previous != nullptr) m_free.push_back(std::move(m_previous));
    } else {
      if (m_readerDone) {
        m_ended = true;
        m_failed = m_readFailed;
        return false;
      }
      next = m_previous != nullptr ? std::move(m_previous) : std::make_unique<LineBatch>();
      m_readerDone = !Fill(next.get());
    }
    if (m_threaded) m_changed.notify_all();
    m_previous = std::move(m_current);
    m_current = std::move(next);
    m_index = 0;
  }
  const LineFacts& found = m_current->lines[m_index++];
  m_bytesRead = found.bytesRead;
  *line = m_current->Line(found);
  *facts = &found;
  *batch = m_current.get();
  return true;
}

}  // namespace vexor
