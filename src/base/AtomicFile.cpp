#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "base/FileSystem.h"
#include "base/StringPrintf.h"

namespace vexor {
namespace {

WriteFault g_fault;  // none, unless a test sets one

bool FaultApplies(const std::string& target) {
  return g_fault.only.empty() || target == g_fault.only;
}

// Creates a new file beside the target, under a name no other file has, with the given
// permission bits (narrowed by the umask, as for any new file). Returns the descriptor and the
// name, or -1 with errno set.
int CreateTemporary(const std::string& target, mode_t mode, std::string* name) {
  static std::atomic<uint64_t> counter{0};
  constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  constexpr int kAttempts = 100;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    // Time, process and a counter, mixed: names differ between processes and calls; O_EXCL
    // makes sure no existing file is ever opened.
    uint64_t seed =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<uint64_t>(::getpid()) << 40) ^
        (counter.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B97F4A7C15ull);
    *name = target + ".tmp-";
    for (int i = 0; i < 6; ++i) {
      seed ^= seed >> 29;
      seed *= 0xBF58476D1CE4E5B9ull;
      name->push_back(kDigits[(seed >> 32) % (sizeof(kDigits) - 1)]);
    }
    int fd = ::open(name->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;  // errno is EEXIST
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path) {
  Discard();
  m_target = path;
  m_error.clear();
  m_writeFailed = false;
  bool refused = g_fault.refuseCreate && FaultApplies(path);
  if (refused) errno = EACCES;
  // A file being replaced keeps its permissions; a new one gets what the umask allows. The
  // umask is never read: reading it means setting it, and a file created meanwhile on another
  // thread would get the wrong permissions.
  struct stat replaced;
  bool replacing = !refused && ::stat(path.c_str(), &replaced) == 0;
  mode_t mode = replacing ? replaced.st_mode & 07777 : 0666;
  int fd = refused ? -1 : CreateTemporary(path, mode, &m_temp);
  if (fd < 0) {
    m_temp.clear();
    Fail("cannot be created");
    return false;
  }
  if (replacing) ::fchmod(fd, mode);  // as it was, whatever the umask
  m_file = ::fdopen(fd, "wb");
  if (m_file == nullptr) {
    ::close(fd);
    ::unlink(m_temp.c_str());
    m_temp.clear();
    Fail("cannot be created");
    return false;
  }
  if (!m_buffered) std::setvbuf(m_file, nullptr, _IONBF, 0);
  return true;
}

void AtomicFile::Write(const void* data, size_t size) {
  if (m_file == nullptr || m_writeFailed || size == 0) return;
  size_t room = FaultApplies(m_target) ? g_fault.room : SIZE_MAX;
  size_t fits = std::min(size, room);
  if (room != SIZE_MAX) g_fault.room -= fits;
  bool written = std::fwrite(data, 1, fits, m_file) == fits;
  if (written && fits < size) {
    errno = ENOSPC;  // the simulated disk is full
    written = false;
  }
  if (!written) {
    m_writeFailed = true;
    Fail("cannot be written");
  }
}

bool AtomicFile::Commit() {
  if (m_file == nullptr) {
    if (m_error.empty()) m_error = StringPrintf("\"%s\" was not opened for writing.", m_target.c_str());
    return false;
  }
  bool ok = !m_writeFailed;
  if (ok && std::fflush(m_file) != 0) {
    Fail("cannot be written");
    ok = false;
  }
  if (ok && m_durable && ::fsync(::fileno(m_file)) != 0) {
    Fail("cannot be written");
    ok = false;
  }
  if (std::fclose(m_file) != 0 && ok) {
    Fail("cannot be written");
    ok = false;
  }
  m_file = nullptr;
  if (ok && std::rename(m_temp.c_str(), m_target.c_str()) != 0) {
    Fail("cannot be replaced");
    ok = false;
  }
  if (!ok) ::unlink(m_temp.c_str());
  m_temp.clear();
  return ok;
}

void AtomicFile::Discard() {
  if (m_file != nullptr) {
    std::fclose(m_file);
    m_file = nullptr;
  }
  if (!m_temp.empty()) {
    ::unlink(m_temp.c_str());
    m_temp.clear();
  }
}

void AtomicFile::Fail(const char* what) {
  if (!m_error.empty()) return;
  m_error = StringPrintf("The file \"%s\" %s: %s", m_target.c_str(), what, LastSystemError().c_str());
}

void SetWriteFaultForTesting(const WriteFault& fault) {
  g_fault = fault;
}

}  // namespace vexor
