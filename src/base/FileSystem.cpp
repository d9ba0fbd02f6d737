#include "base/FileSystem.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
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

std::string LastSystemError() {
  return std::strerror(errno);
}

bool MakeTempFolderBeside(const std::string& target, std::string* made) {
  std::string base = target;
  while (base.size() > 1 && base.back() == '/')
    base.pop_back();
  // mkdir rather than mkdtemp: the folder gets the permissions of any new folder (0777 less the
  // umask), not 0700, since it becomes the target itself.
  static std::atomic<uint32_t> counter{0};
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = base + ".tmp-";
    uint32_t value = entropy() ^ (static_cast<uint32_t>(::getpid()) << 8) ^ counter++;
    for (int i = 0; i < 6; ++i, value /= 36)
      name.push_back("0123456789abcdefghijklmnopqrstuvwxyz"[value % 36]);
    if (::mkdir(name.c_str(), 0777) == 0) {
      *made = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool ReplaceFolder(const std::string& from, const std::string& to, std::string* old) {
  old->clear();
  if (!IsFolder(to)) return std::rename(from.c_str(), to.c_str()) == 0;
  // The new folder takes the old one's permissions, as a replaced file keeps its own.
  struct stat info;
  if (::stat(to.c_str(), &info) == 0) ::chmod(from.c_str(), info.st_mode & 07777);
  // Swapped in one step: readers never find the target missing.
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
    *old = from;
    return true;
  }
  // A file system without the exchange: the old folder is moved aside first.
  std::string aside;
  if (!MakeTempFolderBeside(to, &aside)) return false;
  int saved = 0;
  if (std::rename(to.c_str(), aside.c_str()) != 0) {
    saved = errno;
    ::rmdir(aside.c_str());
    errno = saved;
    return false;
  }
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    saved = errno;
    std::rename(aside.c_str(), to.c_str());  // the old folder back in its place
    errno = saved;
    return false;
  }
  *old = aside;
  return true;
}

bool RemoveTree(const std::string& path) {
  std::error_code error;
  std::filesystem::remove_all(path, error);
  return !error;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
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

}  // namespace vexor
