// Small file-system helpers over std::filesystem that never throw.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vexor {

// Joins a folder and a relative path with "/". An empty folder gives the relative path.
std::string JoinPath(const std::string& folder, const std::string& relative);

bool FileExists(const std::string& path);

// Creates the folder (and its parents) unless it already exists. False when it cannot be made.
bool CreateFolder(const std::string& path);

// The folder part of a path ("." when it has none).
std::string FolderOf(const std::string& path);

// The current working folder of the process, or "." when it cannot be read.
std::string CurrentFolder();

// Opens a regular file for reading as bytes, or gives nullptr (errno set). Anything else is
// refused without blocking and without reading: a directory (EISDIR), a device such as
// /dev/zero that never ends, a FIFO or a socket that would wait for a writer (EINVAL). *size
// receives the file's size when it is not null.
std::FILE* OpenRegularFile(const std::string& path, uint64_t* size = nullptr);

// Folders written whole: a new folder is built under a temporary name beside its target and
// then put in the target's place, so that readers see the old folder or the new one.
//
// Makes a new, empty folder beside target named "<target>.tmp-XXXXXX"; false (errno set) when
// it cannot be made.
bool MakeTempFolderBeside(const std::string& target, std::string* made);
// Puts the folder `from` in the place of `to`. When `to` exists (a folder) the two are swapped in
// one step where the system can, otherwise `to` is first moved aside; the old folder then ends
// up at *old (to be removed by the caller), empty when there was none. False (errno set) when
// nothing was changed.
bool ReplaceFolder(const std::string& from, const std::string& to, std::string* old);
// Removes a folder and everything in it; false when something is left.
bool RemoveTree(const std::string& path);
// True when the path is an existing folder.
bool IsFolder(const std::string& path);
// What the file system tells of a path at one moment (of the file a link leads to).
struct FileStatus {
  bool present = false;  // the path names a file that can be looked at
  uint64_t device = 0;   // with inode, which file the path names: another one once replaced
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modified = 0;  // the last change of its content, in nanoseconds of the system clock

  bool operator==(const FileStatus&) const = default;
  // The path still names the same file (it may have been written meanwhile).
  bool SameFile(const FileStatus& other) const {
    return present && other.present && device == other.device && inode == other.inode;
  }
};

// The status of the file at path; present false when there is none (or it cannot be looked at).
FileStatus StatusOf(const std::string& path);

// A one-line description of the last system error (errno), for messages.
std::string LastSystemError();

}  // namespace vexor
