// Reads a log's lines ahead on a thread of its own, parses them (LineParser) and hands them to
// the pass in batches, in the order of the file. The pass applies each line's facts while the
// next batches are read and parsed on the second core. Parsing a batch is pure, so either side
// may do it: the reading thread parses what is read ahead, and a pass waiting for a batch that
// is read but not yet parsed parses it itself, so that a pass with little to apply shares the
// parsing work. Reading and cutting the next batch is done by one side at a time, whichever is
// free: a pass waiting for a batch that nobody reads yet reads it itself.
//
// A line, its facts and its batch stay valid until the second call of Next() after the one that
// gave them, so that a line handler may read one line on (a connect reads the line after it).
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "log/LineBatch.h"
#include "log/LogLineReader.h"

namespace vexor {

class ReadAhead {
 public:
  // Without a thread of its own, Next() reads and parses every batch itself (as when the system
  // gives no thread).
  enum class Threading { kReadingThread, kNone };

  explicit ReadAhead(Threading threading = Threading::kReadingThread) : m_threading(threading) {}
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Opens the file and starts reading its first limit bytes with the parser, which must outlive
  // the reading; false when the file cannot be opened.
  bool Open(const std::string& path, const LineParser* parser, uint64_t limit = kWholeLog);
  // Stops the reading and forgets the file.
  void Close();

  // The next line and its facts in *batch; false at the end of the file (or after a read
  // error, see Failed()).
  bool Next(std::string_view* line, const LineFacts** facts, const LineBatch** batch) {
    if ((m_current == nullptr || m_index >= m_current->lines.size()) && !NextBatch()) {
      return false;
    }
    const LineFacts& found = m_current->lines[m_index++];
    m_bytesRead = m_current->BytesReadAfter(found);
    *line = m_current->Line(found);
    *facts = &found;
    *batch = m_current.get();
    return true;
  }

  // The same for the next line that is of a kind other than `alsoPass` or that a variable
  // matches, or else the line that ends at or past the byte `stopAt` of the file (where the pass
  // reports its progress); *passed is set when lines were passed over (a batch of them may be
  // handed back meanwhile, so no line of an earlier call is valid after this one).
  bool NextEvent(std::string_view* line, const LineFacts** facts, const LineBatch** batch,
                 uint64_t stopAt, bool* passed, LineKind alsoPass = LineKind::kOther) {
    for (;;) {
      if ((m_current == nullptr || m_index >= m_current->lines.size()) && !NextBatch()) {
        return false;
      }
      const std::vector<LineFacts>& lines = m_current->lines;
      const std::vector<uint32_t>& events = m_current->events;
      while (m_event < events.size() && events[m_event] < m_index)
        ++m_event;
      size_t event = m_event;
      while (event < events.size() && lines[events[event]].kind == alsoPass &&
             lines[events[event]].hitCount == 0) {
        ++event;
      }
      size_t i = event < events.size() ? events[event] : lines.size();
      uint64_t first = m_current->firstByte;
      uint32_t stopEnd =
          stopAt <= first ? 0
                          : static_cast<uint32_t>(std::min<uint64_t>(stopAt - first, UINT32_MAX));
      if (i > m_index && lines[i - 1].end >= stopEnd) {
        // The first line passed over that ends at or past the stop (the ends grow).
        auto stop = std::partition_point(
            lines.begin() + static_cast<std::ptrdiff_t>(m_index),
            lines.begin() + static_cast<std::ptrdiff_t>(i),
            [stopEnd](const LineFacts& passedOver) { return passedOver.end < stopEnd; });
        i = static_cast<size_t>(stop - lines.begin());
      }
      if (i > m_index) {
        *passed = true;
        m_bytesRead = m_current->BytesReadAfter(lines[i - 1]);
        m_index = i;
      }
      if (i < lines.size()) return Next(line, facts, batch);
    }
  }

  // The bytes of the file up to the end of the line handed out last, and the file's size when
  // it was opened (for progress).
  uint64_t BytesRead() const { return m_bytesRead; }
  uint64_t Size() const { return m_size; }
  // True when reading stopped at an error rather than at the end of the file; known once
  // Next() has returned false.
  bool Failed() const { return m_failed; }

 private:
  enum class BatchState : uint8_t { kCut, kParsing, kParsed };
  struct Queued {
    std::unique_ptr<LineBatch> batch;
    BatchState state = BatchState::kCut;
  };

  // Makes the next batch with lines the current one; false at the end of the file.
  bool NextBatch();
  // Reading thread: reads batches until the end of the file or a stop, and parses them.
  void ReadBatches();
  // True when the next batch may be read now: nobody reads one, the file has more and the
  // queue has room (m_mutex held).
  bool MayCutNext() const { return !m_cutting && !m_readerDone && m_queue.size() < kQueuedBatches; }
  // Reads and cuts the next batch and queues it; the lock is released meanwhile.
  void CutNext(std::unique_lock<std::mutex>& lock);
  // The batch the reading thread parses next (m_mutex held), or none.
  Queued* BatchToParse(bool moreToRead);
  // Fills one batch with the lines of the next bytes of the file, cut as LogLineReader cuts
  // them; false at the end of the file.
  bool Cut(LineBatch* batch);
  void Parse(LineBatch* batch) const;
  // The pass's next batch from the queue (parsed by itself when nobody has yet); none at the
  // end of the file.
  std::unique_ptr<LineBatch> NextQueuedBatch();
  // The next batch read and parsed on the pass's own thread; none at the end of the file.
  std::unique_ptr<LineBatch> NextBatchWithoutThread();

  // Batches read ahead at most: the reading thread waits for the pass beyond that.
  static constexpr size_t kQueuedBatches = 4;

  // The file and what was read of it: used by the side that holds m_cutting (or, without a
  // thread, by the pass).
  std::FILE* m_file = nullptr;
  std::string m_tail;                 // bytes read after the last line cut
  std::vector<LineFacts> m_cutLines;  // the facts of the lines being cut
  bool m_fileEnded = false;
  bool m_readFailed = false;
  uint64_t m_consumed = 0;
  uint64_t m_left = 0;  // bytes of the file still to be read
  const LineParser* m_parser = nullptr;
  uint64_t m_size = 0;

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::deque<Queued> m_queue;  // read, in the order of the file
  std::vector<std::unique_ptr<LineBatch>> m_free;
  bool m_cutting = false;     // a side reads and cuts the next batch
  bool m_readerDone = false;  // the whole file is read and cut
  bool m_readerFailed = false;
  bool m_stop = false;
  std::thread m_thread;
  Threading m_threading;
  bool m_threaded = false;  // false when no thread could be started: Next() reads itself

  // The pass's side.
  std::unique_ptr<LineBatch> m_current;
  std::unique_ptr<LineBatch> m_previous;
  size_t m_index = 0;
  size_t m_event = 0;  // in m_current->events: the first at or after m_index, or before it
  uint64_t m_bytesRead = 0;
  bool m_failed = false;
  bool m_ended = true;
};

}  // namespace vexor
