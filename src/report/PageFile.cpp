#include "report/PageFile.h"

#include <cstring>

#include "base/FileSystem.h"

namespace vexor {

PageFile::~PageFile() {
  CloseOld();
}

void PageFile::CloseOld() {
  if (m_old != nullptr) std::fclose(m_old);
  m_old = nullptr;
  m_same.clear();
}

bool PageFile::Open(const std::string& path) {
  CloseOld();
  m_file.Discard();
  m_path = path;
  m_open = true;
  m_failed = false;
  if (m_keepUnchanged) m_old = OpenRegularFile(path);
  if (m_old == nullptr) m_failed = !m_file.Open(path);
  return !m_failed;
}

// The bytes so far equal the old file's, and are kept for the new one.
bool PageFile::StartWriting() {
  std::string same = std::move(m_same);
  CloseOld();
  m_failed = !m_file.Open(m_path);
  m_file.Write(same);
  return !m_failed;
}

void PageFile::Write(std::string_view block) {
  if (!m_open || m_failed) return;
  if (m_old != nullptr) {
    m_buffer.resize(block.size());
    size_t got = std::fread(m_buffer.data(), 1, block.size(), m_old);
    if (got == block.size() && std::memcmp(m_buffer.data(), block.data(), got) == 0) {
      m_same.append(block);
      return;
    }
    if (!StartWriting()) return;
  }
  m_file.Write(block);
}

bool PageFile::Commit() {
  if (!m_open) return false;
  m_open = false;
  if (m_old != nullptr) {
    if (std::fgetc(m_old) == EOF && std::ferror(m_old) == 0) {
      CloseOld();
      return true;  // the same bytes: the file stays as it is
    }
    StartWriting();
  }
  return !m_failed && m_file.Commit();
}

}  // namespace vexor
