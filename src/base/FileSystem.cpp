#include "base/FileSystem.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vexor {

std::string JoinPath(const std::string& folder, const std::string& relative) {
  if (folder.empty()) return relative;
  if (folder.back() == '/') return folder + relative;
  return folder + "/" + relative;
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

bool CreateFolder(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return true;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string CurrentFolder() {
  std::error_code error;
  std::filesystem::path here = std::filesystem::current_path(error);
  if (error) return ".";
  return here.string();
}

std::string LastSystemError() { return std::strerror(errno); }

}  // namespace vexor
