#include "base/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::FILE* OpenRegularFile(const std::string& path, uint64_t* size) {
  // Non-blocking, so that opening a FIFO does not wait for a writer; regular files read alike.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info;
  int error = 0;
  if (::fstat(fd, &info) != 0) {
    error = errno;
  } else if (S_ISDIR(info.st_mode)) {
    error = EISDIR;
  } else if (!S_ISREG(info.st_mode)) {
    error = EINVAL;
  }
  if (error != 0) {
    ::close(fd);
    errno = error;
    return nullptr;
  }
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) {
    error = errno;
    ::close(fd);
    errno = error;
    return nullptr;
  }
  if (size != nullptr) *size = static_cast<uint64_t>(info.st_size);
  return file;
}

FileStatus StatusOf(const std::string& path) {
  FileStatus status;
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return status;
  status.present = true;
  status.device = static_cast<uint64_t>(info.st_dev);
  status.inode = static_cast<uint64_t>(info.st_ino);
  status.size = static_cast<uint64_t>(info.st_size);
  status.modified = int64_t{info.st_mtim.tv_sec} * 1'000'000'000 + info.st_mtim.tv_nsec;
  return status;
}

std::string LastSystemError() { return std::strerror(errno); }

}  // namespace vexor
