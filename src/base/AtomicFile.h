// A file written under a temporary name in the target's folder and renamed over the target
// only when complete, so a failure never leaves a half-written file or destroys the previous one.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/Archive.h"

namespace vexor {

class AtomicFile : public ByteSink {
 public:
  // durable: flush the data to the disk before the rename (for files that are not rebuilt
  // from other data, such as the settings, data, CSV and variable files). buffered: small
  // writes are collected in the stream's buffer of a few kilobytes (larger ones go to the file
  // as they are); a caller that only writes large blocks passes false, and each block is then
  // one write to the file.
  explicit AtomicFile(bool durable = true, bool buffered = true)
      : m_durable(durable), m_buffered(buffered) {}
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file next to path. False (with Error()) when it cannot be created.
  bool Open(const std::string& path);
  bool IsOpen() const { return m_file != nullptr; }

  // Writes are ignored while the file is not open; a failed write is remembered.
  void Write(const void* data, size_t size) override;
  void Write(std::string_view text) { Write(text.data(), text.size()); }

  // Completes the file: flushes, closes and renames it over the target. False (with Error())
  // when anything failed; the temporary file is then removed and the target left untouched.
  bool Commit();

  // Abandons the file: the temporary file is removed, the target is left untouched.
  void Discard();

  // A clear message naming the target file, set when Open, a write or Commit failed.
  const std::string& Error() const { return m_error; }
  const std::string& Path() const { return m_target; }

 private:
  void Fail(const char* what);

  bool m_durable;
  bool m_buffered;
  std::FILE* m_file = nullptr;
  std::string m_target;
  std::string m_temp;
  std::string m_error;
  bool m_writeFailed = false;
};

// For tests: a disk that says no, for every AtomicFile of the process until it is set back to
// the default (no fault). Not meant for use from several threads.
struct WriteFault {
  bool refuseCreate = false;  // Open fails as in a folder without write permission (EACCES)
  size_t room = SIZE_MAX;     // bytes that still fit; the rest of a write fails (ENOSPC)
  std::string only;           // when not empty, the one target path the fault applies to
};
void SetWriteFaultForTesting(const WriteFault& fault);

}  // namespace vexor
