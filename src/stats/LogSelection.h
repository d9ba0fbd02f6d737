// The logs chosen for a load, as the main frame (or the command line) collected them, and the
// frame's data-available flag.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vexor {

struct LogSelection {
  static constexpr int kMaxFiles = 30;

  std::string selectedLogPath;  // the single file, or the last of several
  std::array<std::string, kMaxFiles> selectedLogFiles;
  int32_t selectedFileCount = 0;
  bool dataAvailable = false;
};

}  // namespace vexor
