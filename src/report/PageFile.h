// One page's file as the page queue writes it: an AtomicFile, or, for a report written again and
// again (a followed log's), a file that is left alone when the page's new bytes are those it
// already holds. The bytes are compared with the old file's as they come and kept while they
// are equal; at the first difference the page is written under a temporary name and renamed
// into place as before. A page that did not change keeps its file and its time, and costs a
// read instead of a new file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "base/AtomicFile.h"

namespace vexor {

class PageFile {
 public:
  PageFile() = default;
  ~PageFile();
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  // Pages opened from now on keep their file when it holds their bytes already.
  void KeepUnchanged(bool keep) { m_keepUnchanged = keep; }

  // Starts the page at path. False (with Error()) when its temporary file cannot be created.
  bool Open(const std::string& path);
  // A page was opened and not yet committed (even one that failed).
  bool IsOpen() const { return m_open; }
  void Write(std::string_view block);
  // Completes the page: renamed into place, or the old file kept when it holds the same bytes.
  // False (with Error()) when a write or the rename failed; the old file is then untouched.
  bool Commit();
  const std::string& Error() const { return m_file.Error(); }

 private:
  // The page differs from the old file from here on: the temporary file gets the equal part.
  bool StartWriting();
  void CloseOld();

  bool m_keepUnchanged = false;
  bool m_open = false;
  bool m_failed = false;       // the temporary file could not be created
  std::FILE* m_old = nullptr;  // while the bytes so far equal the old file's
  std::string m_same;          // those bytes
  std::string m_path;
  std::string m_buffer;
  AtomicFile m_file{false, false};  // pages are rebuilt from the data: no flush, no buffer
};

}  // namespace vexor
