#include "base/Archive.h"

#include <algorithm>
#include <cstring>

#include "base/FileSystem.h"

namespace vexor {
namespace {

// The write buffer starts small and doubles up to its full size, so that the many small files
// (settings, variable files) do not each pay for a large buffer.
constexpr size_t kFirstWriteBuffer = 4 * 1024;
constexpr size_t kWriteBuffer = 256 * 1024;
constexpr size_t kReadBuffer = 1024 * 1024;

void EncodeInt32(int32_t value, unsigned char out[4]) {
  uint32_t bits = static_cast<uint32_t>(value);
  out[0] = static_cast<unsigned char>(bits);
  out[1] = static_cast<unsigned char>(bits >> 8);
  out[2] = static_cast<unsigned char>(bits >> 16);
  out[3] = static_cast<unsigned char>(bits >> 24);
}

int32_t DecodeInt32(const unsigned char in[4]) {
  uint32_t bits =
      uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
  return static_cast<int32_t>(bits);
}

}  // namespace

size_t MemorySource::ReadSome(char* destination, size_t max) {
  size_t n = std::min(max, m_bytes.size() - m_position);
  std::memcpy(destination, m_bytes.data() + m_position, n);
  m_position += n;
  return n;
}

FileSource::~FileSource() {
  if (m_file != nullptr) std::fclose(m_file);
}

bool FileSource::Open(const std::string& path) {
  m_file = OpenRegularFile(path, &m_size);
  return m_file != nullptr;
}

size_t FileSource::ReadSome(char* destination, size_t max) {
  if (m_file == nullptr) return 0;
  return std::fread(destination, 1, max, m_file);
}

size_t ArchiveWriter::Room() {
  if (m_buffer.size() - m_used < 4) {
    if (m_buffer.size() < kWriteBuffer) {
      m_buffer.resize(std::max(kFirstWriteBuffer, m_buffer.size() * 2));
    } else {
      Flush();
    }
  }
  return m_buffer.size() - m_used;
}

void ArchiveWriter::Put(const void* data, size_t size) {
  const char* in = static_cast<const char*>(data);
  while (size > 0) {
    size_t n = std::min(size, Room());
    std::memcpy(m_buffer.data() + m_used, in, n);
    m_used += n;
    in += n;
    size -= n;
  }
}

void ArchiveWriter::Flush() {
  if (m_used == 0) return;
  m_sink.Write(m_buffer.data(), m_used);
  m_used = 0;
}

void ArchiveWriter::WriteInt32s(const int32_t* values, size_t n) {
  while (n > 0) {
    size_t take = std::min(n, Room() / 4);
    unsigned char* out = reinterpret_cast<unsigned char*>(m_buffer.data() + m_used);
    for (size_t i = 0; i < take; ++i)
      EncodeInt32(values[i], out + 4 * i);
    m_used += 4 * take;
    values += take;
    n -= take;
  }
}

void ArchiveWriter::WriteZeroInt32s(size_t n) {
  while (n > 0) {
    size_t take = std::min(n, Room() / 4);
    std::memset(m_buffer.data() + m_used, 0, 4 * take);
    m_used += 4 * take;
    n -= take;
  }
}

void ArchiveWriter::WriteInt32(int32_t value) {
  unsigned char bytes[4];
  EncodeInt32(value, bytes);
  Put(bytes, 4);
}

void ArchiveWriter::WriteFloat(float value) {
  int32_t bits;
  std::memcpy(&bits, &value, 4);
  WriteInt32(bits);
}

void ArchiveWriter::WriteString(std::string_view text) {
  size_t n = text.size();
  unsigned char prefix[7];
  size_t prefixSize;
  if (n < 255) {
    prefix[0] = static_cast<unsigned char>(n);
    prefixSize = 1;
  } else if (n < 65534) {
    prefix[0] = 0xFF;
    prefix[1] = static_cast<unsigned char>(n);
    prefix[2] = static_cast<unsigned char>(n >> 8);
    prefixSize = 3;
  } else {
    prefix[0] = 0xFF;
    prefix[1] = 0xFF;
    prefix[2] = 0xFF;
    EncodeInt32(static_cast<int32_t>(static_cast<uint32_t>(n)), prefix + 3);
    prefixSize = 7;
  }
  Put(prefix, prefixSize);
  Put(text.data(), n);
}

bool ArchiveReader::Take(void* destination, size_t size) {
  if (!m_ok) return false;
  if (size > Remaining()) {
    m_ok = false;
    return false;
  }
  char* out = static_cast<char*>(destination);
  while (size > 0) {
    if (m_position == m_buffer.size()) {
      // Never more than the source still holds: small files get small buffers.
      m_buffer.resize(static_cast<size_t>(std::min<uint64_t>(kReadBuffer, Remaining())));
      size_t got = m_source.ReadSome(m_buffer.data(), m_buffer.size());
      m_buffer.resize(got);
      m_position = 0;
      if (got == 0) {
        m_ok = false;
        return false;
      }
    }
    size_t n = std::min(size, m_buffer.size() - m_position);
    std::memcpy(out, m_buffer.data() + m_position, n);
    m_position += n;
    m_consumed += n;
    out += n;
    size -= n;
  }
  return true;
}

bool ArchiveReader::ReadInt32(int32_t* value) {
  unsigned char bytes[4];
  if (!Take(bytes, 4)) return false;
  *value = DecodeInt32(bytes);
  return true;
}

bool ArchiveReader::ReadInt32s(int32_t* values, size_t n) {
  if (n > Remaining() / 4) {
    m_ok = false;
    return false;
  }
  // Read the bytes straight into the values, then decode each in its own place.
  if (!Take(values, 4 * n)) return false;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(values);
  for (size_t i = 0; i < n; ++i) {
    unsigned char four[4];
    std::memcpy(four, bytes + 4 * i, 4);
    values[i] = DecodeInt32(four);
  }
  return true;
}

bool ArchiveReader::ReadFloat(float* value) {
  int32_t bits;
  if (!ReadInt32(&bits)) return false;
  std::memcpy(value, &bits, 4);
  return true;
}

bool ArchiveReader::ReadString(std::string* text) {
  unsigned char first;
  if (!Take(&first, 1)) return false;
  uint64_t length = first;
  if (first == 0xFF) {
    unsigned char two[2];
    if (!Take(two, 2)) return false;
    length = uint64_t{two[0]} | uint64_t{two[1]} << 8;
    if (length == 0xFFFF) {
      unsigned char four[4];
      if (!Take(four, 4)) return false;
      length = static_cast<uint32_t>(DecodeInt32(four));
    }
  }
  if (length > Remaining()) {
    m_ok = false;
    return false;
  }
  std::string read(static_cast<size_t>(length), '\0');
  if (!Take(read.data(), read.size())) return false;
  *text = std::move(read);
  return true;
}

}  // namespace vexor
