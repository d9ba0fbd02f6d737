#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/FileSystem.h"
#include "base/StringPrintf.h"

namespace vexor {
namespace {

constexpr size_t kBufferSize = 256 * 1024;

WriteFault g_fault;  // none, unless a test sets one

bool FaultApplies(const std::string& target) {
  return g_fault.only.empty() || target == g_fault.only;
}

// The permissions a newly created file would get, or those of the file being replaced.
mode_t TargetMode(const std::string& target) {
  struct stat info;
  if (::stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& path) {
  Discard();
  m_target = path;
  m_error.clear();
  m_writeFailed = false;
  std::string pattern = path + ".tmp-XXXXXX";
  bool refused = g_fault.refuseCreate && FaultApplies(path);
  if (refused) errno = EACCES;
  int fd = refused ? -1 : ::mkstemp(pattern.data());
  if (fd < 0) {
    Fail("cannot be created");
    return false;
  }
  m_temp = pattern;
  ::fchmod(fd, TargetMode(path));
  m_file = ::fdopen(fd, "wb");
  if (m_file == nullptr) {
    ::close(fd);
    ::unlink(m_temp.c_str());
    m_temp.clear();
    Fail("cannot be created");
    return false;
  }
  std::setvbuf(m_file, nullptr, _IOFBF, kBufferSize);
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
