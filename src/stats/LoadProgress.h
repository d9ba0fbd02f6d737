// The progress box of a load: shown while the load runs, told how far it is, closed at the end
// whether the load succeeded or not.
#pragma once

#include <cstdint>

namespace vexor {

enum class LoadPass { kDiscovery, kStatistics, kReport };

class LoadProgress {
 public:
  virtual ~LoadProgress() = default;
  // A pass begins reading file fileIndex (0-based) of fileCount.
  virtual void FileStarted(LoadPass pass, int fileIndex, int fileCount) = 0;
  // Bytes of the current file read so far.
  virtual void BytesRead(uint64_t done, uint64_t size) = 0;
  // The load is over (finished, refused or failed): the box goes away.
  virtual void Close() = 0;
};

}  // namespace vexor
