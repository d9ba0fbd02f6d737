#include "stats/LogCleaner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "base/AtomicFile.h"
#include "base/FileSystem.h"
#include "base/StringPrintf.h"
#include "platform/Prompter.h"

namespace vexor {
namespace {

constexpr size_t kBufferSize = 1024 * 1024;  // logs can be hundreds of MB
constexpr char kEndOfFileMarker = 26;
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;

constexpr const char* kRemoved = "End Of File Markers removed.";
constexpr const char* kNothingToRemove = "No End Of File Markers to remove.";
constexpr const char* kInfo = "Info";
constexpr const char* kWarning = "Warning!";

// Opens the log to clean. A directory opens and fails at its first read; a device or a FIFO is
// refused at once: it would never end (/dev/zero) or wait for a writer.
std::FILE* OpenLogToClean(const std::string& path) {
  std::FILE* file = OpenRegularFile(path);
  if (file == nullptr && errno == EISDIR) file = std::fopen(path.c_str(), "rb");
  return file;
}

// A log file open for reading as bytes; closed when the object goes away.
class LogInput {
 public:
  explicit LogInput(const std::string& path) : m_file(OpenLogToClean(path)) {}
  ~LogInput() {
    if (m_file != nullptr) std::fclose(m_file);
  }
  LogInput(const LogInput&) = delete;
  LogInput& operator=(const LogInput&) = delete;

  bool IsOpen() const { return m_file != nullptr; }
  // Reads the next piece into buffer; the number of bytes read, 0 at the end (or on an error).
  size_t Read(std::vector<char>& buffer) {
    return std::fread(buffer.data(), 1, buffer.size(), m_file);
  }
  // True when the reading so far has failed.
  bool Failed() const { return std::ferror(m_file) != 0; }
  bool Rewind() { return std::fseek(m_file, 0, SEEK_SET) == 0; }

 private:
  std::FILE* m_file;
};

bool IsMarker(char byte) {
  return byte == kEndOfFileMarker || byte == kCarriageReturn;
}

// Reads the log to its end, stopping early at the first byte 26 or 13. False when a read
// failed; *found tells whether such a byte was seen.
bool FindMarkers(LogInput& in, std::vector<char>& buffer, bool* found) {
  *found = false;
  for (;;) {
    size_t got = in.Read(buffer);
    const char* bytes = buffer.data();
    if (std::memchr(bytes, kEndOfFileMarker, got) != nullptr ||
        std::memchr(bytes, kCarriageReturn, got) != nullptr) {
      *found = true;
      return true;
    }
    if (got < buffer.size()) return !in.Failed();
  }
}

// Appends the cleaned form of bytes to *out: bytes 26 and 13 are dropped, a line feed becomes
// CR LF, every other byte is copied once.
void AppendCleaned(const char* bytes, size_t size, std::string* out) {
  const char* end = bytes + size;
  while (bytes < end) {
    const char* span = bytes;
    while (bytes < end && !IsMarker(*bytes) && *bytes != kLineFeed)
      ++bytes;
    out->append(span, bytes);
    if (bytes == end) break;
    if (*bytes == kLineFeed) out->append("\r\n");
    ++bytes;
  }
}

// Writes the cleaned form of the whole log, from its start, to out. False when a read failed.
bool CopyCleaned(LogInput& in, std::vector<char>& buffer, AtomicFile& out) {
  if (!in.Rewind()) return false;
  std::string cleaned;
  cleaned.reserve(2 * buffer.size());
  for (;;) {
    size_t got = in.Read(buffer);
    cleaned.clear();
    AppendCleaned(buffer.data(), got, &cleaned);
    out.Write(cleaned);
    if (got < buffer.size()) return !in.Failed();
  }
}

CleanResult Outcome(const std::string& logPath, CleanStatus status, std::string message,
                    const char* caption) {
  return CleanResult{status, logPath, std::move(message), caption};
}

CleanResult ReadFailure(const std::string& logPath) {
  return Outcome(logPath, CleanStatus::kReadFailed,
                 StringPrintf("The log file \"%s\" cannot be read: %s\nIt was left as it was.",
                              logPath.c_str(), LastSystemError().c_str()),
                 kWarning);
}

// The cleaned copy could not be made: its file's message names the log, which stays as it was.
CleanResult WriteFailure(const std::string& logPath, const AtomicFile& out) {
  return Outcome(logPath, CleanStatus::kWriteFailed,
                 StringPrintf("%s\nThe log file was left as it was.", out.Error().c_str()),
                 kWarning);
}

}  // namespace

std::string CleanLogPath(const std::string& chosenPath) {
  if (chosenPath.size() >= 4 && chosenPath[chosenPath.size() - 4] == '.') return chosenPath;
  return chosenPath + ".log";
}

CleanResult CleanLog(const std::string& logPath) {
  LogInput in(logPath);
  if (!in.IsOpen()) {
    return Outcome(logPath, CleanStatus::kOpenFailed,
                   StringPrintf("The log file \"%s\" cannot be opened: %s", logPath.c_str(),
                                LastSystemError().c_str()),
                   kWarning);
  }
  std::vector<char> buffer(kBufferSize);
  bool found = false;
  if (!FindMarkers(in, buffer, &found)) return ReadFailure(logPath);
  // A clean log is not rewritten at all, whatever its line ends.
  if (!found) return Outcome(logPath, CleanStatus::kNothingFound, kNothingToRemove, kInfo);

  // The cleaned copy is written beside the log and renamed over it only when complete, so the
  // log is never lost to a failure half-way.
  AtomicFile out(true);
  if (!out.Open(logPath)) return WriteFailure(logPath, out);
  if (!CopyCleaned(in, buffer, out)) {
    CleanResult failure = ReadFailure(logPath);
    out.Discard();
    return failure;
  }
  if (!out.Commit()) return WriteFailure(logPath, out);
  return Outcome(logPath, CleanStatus::kCleaned, kRemoved, kInfo);
}

CleanResult CleanLogFile(const std::string& chosenPath, Prompter& prompter) {
  CleanResult result = CleanLog(CleanLogPath(chosenPath));
  prompter.Inform(result.message, result.caption);
  return result;
}

}  // namespace vexor
