#include "log/ReadAhead.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <system_error>
#include <utility>

#include "base/FileSystem.h"
#include "log/LogLineReader.h"

namespace vexor {
namespace {

// A batch holds about this many bytes of lines: thousands of lines, so that handing a batch over
// costs nothing next to its lines, and few enough to stay in the caches.
constexpr size_t kBatchBytes = 256 * 1024;

// The line feeds of a text, found 64 bytes at a time: on lines of forty bytes a library search
// a line costs more than the search itself.
class LineFeeds {
 public:
  LineFeeds(const char* text, size_t size) : m_text(text), m_size(size) {}

  // The first line feed at or after from (from below the text's size), or the text's size.
  size_t Next(size_t from) {
    if (from < m_base || from - m_base >= 64) Load(from & ~size_t{63});
    uint64_t mask = m_mask & (~uint64_t{0} << (from - m_base));
    while (mask == 0) {
      if (m_size - m_base <= 64) return m_size;
      Load(m_base + 64);
      mask = m_mask;
    }
    return m_base + static_cast<size_t>(std::countr_zero(mask));
  }

 private:
  void Load(size_t base) {
    m_base = base;
    const char* block = m_text + base;
    size_t left = m_size - base;
#if defined(__SSE2__)
    if (left >= 64) {
      const __m128i feed = _mm_set1_epi8('\n');
      uint64_t mask = 0;
      for (int i = 0; i < 4; ++i) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        uint32_t bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed)));
        mask |= uint64_t{bits} << (16 * i);
      }
      m_mask = mask;
      return;
    }
#endif
    uint64_t mask = 0;
    for (size_t i = 0; i < std::min<size_t>(left, 64); ++i) {
      if (block[i] == '\n') mask |= uint64_t{1} << i;
    }
    m_mask = mask;
  }

  const char* m_text;
  size_t m_size;
  size_t m_base = SIZE_MAX;
  uint64_t m_mask = 0;
};

}  // namespace

ReadAhead::~ReadAhead() {
  Close();
}

bool ReadAhead::Open(const std::string& path, const LineParser* parser, uint64_t limit) {
  Close();
  // Only a regular file: a directory, a device without end or a FIFO is no log.
  m_file = OpenRegularFile(path, &m_size);
  if (m_file == nullptr) return false;
  m_size = std::min(m_size, limit);
  m_left = limit;
  m_parser = parser;
  m_tail.clear();
  m_fileEnded = m_readFailed = false;
  m_consumed = 0;
  m_ended = false;
  m_readerDone = m_readerFailed = m_stop = m_cutting = false;
  if (m_threading == Threading::kNone) return true;
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
  m_queue.clear();
  m_current.reset();
  m_previous.reset();
  m_index = 0;
  m_event = 0;
  m_bytesRead = 0;
  m_size = 0;
  m_failed = false;
  m_ended = true;
  m_parser = nullptr;
}

bool ReadAhead::Cut(LineBatch* batch) {
  batch->Clear();
  std::vector<char>& text = batch->text;
  size_t size = m_tail.size();
  if (text.size() < size + kBatchBytes) text.resize(size + kBatchBytes);
  std::memcpy(text.data(), m_tail.data(), size);
  batch->firstByte = m_consumed;  // the tail's bytes come first
  while (!m_fileEnded && size < text.size()) {
    size_t room = static_cast<size_t>(std::min<uint64_t>(text.size() - size, m_left));
    size_t got = room == 0 ? 0 : std::fread(text.data() + size, 1, room, m_file);
    size += got;
    m_left -= got;
    if (got == 0) {
      m_fileEnded = true;
      m_readFailed = std::ferror(m_file) != 0;
    }
  }
  // A line is cut once the bytes that decide its end are there (or the file has ended). The
  // facts are written where the side that cuts keeps them, then copied into the batch whole: a
  // batch's memory was last read on the other thread, and writing it fact by fact waits for
  // every line of it to come over, where a block copy writes whole lines.
  size_t at = 0;
  LineFeeds feeds(text.data(), size);
  while (at < size && (size - at >= kLineWindow || m_fileEnded)) {
    // The line feed found ends the line as CutLine ends it; a line too long for it, or one
    // without a line feed, CutLine cuts.
    size_t feed = feeds.Next(at);
    LineCut cut;
    if (feed == size || !CutLineAtFeed(text.data() + at, text.data() + feed, &cut)) {
      cut = CutLine(text.data() + at, size - at);
    }
    LineFacts& facts = m_cutLines.emplace_back();
    facts.at = static_cast<uint32_t>(at);
    facts.size = static_cast<uint16_t>(cut.length);
    at += cut.consumed;
    facts.end = static_cast<uint32_t>(at);
  }
  batch->lines.assign(m_cutLines.begin(), m_cutLines.end());
  m_cutLines.clear();
  m_consumed += at;
  m_tail.assign(text.data() + at, size - at);
  return !m_fileEnded || !m_tail.empty();
}

void ReadAhead::Parse(LineBatch* batch) const {
  m_parser->ParseBatch(batch);
  // The lines NextEvent() stops at, listed here on the side that parses, so that the pass does
  // not look at every line of no kind; without branches, as kinds come at random.
  const std::vector<LineFacts>& lines = batch->lines;
  std::vector<uint32_t>& events = batch->events;
  events.resize(lines.size());
  size_t count = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    events[count] = static_cast<uint32_t>(i);
    count += static_cast<size_t>(lines[i].kind != LineKind::kOther) |
             static_cast<size_t>(lines[i].hitCount != 0);
  }
  events.resize(count);
}

ReadAhead::Queued* ReadAhead::BatchToParse(bool moreToRead) {
  // The newest batch nobody parses yet, leaving the one the pass needs next to the pass while
  // there is room to read further ahead.
  for (size_t i = m_queue.size(); i-- > 1;) {
    if (m_queue[i].state == BatchState::kCut) return &m_queue[i];
  }
  bool full = m_queue.size() >= kQueuedBatches;
  if (!m_queue.empty() && m_queue.front().state == BatchState::kCut && (full || !moreToRead)) {
    return &m_queue.front();
  }
  return nullptr;
}

void ReadAhead::CutNext(std::unique_lock<std::mutex>& lock) {
  m_cutting = true;
  std::unique_ptr<LineBatch> batch;
  if (m_free.empty()) {
    batch = std::make_unique<LineBatch>();
  } else {
    batch = std::move(m_free.back());
    m_free.pop_back();
  }
  lock.unlock();
  bool more = Cut(batch.get());
  lock.lock();
  m_queue.push_back(Queued{std::move(batch), BatchState::kCut});
  if (!more) {
    m_readerDone = true;
    m_readerFailed = m_readFailed;
  }
  m_cutting = false;
  m_changed.notify_all();
}

void ReadAhead::ReadBatches() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stop) {
    if (Queued* queued = BatchToParse(!m_readerDone)) {
      // The entry stays in place while it is parsed: the pass waits for it.
      queued->state = BatchState::kParsing;
      LineBatch* batch = queued->batch.get();
      lock.unlock();
      Parse(batch);
      lock.lock();
      queued->state = BatchState::kParsed;
      m_changed.notify_all();
      continue;
    }
    if (MayCutNext()) {
      CutNext(lock);
      continue;
    }
    if (m_readerDone) return;  // everything read, and nothing left to parse
    m_changed.wait(lock);
  }
}

std::unique_ptr<LineBatch> ReadAhead::NextQueuedBatch() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    if (!m_queue.empty()) {
      Queued& front = m_queue.front();
      if (front.state == BatchState::kCut) {
        // Read but not parsed: the pass would only wait, so it parses the batch itself.
        front.state = BatchState::kParsing;
        lock.unlock();
        Parse(front.batch.get());
        lock.lock();
        front.state = BatchState::kParsed;
      }
      if (front.state == BatchState::kParsed) break;
    } else if (m_readerDone) {
      m_failed = m_readerFailed;
      return nullptr;
    }
    if (MayCutNext()) {
      // Nothing to parse yet and nobody reads: the pass reads the next batch itself.
      CutNext(lock);
      continue;
    }
    m_changed.wait(lock);
  }
  std::unique_ptr<LineBatch> next = std::move(m_queue.front().batch);
  m_queue.pop_front();
  // The batch before the current one is no longer read: it goes back to the thread.
  if (m_previous != nullptr) m_free.push_back(std::move(m_previous));
  lock.unlock();
  m_changed.notify_all();
  return next;
}

std::unique_ptr<LineBatch> ReadAhead::NextBatchWithoutThread() {
  if (m_readerDone) {
    m_failed = m_readFailed;
    return nullptr;
  }
  std::unique_ptr<LineBatch> next =
      m_previous != nullptr ? std::move(m_previous) : std::make_unique<LineBatch>();
  m_readerDone = !Cut(next.get());
  Parse(next.get());
  return next;
}

bool ReadAhead::NextBatch() {
  while (m_current == nullptr || m_index >= m_current->lines.size()) {
    if (m_ended) return false;
    std::unique_ptr<LineBatch> next = m_threaded ? NextQueuedBatch() : NextBatchWithoutThread();
    if (next == nullptr) {
      m_ended = true;
      return false;
    }
    m_previous = std::move(m_current);
    m_current = std::move(next);
    m_index = 0;
    m_event = 0;
  }
  return true;
}

}  // namespace vexor
